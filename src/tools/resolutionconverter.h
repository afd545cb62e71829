#pragma once

#include "skin/operationresult.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

class AtomicFile;

// Turns the tiled image resources of a skin made for one screen resolution
// into resources for another: every tile file of one directory that has its
// sheet beside it gets a copy with scaled rectangles and a scaled sheet in the
// target directory. Panel files are the panel scaler's business.
class ResolutionConverter : public QObject
{
    Q_OBJECT

public:
    // What one conversion did: the tile files it set out to convert (every
    // tile file of the directory but those that "inner rect only" passes
    // over) and how many of them got both their tile file and their sheet
    // written.
    struct Result
    {
        int attempted = 0;
        int converted = 0;
        // Why nothing was attempted, or why what was written may not have
        // reached the disk (a translated sentence), if so.
        QString problem;
        // The tile files that could not be written, by name.
        QStringList failed;
    };

    static ResolutionConverter *instance();

    // Returns the number of tile files converted (QML ignores it); the
    // window learns the outcome from `reported`.
    Q_INVOKABLE int convert(const QString &sourceRes, const QString &targetRes, int sourceResolution,
        int targetResolution, bool onlyInnerRect = false);

    // The same conversion, for callers that must know whether every tile
    // file it set out to convert was written.
    Result convertDirectory(const QString &sourceRes, const QString &targetRes, int sourceResolution,
        int targetResolution, bool onlyInnerRect = false);

signals:
    void reported(const OperationResult &result);

private:
    enum class Outcome { Converted, PassedOver, Failed, WriteFailed };

    explicit ResolutionConverter(QObject *parent = nullptr);
    // A tile file and its sheet, complete in temporary files.
    struct Prepared
    {
        QString name;
        QVector<std::shared_ptr<AtomicFile>> files;
    };
    Outcome convertTileFile(const QString &tilPath, const QString &targetDir, int to, int from,
        bool onlyInnerRect, QVector<Prepared> &prepared);
};
