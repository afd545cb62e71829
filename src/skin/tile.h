#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

// One tile of a tile file: a numbered area of a PNG sheet with an optional
// inner rectangle, the part that stretches when the tile is drawn at another
// size while the border around it keeps its pixel size (nine-patch).
class Tile
{
public:
    Tile() = default;
    Tile(const QString &name, int number, const QRect &innerRect, const QImage &image);

    QString name() const { return mName; }
    int number() const { return mNumber; }
    QRect innerRect() const { return mInnerRect; }
    void setInnerRect(const QRect &rect);
    QImage image() const { return mImage; }

    // The key under which styles name this tile: "name,number".
    QString key() const { return keyFor(mName, mNumber); }
    static QString keyFor(const QString &name, int number);

    // The tile drawn at `size` times `scale`; borders keep their pixel size.
    // A negative side asks for the natural size. Null when there is nothing
    // to draw or the target is over the image bound.
    QImage render(const QSize &size, double scale) const;

private:
    QString mName;
    int mNumber = 0;
    QRect mInnerRect; // tile coordinates; invalid when the tile has none
    QImage mImage;
};

// The image that belongs to a tile file: its base name (up to the first ".")
// plus ".png", in the same directory.
QString tileImagePath(const QString &tileFile);

// Reads the tiles of a tile file in section order; logs and returns nothing
// when the file or its image is missing or cannot be decoded.
QList<Tile> readTileFile(const QString &tileFile);
