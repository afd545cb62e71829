#pragma once

#include "skin/operationresult.h"

#include <QObject>
#include <QString>
#include <QStringList>

// Rescales the geometry of a directory of panel (.ini) and candidate (.cnd)
// files from one screen resolution to another, with separate horizontal and
// vertical factors. Each file is copied into the target directory (an
// existing file there is kept) and its known geometry keys are replaced by
// scaled values; everything else stays as it was.
class PanelScaler : public QObject
{
    Q_OBJECT

public:
    explicit PanelScaler(QObject *parent = nullptr);
    static PanelScaler *instance();

    // Both return the number of files written, or -1 when nothing was
    // attempted (missing source directory, source resolution of 0 or below).
    // QML ignores the result; the window learns the outcome from `reported`.
    Q_INVOKABLE int scale(const QString &sourceDir, const QString &targetDir, int hSourceResolution,
        int hTargetResolution, int vSourceResolution, int vTargetResolution);
    Q_INVOKABLE int scale(
        const QString &sourceDir, const QString &targetDir, int sourceResolution, int targetResolution);

    // The files the last run could not write; when there are any, the run
    // returned -1 and put none of its files in place.
    QStringList failedFiles() const { return mFailed; }

signals:
    void reported(const OperationResult &result);

private:
    QStringList mFailed;
};
