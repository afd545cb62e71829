#pragma once

#include <QObject>
#include <QString>

// Turns the tiled image resources of a skin made for one screen resolution
// into resources for another: every tile file of one directory that has its
// sheet beside it gets a copy with scaled rectangles and a scaled sheet in the
// target directory. Panel files are the panel scaler's business.
class ResolutionConverter : public QObject
{
    Q_OBJECT

public:
    static ResolutionConverter *instance();

    // Returns the number of tile files converted (QML ignores it).
    Q_INVOKABLE int convert(const QString &sourceRes, const QString &targetRes, int sourceResolution,
        int targetResolution, bool onlyInnerRect = false);

private:
    explicit ResolutionConverter(QObject *parent = nullptr);
    bool convertTileFile(const QString &tilPath, const QString &targetDir, double factor, bool onlyInnerRect);
};
