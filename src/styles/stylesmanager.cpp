#include "stylesmanager.h"

#include "builtinfonts.h"
#include "skin/imagelimits.h"
#include "skin/skinconfig.h"

#include <QDebug>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QtMath>

namespace {

// Sizes and scales come from skin files and requests; keep the products in
// int range so that a broken value gives an oversized (and then refused)
// image rather than undefined arithmetic.
constexpr double kProductBound = 1e9;

double boundedProduct(double value, double scale)
{
    return qBound(-kProductBound, value * scale, kProductBound);
}

int roundedProduct(int value, double scale)
{
    return qRound(boundedProduct(value, scale));
}

int truncatedProduct(int value, double scale)
{
    return int(boundedProduct(value, scale));
}

// A scale of infinity or NaN would turn every size into nonsense.
bool finiteScale(double scale)
{
    if (qIsFinite(scale))
        return true;
    qInfo() << "scale" << scale << "is not a finite number; nothing painted!";
    return false;
}

// The first family the font database reports for a freshly added font, or
// an empty text.
QString firstFamily(int fontId)
{
    const QStringList families = QFontDatabase::applicationFontFamilies(fontId);
    return families.isEmpty() ? QString() : families.first();
}

QMap<QString, QString> sectionMap(const SkinConfig &config, const QString &section)
{
    QMap<QString, QString> map;
    const auto properties = config.sectionProperties(section);
    for (const auto &property : properties) {
        if (!map.contains(property.first))
            map.insert(property.first, property.second);
    }
    return map;
}

// The stretched tiles kept at most, in bytes: far more than a skin's keys
// need at their few sizes, and a bound for a panel of many odd sizes.
constexpr qint64 kTileCacheBytes = qint64(64) * 1024 * 1024;

// The painted texts kept at most: the preview paints a handful (the input
// line, the candidates, the list names) on every request.
constexpr int kTextCacheEntries = 1024;
constexpr qint64 kTextCacheImageBytes = qint64(4) * 1024 * 1024;

} // namespace

uint qHash(const StylesManager::TileImageKey &key, uint seed)
{
    return qHash(key.tile, seed) ^ qHash(key.size.width(), seed) ^ qHash(uint(key.size.height()) * 31u, seed)
        ^ qHash(key.scale, seed);
}

uint qHash(const StylesManager::TextImageKey &key, uint seed)
{
    return qHash(key.number, seed) ^ qHash(key.text, seed) ^ qHash(uint(key.fontSize) * 31u, seed)
        ^ qHash(key.highlighted, seed) ^ qHash(key.scale, seed);
}

StylesManager *StylesManager::instance()
{
    static StylesManager manager;
    return &manager;
}

StylesManager::StylesManager()
    : mDefaultInputFontResource(QStringLiteral(":/fonts/keymap.ttf"))
{
    const int inputId = QFontDatabase::addApplicationFont(mDefaultInputFontResource);
    if (inputId < 0)
        qInfo() << "can not add default input font: " << mDefaultInputFontResource << "!";
    else
        mDefaultInputFamily = firstFamily(inputId);

    mDefaultFamily = BuiltInFonts::cjkFamily();

    // Key labels in the input font still show CJK text.
    if (!mDefaultInputFamily.isEmpty() && !mDefaultFamily.isEmpty())
        QFont::insertSubstitution(mDefaultInputFamily, mDefaultFamily);
}

// Whatever was painted before may look different now.
void StylesManager::changed()
{
    static quint64 lastRevision = 0;
    mRevision = ++lastRevision;
    mTextCache.clear();
}

void StylesManager::clear()
{
    clearForReload();
    dropUnusedFonts();
}

void StylesManager::clearForReload()
{
    changed();
    mSetAsideFonts.append(mFonts);
    mFonts.clear();
    mFontFamilies.clear();
    mStyles.clear();
    mTiles.clear();
    mLabelCache.clear();
    mTileCache.clear();
    mTileCacheBytes = 0;
    mStyleNumbers.clear();
}

void StylesManager::dropUnusedFonts()
{
    for (const SkinFont &font : qAsConst(mSetAsideFonts))
        QFontDatabase::removeApplicationFont(font.id);
    mSetAsideFonts.clear();
}

void StylesManager::readStyleTable(const QString &path)
{
    const SkinConfig config(path);
    const QMap<QString, QString> global = sectionMap(config, QStringLiteral("GLOBAL"));
    const QStringList sections = config.childGroups();
    for (const QString &section : sections) {
        if (section.startsWith(QLatin1String("STYLE")))
            addStyle(Style::fromSection(section, sectionMap(config, section), global));
    }
}

void StylesManager::addStyle(const Style &style)
{
    changed();
    mStyles.insert(style.name, style);
    mStyleNumbers.append(style.name.mid(5));
}

void StylesManager::addTile(const Tile &tile)
{
    changed();
    mTiles.insert(tile.key(), tile);
    // A tile of the same key may have been drawn before.
    mTileCache.clear();
    mTileCacheBytes = 0;
}

void StylesManager::addFont(const QString &absolutePath, const QString &relativePath)
{
    changed();
    qInfo() << "adding application font: " << absolutePath << "...";
    SkinFont font;
    font.absolutePath = absolutePath;
    font.stamp = FileStamp::of(absolutePath);
    // The same file, untouched since it was set aside, is still registered.
    for (int i = 0; i < mSetAsideFonts.size(); ++i) {
        if (mSetAsideFonts.at(i).absolutePath != absolutePath)
            continue;
        const SkinFont kept = mSetAsideFonts.takeAt(i);
        if (kept.stamp == font.stamp) {
            mFontFamilies.insert(relativePath, kept.family);
            mFonts.append(kept);
            return;
        }
        // changed on disk: the old face goes before the new one comes
        QFontDatabase::removeApplicationFont(kept.id);
        break;
    }
    font.id = QFontDatabase::addApplicationFont(absolutePath);
    if (font.id < 0) {
        qInfo() << "can not add application font: " << QFileInfo(absolutePath).fileName() << "!";
        return;
    }
    font.family = firstFamily(font.id);
    mFontFamilies.insert(relativePath, font.family);
    mFonts.append(font);
    if (!font.family.isEmpty() && !mDefaultFamily.isEmpty())
        QFont::insertSubstitution(font.family, mDefaultFamily);
}

Style StylesManager::style(int number) const
{
    return mStyles.value(QStringLiteral("STYLE%1").arg(number));
}

Tile StylesManager::tile(const QString &key) const
{
    return mTiles.value(key);
}

QString StylesManager::fontFamily(const QString &fontPath) const
{
    if (fontPath.isEmpty())
        return mDefaultInputFamily;
    const QString family = mFontFamilies.value(fontPath);
    return family.isEmpty() ? mDefaultInputFamily : family;
}

QImage StylesManager::styleImage(int number, const QSize &size, bool highlighted, double scale)
{
    if (!finiteScale(scale))
        return QImage();
    const Style style = this->style(number);
    const QSize target(roundedProduct(size.width(), scale), roundedProduct(size.height(), scale));

    // A tile at a size over the image bound would be refused; skip straight
    // to the label or the rectangle, so one such request logs once.
    if (ImageLimits::allows(target)) {
        const QImage tile = tileImage(highlighted ? style.highlightedImage : style.normalImage, size, scale);
        if (!tile.isNull())
            return tile;
    }

    const QColor color = highlighted ? style.highlightedColor : style.normalColor;
    if (!style.text.isEmpty()) {
        const LabelKey key(number, highlighted);
        const auto cached = mLabelCache.constFind(key);
        if (cached != mLabelCache.constEnd())
            return cached.value();
        const QImage label = paintLabel(style.text, truncatedProduct(style.fontSize, scale), color,
            style.fontPath, style.borderColor, style.borderSize);
        if (!label.isNull())
            mLabelCache.insert(key, label);
        return label;
    }

    return solidImage(color, target);
}

QImage StylesManager::textImage(
    int number, const QString &text, int fontSize, bool highlighted, double scale) const
{
    if (!finiteScale(scale))
        return QImage();
    const TextImageKey key { number, text, fontSize, highlighted, scale };
    const auto cached = mTextCache.constFind(key);
    if (cached != mTextCache.constEnd())
        return cached.value();
    const Style style = this->style(number);
    const int pixelSize = truncatedProduct(fontSize > 0 ? fontSize : style.fontSize, scale);
    const QImage image = paintLabel(text, pixelSize, highlighted ? style.highlightedColor : style.normalColor,
        style.fontPath, style.borderColor, style.borderSize);
    if (mTextCache.size() >= kTextCacheEntries)
        mTextCache.clear();
    if (image.sizeInBytes() <= kTextCacheImageBytes)
        mTextCache.insert(key, image);
    return image;
}

QImage StylesManager::tileImage(const QString &key, const QSize &size, double scale) const
{
    if (key.isEmpty())
        return QImage();
    const TileImageKey cacheKey { key, size, scale };
    const auto cached = mTileCache.constFind(cacheKey);
    if (cached != mTileCache.constEnd())
        return cached.value();
    const QImage image = tile(key).render(size, scale);
    const qint64 bytes = image.sizeInBytes();
    if (mTileCacheBytes + bytes > kTileCacheBytes) {
        mTileCache.clear();
        mTileCacheBytes = 0;
    }
    if (bytes <= kTileCacheBytes) {
        mTileCache.insert(cacheKey, image);
        mTileCacheBytes += bytes;
    }
    return image;
}

QImage StylesManager::paintLabel(const QString &text, int pixelSize, const QColor &color,
    const QString &fontPath, const QColor &borderColor, int borderSize) const
{
    // The line alone would be over the bound; don't ask the font engine for
    // glyphs of that size.
    if (pixelSize > ImageLimits::maxSide) {
        qInfo() << "label pixel size" << pixelSize << "is over the image size bound; nothing painted!";
        return QImage();
    }

    QFont font(fontFamily(fontPath));
    if (pixelSize >= 1)
        font.setPixelSize(pixelSize);
    const QFontMetrics metrics(font);
    const int ascent = metrics.ascent();
    const QSize size(metrics.horizontalAdvance(text), ascent + metrics.descent());

    QImage image = ImageLimits::create(size, QImage::Format_ARGB32_Premultiplied, "label");
    if (image.isNull())
        return image;

    QPainter painter(&image);
    painter.setFont(font);
    // A shadow moved by more than the label's height falls wholly outside it
    // (and an absurd BORDER_SIZE would carry the baseline out of the int range).
    if (borderColor.isValid() && qAbs(qint64(borderSize)) <= size.height()) {
        painter.setPen(borderColor);
        painter.drawText(QPoint(0, borderSize + ascent), text);
    }
    painter.setPen(color);
    painter.drawText(QPoint(0, ascent), text);
    return image;
}

QImage StylesManager::solidImage(const QColor &color, const QSize &size) const
{
    const QSize target = (size.width() < 0 || size.height() < 0) ? QSize(30, 30) : size;
    QImage image = ImageLimits::create(target, QImage::Format_ARGB32_Premultiplied, "solid");
    if (!image.isNull())
        image.fill(color);
    return image;
}
