#pragma once

#include "skin/filestamp.h"
#include "skin/tile.h"
#include "style.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QSize>
#include <QString>
#include <QStringList>

// The style store of the loaded skin: its styles, the tiles of all its tile
// files and the fonts it brings, plus the two fonts built into the program;
// and the painting of a style into an image.
//
// The panel loader fills it on every load and resource reload:
// `clearForReload`, then `addTile` and `addFont` for the skin's res tree and
// `dropUnusedFonts`, then `readStyleTable` on the style table. Painted labels
// are cached per (style number, state) and stretched tiles per (tile, size,
// scale) until the next clear, because the panel renderer repaints every key
// on every request and most keys share a few tiles at a few sizes.
class StylesManager : public QObject
{
    Q_OBJECT

public:
    static StylesManager *instance();

    // Forgets the skin: removes its fonts from the font database and empties
    // styles, tiles, labels and style numbers. The built-in fonts and every
    // substitution registered so far stay.
    void clear();
    // For a load that follows at once: empties the store as `clear` does but
    // keeps the skin's fonts registered, set aside. `addFont` takes one back
    // when its file has not changed since it was added, and `dropUnusedFonts`
    // removes those the load did not take. Removing a font makes the font
    // database and every font engine be built again at the next text (the
    // built-in CJK face's character map read again among them): a reload of
    // a skin whose fonts did not change keeps all of that.
    void clearForReload();
    // Removes from the font database the fonts set aside by `clearForReload`
    // that no `addFont` took back since.
    void dropUnusedFonts();

    // Reads the GLOBAL and every STYLE section of the style table at `path`
    // (an INI document) and adds one style per STYLE section, in document
    // order. The caller checks that the file exists.
    void readStyleTable(const QString &path);

    void addStyle(const Style &style);
    void addTile(const Tile &tile);
    // Registers the font file at `absolutePath` under `relativePath`, the
    // path by which styles name it (relative to the res directory).
    void addFont(const QString &absolutePath, const QString &relativePath);

    // The text after "STYLE" of every style added, in the order added.
    QStringList styleNumbers() const { return mStyleNumbers; }
    // The style stored under "STYLE" + number, or a default style.
    Style style(int number) const;
    // The tile stored under its key "name,number", or a default tile.
    Tile tile(const QString &key) const;
    // The family registered for a font path; the default input family when
    // the path is empty or names no registered font.
    QString fontFamily(const QString &fontPath) const;

    QString defaultInputFamily() const { return mDefaultInputFamily; }
    QString defaultFamily() const { return mDefaultFamily; }

    // Style n as a tile of `size` times `scale`, else as its label (cached),
    // else as a rectangle of its colour. A negative side asks for the natural
    // size. Null when there is nothing to paint.
    QImage styleImage(int number, const QSize &size, bool highlighted, double scale);
    // `text` in the look of style n; a font size of 0 or below takes the
    // style's own. Unlike labels, kept only until the styles or fonts change.
    QImage textImage(int number, const QString &text, int fontSize, bool highlighted, double scale) const;
    // The tile under `key` rendered at `size` times `scale`; null for an
    // empty key or an unknown tile.
    QImage tileImage(const QString &key, const QSize &size, double scale) const;
    // How many stretched tiles are kept; for tests.
    int cachedTileCount() const { return mTileCache.size(); }
    // A number that changes with every change of styles, tiles or fonts and
    // that no earlier state had, for caches of what was painted with them.
    quint64 revision() const { return mRevision; }
    // One line of text as wide as its advance and as high as the font's line,
    // with an optional copy in `borderColor` drawn `borderSize` pixels lower
    // underneath it (a shadow).
    QImage paintLabel(const QString &text, int pixelSize, const QColor &color, const QString &fontPath,
        const QColor &borderColor, int borderSize) const;
    // A rectangle of `color`; a negative side gives 30x30, a side of 0 null.
    QImage solidImage(const QColor &color, const QSize &size) const;

private:
    StylesManager();

    using LabelKey = QPair<int, bool>;
    struct TileImageKey
    {
        QString tile;
        QSize size;
        double scale;
        bool operator==(const TileImageKey &other) const
        {
            return tile == other.tile && size == other.size && scale == other.scale;
        }
    };
    friend uint qHash(const TileImageKey &key, uint seed);
    struct TextImageKey
    {
        int number;
        QString text;
        int fontSize;
        bool highlighted;
        double scale;
        bool operator==(const TextImageKey &other) const
        {
            return number == other.number && text == other.text && fontSize == other.fontSize
                && highlighted == other.highlighted && scale == other.scale;
        }
    };
    friend uint qHash(const TextImageKey &key, uint seed);
    void changed();

    // A font file of the skin as it was registered.
    struct SkinFont
    {
        QString absolutePath;
        FileStamp stamp;
        int id = -1;
        QString family;
    };

    QMap<QString, Style> mStyles;
    QMap<QString, Tile> mTiles;
    QHash<LabelKey, QImage> mLabelCache;
    mutable QHash<TileImageKey, QImage> mTileCache;
    mutable qint64 mTileCacheBytes = 0;
    mutable QHash<TextImageKey, QImage> mTextCache;
    quint64 mRevision = 0;
    QString mDefaultInputFontResource;
    QString mDefaultInputFamily;
    QString mDefaultFamily;
    QStringList mStyleNumbers;
    QMap<QString, QString> mFontFamilies;
    QList<SkinFont> mFonts;
    QList<SkinFont> mSetAsideFonts;
};
