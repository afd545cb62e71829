#pragma once

#include "skin/operationresult.h"

#include <QObject>
#include <QString>
#include <QStringList>

class SyncBatch;

// Converts between a tile file with its PNG sheet and a directory of single
// numbered tile images: `split` cuts every tile out of the sheet, `join`
// stacks the PNG files of a directory into a sheet and records where each
// one landed.
class TileTool : public QObject
{
    Q_OBJECT

public:
    explicit TileTool(QObject *parent = nullptr);
    static TileTool *instance();

    // Writes one "NNN.png" per IMG section into `targetDir`, which must
    // exist. Returns the number of tile image files written, or -1 when an input
    // is missing. QML ignores the result.
    Q_INVOKABLE int split(const QString &tilPath, const QString &targetDir);

    // Joins the .png files of `sourceDir`, in name order ignoring case, into
    // the sheet of `tilPath` and records them as IMG<startingNumber>, … in
    // it. Returns the number of images joined, or -1 when nothing was
    // written. QML ignores the result.
    Q_INVOKABLE int join(
        const QString &sourceDir, const QString &tilPath, bool verticalOrder = true, int startingNumber = 1);

    // What the last run could not write (or, for join, the input that
    // stopped it).
    QStringList failedFiles() const { return mFailed; }

signals:
    // What split or join wrote, or why it wrote nothing.
    void reported(const OperationResult &result);

private:
    // Syncs what the run put in place; false, reported, when the disk did
    // not take all of it.
    bool syncWritten(SyncBatch &batch);

    QStringList mFailed;
};
