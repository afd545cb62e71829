#include "panelrenderer.h"

#include "panel.h"
#include "previewlayer.h"
#include "skin/imagelimits.h"
#include "skin/skinconfig.h"
#include "skin/valuetext.h"
#include "styles/stylesmanager.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QTextLayout>
#include <QTextOption>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>

using namespace ValueText;

namespace {

// Coordinates from skin files can be anything an int holds; products with the
// scale are brought back into a range where int arithmetic cannot overflow.
// The limit leaves room for a width on top of a position and one more
// pixel (the anchors right + 1) without leaving the int range.
constexpr int coordinateBound = 1 << 29;
constexpr double coordinateLimit = coordinateBound;

double bounded(double value)
{
    if (std::isnan(value))
        return 0;
    return qBound(-coordinateLimit, value, coordinateLimit);
}

int roundToInt(double value)
{
    return qRound(bounded(value));
}

int truncToInt(double value)
{
    return int(bounded(value));
}

int boundedInt(qint64 value)
{
    return int(qBound<qint64>(-coordinateBound, value, coordinateBound));
}

// Whether an earlier picture can be drawn into (or copied over) for one of
// `size`: nobody else holds it, and it has the size, format and unpadded
// lines of a composite this renderer makes.
bool freeFor(const QImage &spare, const QSize &size)
{
    return spare.isDetached() && spare.size() == size && spare.format() == QImage::Format_ARGB32_Premultiplied
        && spare.bytesPerLine() == qsizetype(size.width()) * 4;
}

QImage transparentPixel()
{
    QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

using KeyValues = PanelRenderer::Key;

QString firstValue(const QVector<SkinConfig::Property> &properties, const QString &key, bool *found = nullptr)
{
    for (const SkinConfig::Property &p : properties) {
        if (p.first == key) {
            if (found)
                *found = true;
            return p.second;
        }
    }
    if (found)
        *found = false;
    return QString();
}

// The TIP numbers a STAT_STYLE value names for `status`, in order: items
// "S4_2" joined by "|", the letter ignored.
QList<int> tipsForStatus(const QString &statStyle, int status)
{
    QList<int> tips;
    const QStringList items = statStyle.split(QLatin1Char('|'));
    for (const QString &item : items) {
        const QStringList parts = item.split(QLatin1Char('_'));
        if (parts.size() == 2 && parseInt(parts.at(0).mid(1)) == status)
            tips.append(parseInt(parts.at(1)));
    }
    return tips;
}

// `rect` moved by `offset`, in the bounded coordinate range.
QRect moved(const QRect &rect, const QPoint &offset)
{
    return QRect(boundedInt(qint64(rect.x()) + offset.x()), boundedInt(qint64(rect.y()) + offset.y()),
        boundedInt(rect.width()), boundedInt(rect.height()));
}

QRect scaledTruncated(const QRect &rect, double scale)
{
    return QRect(truncToInt(rect.x() * scale), truncToInt(rect.y() * scale), truncToInt(rect.width() * scale),
        truncToInt(rect.height() * scale));
}

// The outline QPainter::drawRect strokes with a one-pixel pen (left to
// x + width, top to y + height), filled as four strips: stroking costs
// tens of microseconds per rectangle, and the preview draws two per key.
// Shapes where the strips would not give the same pixels are stroked.
void drawOutline(QPainter &painter, const QRect &rect, const QColor &colour)
{
    painter.setPen(colour);
    const int x = rect.x();
    const int y = rect.y();
    const int w = rect.width();
    const int h = rect.height();
    if (!colour.isValid() || w < 2 || h < 1 || x > (1 << 29) || y > (1 << 29)) {
        painter.drawRect(rect);
        return;
    }
    painter.fillRect(x, y, w + 1, 1, colour);
    painter.fillRect(x, y + h, w + 1, 1, colour);
    if (h > 1) {
        painter.fillRect(x, y + 1, 1, h - 1, colour);
        painter.fillRect(x + w, y + 1, 1, h - 1, colour);
    }
}

// An area holding the outline drawOutline() draws around `rect` (counted
// in floating point: the rectangle may lie far outside any image).
QRectF outlineReach(const QRect &rect)
{
    return QRectF(rect).normalized().adjusted(-1, -1, 2, 2);
}

// An area holding what QPainter::drawText(rect, text, QTextOption()) paints:
// the laid-out lines, which may leave the rectangle, with a line's height of
// margin for glyphs reaching out of their boxes.
QRectF textReach(QPainter &painter, const QRect &rect, const QString &text)
{
    const qreal margin = painter.fontMetrics().height() + 2;
    return (painter.boundingRect(QRectF(rect), text, QTextOption()) | QRectF(rect).normalized())
        .adjusted(-margin, -margin, margin, margin);
}

// Whether QPainter::drawText(rect, name, option) lays `name` out as one line
// whatever the rectangle's width: letters and digits only, between which no
// line may break and which the text drawing replaces by nothing.
bool isPlainName(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        const ushort u = c.unicode();
        if (!((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')))
            return false;
    }
    return true;
}

// A plain key name laid out once and drawn into both of its key's outlines
// exactly as QPainter::drawText(rect, name, option) draws it with the option
// top-left or top-right: a line at the rectangle's top, right-aligned by its
// advance, clipped to the rectangle when its box does not fit. Shaping the
// names is most of the cost of a panel of many keys.
class NameLine
{
public:
    NameLine(const QString &name, const QFont &font)
        : mLayout(name, font)
    {
        // drawText aligns itself and leaves the layout aligned left.
        QTextOption option;
        option.setAlignment(Qt::AlignLeft);
        mLayout.setTextOption(option);
        mLayout.setCacheEnabled(true);
        mLayout.beginLayout();
        QTextLine line = mLayout.createLine();
        line.setLineWidth(0);
        line.setPosition(QPointF(0, 0));
        mLayout.endLayout();
    }

    void draw(QPainter &painter, const QRectF &rect, bool right) const
    {
        const QTextLine line = mLayout.lineAt(0);
        const qreal width = qMax<qreal>(0, line.naturalTextWidth());
        const QRectF box(
            rect.x() + (right ? rect.width() - width : 0), rect.y(), width, line.ascent() + line.descent());
        const bool clip = !rect.contains(box);
        // Without a clip of its own the painter gets the rectangle's and
        // loses it again, which is what saving and restoring it comes to.
        const bool restore = clip && painter.hasClipping();
        if (restore) {
            painter.save();
            painter.setClipRect(rect, Qt::IntersectClip);
        } else if (clip) {
            painter.setClipRect(rect);
        }
        const qreal x = right ? rect.width() - line.horizontalAdvance() : 0;
        line.draw(&painter, QPointF(rect.x() + x, rect.y()));
        if (restore)
            painter.restore();
        else if (clip)
            painter.setClipping(false);
    }

private:
    QTextLayout mLayout;
};

// The key names laid out, for the font they were laid out in: a picture is
// drawn again after every edit, its names hardly ever change. Kept by the
// application on its own thread, up to a number of names that costs a few
// megabytes, and dropped when the fonts the application knows change.
class NameLines : public QObject
{
public:
    static std::shared_ptr<const NameLine> of(const QString &name, const QFont &font)
    {
        QCoreApplication *application = QCoreApplication::instance();
        if (!application || QThread::currentThread() != application->thread())
            return std::make_shared<const NameLine>(name, font);
        static QPointer<NameLines> lines;
        if (!lines)
            lines = new NameLines(application);
        return lines->find(name, font);
    }

private:
    explicit NameLines(QCoreApplication *application)
        : QObject(application)
    {
        if (auto *gui = qobject_cast<QGuiApplication *>(application))
            connect(gui, &QGuiApplication::fontDatabaseChanged, this, [this] { mLines.clear(); });
    }

    std::shared_ptr<const NameLine> find(const QString &name, const QFont &font)
    {
        if (!(font == mFont)) {
            mLines.clear();
            mFont = font;
        }
        const auto found = mLines.constFind(name);
        if (found != mLines.constEnd())
            return found.value();
        auto line = std::make_shared<const NameLine>(name, font);
        if (mLines.size() < maxLines)
            mLines.insert(name, line);
        return line;
    }

    static constexpr int maxLines = 4096;
    QFont mFont;
    QHash<QString, std::shared_ptr<const NameLine>> mLines;
};

// Whether a name drawn with `colour` into `rect` can change a pixel: a
// transparent pen draws nothing, and drawText clips a name to a rectangle
// without area.
bool nameShows(const QColor &colour, const QRect &rect)
{
    return (!colour.isValid() || colour.alpha() > 0) && rect.width() != 0 && rect.height() != 0;
}

int centre(int low, int high)
{
    return int((qint64(low) + high) / 2);
}

// The composite fits the image bound; the preview is rebuilt on every
// request, so a canvas near the bound would cost hundreds of megabytes per
// click.
bool fitsBound(double width, double height)
{
    return width <= ImageLimits::maxSide && height <= ImageLimits::maxSide
        && width * height <= double(ImageLimits::maxPixels);
}

// A key's rectangles: VIEW_RECT, and TOUCH_RECT falling back to it for the
// hit test and the pressed state.
void readRects(const QVector<SkinConfig::Property> &properties, const QPoint &offset, KeyValues &k)
{
    const QString viewText = firstValue(properties, QStringLiteral("VIEW_RECT"));
    bool hasTouch = false;
    const QString touchText = firstValue(properties, QStringLiteral("TOUCH_RECT"), &hasTouch);
    k.viewRect = moved(parseRect(viewText), offset);
    k.touchRect = moved(parseRect(hasTouch ? touchText : viewText), offset);
    k.touchOutline = moved(parseRect(touchText), offset);
}

} // namespace

// The LIST values and where the list lies, shared by drawing and picking.
struct PanelRenderer::ListGeometry
{
    int type = 0;
    int backStyle = 0;
    int foreStyle = 0;
    int cellStyle = 0;
    QSize cell;
    int count = 0;
    QStringList names;
    int padLeft = 0;
    int padTop = 0;
    qint64 startX = 0;
    qint64 startY = 0;
    bool vertical = false;
    qint64 backWidth = 0;
    qint64 backHeight = 0;
    QPoint backAt; // pixels
    QRect area; // pixels
};

uint qHash(const PanelRenderer::StyleKey &key, uint seed)
{
    // (unsigned: any size a panel file gives hashes without overflow)
    return qHash(key.number, seed) ^ qHash(uint(key.size.width()) * 31u + uint(key.size.height()), seed)
        ^ qHash(key.pressed, seed);
}

PanelRenderer::PanelRenderer(const Panel &panel)
    : mPanel(panel)
    , mStyles(panel.stylesManager())
    , mScale(panel.scale())
    , mOffsets(panel.offsetTable())
{ }

QString PanelRenderer::sampleInput()
{
    return QStringLiteral("bd'yy'vf'pn'li");
}

QStringList PanelRenderer::sampleCandidates()
{
    return { QCoreApplication::translate("Panel", "baiyunzhenpiaoli"),
        QCoreApplication::translate("Panel", "baiyun"), QCoreApplication::translate("Panel", "bai"),
        QCoreApplication::translate("Panel", "yun") };
}

bool PanelRenderer::allowed(double width, double height, const char *what)
{
    // Negative sides ask for a natural size, which the painter bounds itself.
    if (width < 0 || height < 0)
        return true;
    if (width <= ImageLimits::maxSide && height <= ImageLimits::maxSide
        && width * height <= double(ImageLimits::maxPixels))
        return true;
    if (!mBoundLogged) {
        qInfo() << what << qint64(width) << "x" << qint64(height)
                << "is over the image size bound; not painted!";
        mBoundLogged = true;
    }
    return false;
}

QImage PanelRenderer::paintStyle(int number, const QSize &size, bool pressed, double scale)
{
    if (!allowed(double(size.width()) * scale, double(size.height()) * scale, "style image"))
        return QImage();
    return mStyles->styleImage(number, size, pressed, scale);
}

QImage PanelRenderer::keyStyle(int number, const QSize &size, bool pressed)
{
    const StyleKey key { number, size, pressed };
    const auto found = mKeyStyles.constFind(key);
    if (found != mKeyStyles.constEnd())
        return found.value();
    const QImage image = paintStyle(number, size, pressed, mScale);
    mKeyStyles.insert(key, image);
    return image;
}

QPoint PanelRenderer::highlightPixel(const QSize &imageSize) const
{
    const QPointF point = mPanel.highlightPointF();
    return QPoint(truncToInt(imageSize.width() * point.x()), truncToInt(imageSize.height() * point.y()));
}

PanelRenderer::Layout PanelRenderer::layout() const
{
    Layout l;
    const Panel &p = mPanel;
    if (p.currentPanelFile().isEmpty() || p.loadFailed())
        return l;
    l.loaded = true;

    const QSize panelSize = parseSize(p.value(QStringLiteral("PANEL/SIZE")));
    l.panelSize = panelSize;
    const qint64 totalWidth = panelSize.width();
    qint64 totalHeight = panelSize.height();

    // A panel without a width has nothing to fit to the device.
    const int deviceResolution = p.deviceResolution();
    l.scale = (deviceResolution < 1 || totalWidth < 1) ? 1.0 : double(deviceResolution) / totalWidth;
    const double s = l.scale;
    const bool candidateStatus = p.candidateStatus();

    qint64 inputY = 0;
    qint64 listY = 0;
    qint64 candY = 0;
    qint64 panelY = 0;

    const int candType = parseInt(p.value(QStringLiteral("CAND/TYPE")));
    const QRect candRect = parseRect(p.value(QStringLiteral("CAND/VIEW_RECT")));
    bool candShown = false;
    if (candType == 2 || candType == 4) {
        totalHeight += candRect.height();
        panelY = candRect.height();
        candShown = true;
    } else if ((candType == 0 || candType == 1 || candType == 3) && candidateStatus) {
        candY = panelY;
        candShown = true;
    }

    bool listDrawn = false;
    bool inputDrawn = false;
    if (p.panelConfig() && p.panelConfig()->childGroups().contains(QStringLiteral("LIST"))) {
        const int listType = parseInt(p.value(QStringLiteral("LIST/TYPE")));
        if (listType == 2 || (listType == 3 && candidateStatus)) {
            const QList<int> padding = parseIntList(p.value(QStringLiteral("LIST/PADDING")));
            const qint64 height = qint64(parseSize(p.value(QStringLiteral("LIST/CELL_SIZE"))).height())
                + padding.value(1) + padding.value(3);
            totalHeight += height;
            candY += height;
            panelY += height;
        } else {
            listY = panelY;
        }
        listDrawn = candidateStatus || (listType != 1 && listType != 3);
    }
    if (candidateStatus) {
        const QImage text = mStyles->textImage(
            parseInt(p.value(QStringLiteral("INPUT/FORE_STYLE"))), sampleInput(), 0, false, 1.0);
        const int height = text.height();
        totalHeight += height;
        listY += height;
        candY += height;
        panelY += height;
        inputDrawn = true;
    }

    l.inputOffset = QPoint(0, boundedInt(inputY));
    l.listOffset = QPoint(0, boundedInt(listY));
    l.candOffset = QPoint(0, boundedInt(candY));
    l.panelOffset = QPoint(0, boundedInt(panelY));
    l.inputDrawn = inputDrawn;
    l.listDrawn = listDrawn;
    l.candShown = candShown;
    l.totalWidth = totalWidth;
    l.totalHeight = totalHeight;

    const double width = std::round(double(totalWidth) * s);
    const double height = std::round(double(totalHeight) * s);
    if (width >= 1 && height >= 1 && fitsBound(width, height))
        l.compositeSize = QSize(int(width), int(height));
    return l;
}

PanelRenderer::Result PanelRenderer::renderPreview()
{
    return renderPreview(QImage(), QImage());
}

PanelRenderer::Result PanelRenderer::renderPreview(QImage canvas, QImage stageCanvas)
{
    QElapsedTimer timer;
    timer.start();
    Result result;
    result.layout = layout();
    const Layout &l = result.layout;
    result.image = transparentPixel();
    if (!l.loaded)
        return result;
    mScale = l.scale;
    mKeyStyles.clear();

    qDebug() << "totalSize" << l.totalWidth << l.totalHeight;
    qDebug() << "inputOffset" << l.inputOffset;
    qDebug() << "listOffset" << l.listOffset;
    qDebug() << "candOffset" << l.candOffset;
    qDebug() << "panelOffset" << l.panelOffset;

    const double width = std::round(double(l.totalWidth) * l.scale);
    const double height = std::round(double(l.totalHeight) * l.scale);
    if (width < 1 || height < 1) {
        qInfo() << "panel size" << l.totalWidth << "x" << l.totalHeight << " is invalid!";
        return result;
    }
    if (!allowed(width, height, "panel image"))
        return result;
    const QSize size { int(width), int(height) };
    QImage image;
    if (freeFor(canvas, size)) {
        image = std::move(canvas);
        image.fill(Qt::transparent);
    } else {
        image = ImageLimits::create(size, QImage::Format_ARGB32_Premultiplied, "panel");
    }
    if (image.isNull())
        return result;

    mPresses = &result.presses;
    mKeysDrawn = &result;
    if (l.inputDrawn) {
        renderInput(image, l.inputOffset);
        qDebug() << "input rendered: " << timer.elapsed();
    }
    renderPanel(image, l.panelOffset);
    qInfo() << "panel rendered: " << timer.elapsed() << "ms";
    // The list and the candidate area are drawn over a copy: the picture
    // before them is kept for redrawing pressed keys.
    if ((l.listDrawn || l.candShown) && freeFor(stageCanvas, size)) {
        std::memcpy(stageCanvas.bits(), image.constBits(), size_t(image.sizeInBytes()));
        // (a moved-into image swaps: the canvas must let go of the picture,
        // or drawing the list over it would copy the whole picture first)
        result.panelStage = std::exchange(stageCanvas, QImage());
    }
    if (l.listDrawn) {
        renderList(image, l.listOffset);
        qDebug() << "list rendered: " << timer.elapsed() << "ms";
    }
    if (l.candShown) {
        renderCand(image, l.candOffset);
        qDebug() << "cand rendered: " << timer.elapsed();
    }
    qInfo() << "rendered: " << timer.elapsed();
    mPresses = nullptr;
    mKeysDrawn = nullptr;
    result.image = image;
    return result;
}

PanelRenderer::Result PanelRenderer::redrawPresses(Result last)
{
    QElapsedTimer timer;
    timer.start();
    Result result = std::move(last);
    // Painted in place when nobody else holds them: copying a composite
    // costs as much as drawing most of it.
    QImage image = std::exchange(result.panelStage, QImage());
    QImage previous = std::exchange(result.image, QImage());
    const Layout &l = result.layout;
    mScale = l.scale;
    mKeyStyles.clear();
    const double s = mScale;
    const QPoint pixel = highlightPixel(image.size());
    const QPoint h(roundToInt(pixel.x() / s), roundToInt(pixel.y() / s));
    result.unitPoint = h;

    // Only the keys whose pressed look changed paint other pixels; where
    // they were and where they are now is drawn again in full, from the
    // input area under the panel to the outlines over it.
    QRegion dirty;
    QHash<int, KeyPaint> repainted;
    for (int i = 0; i < result.keys.size(); ++i) {
        const bool pressed = result.keys.at(i).touchRect.contains(h);
        if (pressed == result.keyPressed.at(i))
            continue;
        const KeyPaint paint = paintKey(result.keys.at(i), pressed);
        dirty += result.keyBounds.at(i);
        dirty += paint.bounds;
        result.keyPressed[i] = pressed;
        result.keyBounds[i] = paint.bounds;
        repainted.insert(i, paint);
    }
    if (!dirty.isEmpty()) {
        QPainter painter(&image);
        const QFont nameFont = painter.font();
        const int margin = QFontMetrics(nameFont).height() + 2;
        for (const QRect &area : dirty) {
            painter.setClipRect(area);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.fillRect(area, Qt::transparent);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            if (l.inputDrawn)
                paintInput(painter, l.inputOffset);
            paintBackground(painter, l.panelOffset);
            for (int i = 0; i < result.keys.size(); ++i) {
                if (!result.keyBounds.at(i).intersects(area))
                    continue;
                const auto found = repainted.constFind(i);
                drawKey(painter,
                    found != repainted.constEnd() ? found.value()
                                                  : paintKey(result.keys.at(i), result.keyPressed.at(i)));
            }
            for (const Key &k : qAsConst(result.keys)) {
                if (outlineBounds(k, margin).intersects(area))
                    drawOutlines(painter, k, nameFont);
            }
        }
    }
    result.panelStage = image;

    if (!(l.listDrawn || l.candShown)) {
        result.image = image;
        result.spare = QImage();
        result.spareStale = QRegion();
        qDebug() << "redrawn for the highlight point: " << timer.elapsed();
        return result;
    }

    // The picture is drawn into the last one when nobody else holds it, or
    // else into the one before it, brought up to date where it differs.
    QImage spare = std::exchange(result.spare, QImage());
    QRegion spareStale = std::exchange(result.spareStale, QRegion());
    QImage target;
    QRegion stale;
    const bool intoPrevious = freeFor(previous, image.size());
    if (intoPrevious) {
        target = std::exchange(previous, QImage());
    } else if (freeFor(spare, image.size())) {
        target = std::exchange(spare, QImage());
        stale = std::exchange(spareStale, QRegion());
    }

    // Where the list and the candidate area painted nothing changed, and
    // none of their cells and icons changed its pressed look, the target
    // stays right but where it differs from the new panel stage.
    const QRegion changed = dirty + stale;
    const Presses &lastPresses = result.presses;
    const QVector<QRect> &underList = lastPresses.painted;
    bool samePresses = true;
    for (const QRect &area : lastPresses.areas)
        samePresses = samePresses && area.contains(pixel) == area.contains(lastPresses.pixel);
    const bool untouched = samePresses && !target.isNull()
        && std::none_of(underList.cbegin(), underList.cend(),
            [&changed](const QRect &r) { return changed.intersects(r); });
    if (untouched) {
        QPainter painter(&target);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect &area : changed) {
            const QRect onImage = area & image.rect();
            if (!onImage.isEmpty())
                painter.drawImage(onImage.topLeft(), image, onImage);
        }
        painter.end();
        if (!lastPresses.areas.isEmpty())
            result.presses.pixel = pixel;
    } else {
        if (target.isNull())
            target = image.copy();
        else
            std::memcpy(target.bits(), image.constBits(), size_t(image.sizeInBytes()));
        result.presses = Presses();
        mPresses = &result.presses;
        if (l.listDrawn)
            renderList(target, l.listOffset);
        if (l.candShown)
            renderCand(target, l.candOffset);
        mPresses = nullptr;
    }
    // What the new picture changed: the keys drawn again, or all of it when
    // a cell or an icon changed its look. (Drawing the same list and
    // candidate area again changes a pixel only where the stage under it
    // changed: each pixel is composed from the one under it alone.)
    const QRegion differs = samePresses ? dirty : QRegion(image.rect());
    if (intoPrevious) {
        result.spare = std::move(spare);
        result.spareStale = spareStale + differs;
        // Many small rectangles cost more to copy one by one than the
        // picture does at once.
        if (result.spareStale.rectCount() > 64)
            result.spareStale = QRegion(image.rect());
    } else {
        result.spare = std::move(previous);
        result.spareStale = differs;
    }
    image = std::move(target);
    result.image = image;
    qDebug() << "redrawn for the highlight point: " << timer.elapsed();
    return result;
}

PanelRenderer::Result PanelRenderer::renderPreview(PreviewLayer &layer)
{
    const PreviewLayer::Inputs inputs = PreviewLayer::inputsOf(mPanel);
    if (!layer.isEmpty()) {
        const Result &last = layer.result();
        const QPoint pixel = highlightPixel(last.image.size());
        const double s = last.layout.scale;
        const QPoint unitPoint(roundToInt(pixel.x() / s), roundToInt(pixel.y() / s));
        if (layer.holds(inputs, pixel, unitPoint))
            return last;
        if (layer.holdsInputs(inputs) && !last.panelStage.isNull()) {
            const Result result = redrawPresses(layer.take());
            layer.store(inputs, result);
            return result;
        }
    }
    Result last = layer.take();
    // Without a list or candidate area the kept stage is the picture itself.
    if (last.panelStage.constBits() == last.image.constBits())
        last.panelStage = QImage();
    // The scene may still hold the last picture, not the one before it.
    QImage canvas = last.image.isDetached() ? std::move(last.image) : std::move(last.spare);
    const Result result = renderPreview(std::move(canvas), std::move(last.panelStage));
    layer.store(inputs, result);
    return result;
}

PanelRenderer::Pick PanelRenderer::pick(const QPointF &relativePoint) const
{
    Pick result;
    const Layout l = layout();
    const QSize size = l.compositeSize;
    if (!l.loaded || size.isEmpty() || !mPanel.panelConfig())
        return result;
    result.done = true;
    const double s = l.scale;
    const QPoint pixel(
        truncToInt(size.width() * relativePoint.x()), truncToInt(size.height() * relativePoint.y()));
    const QPoint h(roundToInt(pixel.x() / s), roundToInt(pixel.y() / s));

    const SkinConfig *config = mPanel.panelConfig();
    const QStringList keys = Panel::keyOrder(config);
    for (const QString &key : keys) {
        KeyValues k;
        readRects(config->sectionProperties(key), l.panelOffset, k);
        if (k.viewRect.contains(h)) {
            qDebug() << "highlightPoint: " << h << key;
            result.keys.append(key);
        }
    }
    if (l.listDrawn)
        result.onList = listGeometry(size.width(), l.listOffset, s).area.contains(pixel);
    return result;
}

void PanelRenderer::renderPanel(QImage &image, const QPoint &offset)
{
    const Panel &p = mPanel;
    if (image.isNull() || !p.panelConfig())
        return;
    const double s = mScale;
    const QPoint pixel = highlightPixel(image.size());
    const QPoint h(roundToInt(pixel.x() / s), roundToInt(pixel.y() / s));

    QPainter painter(&image);
    paintBackground(painter, offset);

    const SkinConfig *config = p.panelConfig();
    const QStringList keys = Panel::keyOrder(config);
    QVector<KeyValues> drawn;
    drawn.reserve(keys.size());
    if (mKeysDrawn) {
        mKeysDrawn->unitPoint = h;
        mKeysDrawn->keyBounds.reserve(keys.size());
        mKeysDrawn->keyPressed.reserve(keys.size());
    }
    for (const QString &key : keys) {
        const QVector<SkinConfig::Property> properties = config->sectionProperties(key);
        KeyValues k;
        k.name = key;
        k.backStyle = parseInt(firstValue(properties, QStringLiteral("BACK_STYLE")));
        k.foreStyles = parseIntList(firstValue(properties, QStringLiteral("FORE_STYLE")));
        k.posTypes = parseIntList(firstValue(properties, QStringLiteral("POS_TYPE")));
        readRects(properties, offset, k);

        bool hasStatStyle = false;
        const QString statStyle = firstValue(properties, QStringLiteral("STAT_STYLE"), &hasStatStyle);
        if (hasStatStyle) {
            for (int tip : tipsForStatus(statStyle, p.currentStatus())) {
                const QVector<SkinConfig::Property> tipProperties
                    = config->sectionProperties(QStringLiteral("TIP%1").arg(tip));
                bool found = false;
                const QString back = firstValue(tipProperties, QStringLiteral("BACK_STYLE"), &found);
                if (found)
                    k.backStyle = parseInt(back);
                const QString fore = firstValue(tipProperties, QStringLiteral("FORE_STYLE"), &found);
                if (found)
                    k.foreStyles = parseIntList(fore);
                const QString pos = firstValue(tipProperties, QStringLiteral("POS_TYPE"), &found);
                if (found)
                    k.posTypes = parseIntList(pos);
            }
        }

        const bool pressed = k.touchRect.contains(h);
        const KeyPaint paint = paintKey(k, pressed);
        drawKey(painter, paint);
        if (mKeysDrawn) {
            mKeysDrawn->keyBounds.append(paint.bounds);
            mKeysDrawn->keyPressed.append(pressed);
        }
        drawn.append(k);
    }

    const QFont nameFont = painter.font();
    for (const KeyValues &k : qAsConst(drawn))
        drawOutlines(painter, k, nameFont);
    painter.end();
    if (mKeysDrawn) {
        mKeysDrawn->keys = drawn;
        mKeysDrawn->panelStage = image;
    }
}

void PanelRenderer::paintBackground(QPainter &painter, const QPoint &offset)
{
    const Panel &p = mPanel;
    const double s = mScale;
    const QSize panelSize = parseSize(p.value(QStringLiteral("PANEL/SIZE")));
    const QImage background
        = paintStyle(parseInt(p.value(QStringLiteral("PANEL/BACK_STYLE"))), panelSize, false, s);
    if (!background.isNull())
        painter.drawImage(truncToInt(offset.x() * s), truncToInt(offset.y() * s), background);
}

PanelRenderer::KeyPaint PanelRenderer::paintKey(const Key &k, bool pressed)
{
    const double s = mScale;
    KeyPaint paint;
    paint.back = keyStyle(k.backStyle, k.viewRect.size(), pressed);
    paint.backAt = QPoint(roundToInt(k.viewRect.x() * s), roundToInt(k.viewRect.y() * s));
    if (!paint.back.isNull())
        paint.bounds = QRect(paint.backAt, paint.back.size());

    const int cx = centre(k.viewRect.left(), k.viewRect.right());
    const int cy = centre(k.viewRect.top(), k.viewRect.bottom());
    for (int i = 0; i < k.foreStyles.size(); ++i) {
        const QImage fore = keyStyle(k.foreStyles.at(i), QSize(-1, -1), pressed);
        if (fore.isNull())
            continue;
        const QPoint o = mOffsets.value(k.posTypes.value(i, 0), QPoint(0, 0));
        const int x = truncToInt(cx * s - (fore.width() / 2) + o.x() * s);
        const int y = truncToInt(cy * s - (fore.height() / 2) + o.y() * s);
        paint.fores.append({ QPoint(x, y), fore });
        paint.bounds |= QRect(QPoint(x, y), fore.size());
    }
    return paint;
}

void PanelRenderer::drawKey(QPainter &painter, const KeyPaint &paint)
{
    if (!paint.back.isNull())
        painter.drawImage(paint.backAt, paint.back);
    for (const auto &fore : paint.fores)
        painter.drawImage(fore.first, fore.second);
}

void PanelRenderer::drawOutlines(QPainter &painter, const Key &k, const QFont &nameFont)
{
    const double s = mScale;
    const QColor viewColour = mPanel.viewRectColor();
    const QColor touchColour = mPanel.touchRectColor();
    const QRect view = scaledTruncated(k.viewRect, s);
    const QRect touch = scaledTruncated(k.touchOutline, s);
    const bool viewName = nameShows(viewColour, view);
    const bool touchName = nameShows(touchColour, touch);
    if ((viewName || touchName) && isPlainName(k.name)) {
        const std::shared_ptr<const NameLine> name = NameLines::of(k.name, nameFont);
        drawOutline(painter, view, viewColour);
        if (viewName)
            name->draw(painter, QRectF(view), false);
        drawOutline(painter, touch, touchColour);
        if (touchName)
            name->draw(painter, QRectF(touch), true);
        return;
    }
    drawOutline(painter, view, viewColour);
    if (viewName)
        painter.drawText(QRectF(view), k.name, QTextOption());
    drawOutline(painter, touch, touchColour);
    if (touchName)
        painter.drawText(QRectF(touch), k.name, QTextOption(Qt::AlignRight | Qt::AlignTop));
}

// Where a key's outlines and names can paint: drawText keeps a name inside
// its rectangle or clips it there, so the rectangles with a margin for the
// glyphs' overhang hold them.
QRect PanelRenderer::outlineBounds(const Key &k, int margin) const
{
    const QRect view = scaledTruncated(k.viewRect, mScale).normalized();
    const QRect touch = scaledTruncated(k.touchOutline, mScale).normalized();
    return view.adjusted(-margin, -margin, margin + 1, margin + 1)
        | touch.adjusted(-margin, -margin, margin + 1, margin + 1);
}

void PanelRenderer::renderInput(QImage &image, const QPoint &offset)
{
    if (image.isNull())
        return;
    QPainter painter(&image);
    paintInput(painter, offset);
}

void PanelRenderer::paintInput(QPainter &painter, const QPoint &offset)
{
    const Panel &p = mPanel;
    const double s = mScale;
    const int foreStyle = parseInt(p.value(QStringLiteral("INPUT/FORE_STYLE")));
    const int backStyle = parseInt(p.value(QStringLiteral("INPUT/BACK_STYLE")));
    const QImage text = mStyles->textImage(foreStyle, sampleInput(), 0, false, s);
    const QSize backSize(roundToInt(text.width() * s), roundToInt(text.height() * s));
    const QImage back = paintStyle(backStyle, backSize, false, 1.0);
    const QPoint at(roundToInt(offset.x() * s), roundToInt(offset.y() * s));
    if (!back.isNull())
        painter.drawImage(at, back);
    if (!text.isNull())
        painter.drawImage(at, text);
}

PanelRenderer::ListGeometry PanelRenderer::listGeometry(int imageWidth, const QPoint &offset, double s) const
{
    const Panel &p = mPanel;
    ListGeometry g;
    g.type = parseInt(p.value(QStringLiteral("LIST/TYPE")));
    g.backStyle = parseInt(p.value(QStringLiteral("LIST/BACK_STYLE")));
    g.foreStyle = parseInt(p.value(QStringLiteral("LIST/FORE_STYLE")));
    g.cellStyle = parseInt(p.value(QStringLiteral("LIST/CELL_STYLE")));
    g.cell = parseSize(p.value(QStringLiteral("LIST/CELL_SIZE")));
    const QPoint pos = parsePoint(p.value(QStringLiteral("LIST/POS")));
    g.count = parseInt(p.value(QStringLiteral("LIST/LIST_NUM")));
    const int order = parseInt(p.value(QStringLiteral("LIST/LIST_ORDER")));
    const QString namesText = p.value(QStringLiteral("LIST/NAMES"));
    g.names = namesText.isEmpty() ? QStringList() : namesText.split(QLatin1Char(' '));
    QList<int> padding = parseIntList(p.value(QStringLiteral("LIST/PADDING")));
    if (padding.size() != 4)
        padding = { 0, 0, 0, 0 };
    g.padLeft = padding.at(0);
    g.padTop = padding.at(1);
    const int padRight = padding.at(2);
    const int padBottom = padding.at(3);

    const bool ownStrip = g.type == 2 || g.type == 3;
    g.startX = ownStrip ? offset.x() : qint64(offset.x()) + pos.x();
    g.startY = ownStrip ? offset.y() : qint64(offset.y()) + pos.y();
    g.vertical = !ownStrip && order == 0;

    if (g.vertical) {
        g.backWidth = qint64(g.cell.width()) + g.padLeft + padRight;
        g.backHeight = qint64(g.cell.height()) * g.count + g.padTop + padBottom;
    } else {
        g.backWidth = qint64(g.cell.width()) * g.count + g.padLeft + padRight;
        g.backHeight = qint64(g.cell.height()) + g.padTop + padBottom;
    }
    if (ownStrip)
        g.backWidth = imageWidth;

    g.backAt = QPoint(roundToInt((g.startX - g.padLeft) * s), roundToInt((g.startY - g.padTop) * s));
    g.area = QRect(g.backAt, QSize(roundToInt(g.backWidth * s), roundToInt(g.backHeight * s)));
    return g;
}

void PanelRenderer::notePainted(const QRectF &area)
{
    if (!mPresses)
        return;
    const QRectF onImage = area & mCanvas;
    if (!onImage.isEmpty())
        mPresses->painted.append(onImage.toAlignedRect());
}

void PanelRenderer::renderList(QImage &image, const QPoint &offset)
{
    const Panel &p = mPanel;
    if (image.isNull())
        return;
    mCanvas = QRectF(image.rect());
    const double s = mScale;
    const QPoint pixel = highlightPixel(image.size());
    const ListGeometry g = listGeometry(image.width(), offset, s);
    const QSize cell = g.cell;
    const int count = g.count;
    const QStringList &names = g.names;
    const bool vertical = g.vertical;
    const int cellStyle = g.cellStyle;
    const int foreStyle = g.foreStyle;
    const QPoint backAt = g.backAt;
    const qint64 startX = g.startX;
    const qint64 startY = g.startY;

    QPainter painter(&image);
    const QImage back
        = paintStyle(g.backStyle, QSize(boundedInt(g.backWidth), boundedInt(g.backHeight)), false, s);
    if (!back.isNull()) {
        painter.drawImage(backAt, back);
        notePainted(QRectF(backAt, back.size()));
    }

    // What a cell paints is not held by its rectangle: the cell style is
    // drawn from the rectangle's corner at the size it comes in (its natural
    // size for a negative CELL_SIZE, a label at its own size), and a name is
    // centred on the cell however tall or wide it is. So a cell is passed
    // over only when neither can reach the image, and the loop ends once no
    // later cell can: cells move one way, the cell style keeps its size, all
    // names share the line height of FORE_STYLE and no label is larger than
    // the image bound. Cells that do not move are drawn once more only while
    // they still have a name to show.
    const int step = vertical ? cell.height() : cell.width();
    const int extent = vertical ? image.height() : image.width();
    const int limit = qMin(count, maxListCells);
    if (count > maxListCells)
        qInfo() << "LIST_NUM" << count << " is invalid! only the first" << maxListCells << "cells are drawn";
    const QRect canvas = image.rect();
    const int labelHalf = ImageLimits::maxSide / 2 + 1;
    // Every cell that is not pressed gets the same image.
    const QImage normalCell = limit > 0 ? paintStyle(cellStyle, cell, false, s) : QImage();
    const auto along = [vertical](const QSize &size) { return vertical ? size.height() : size.width(); };
    int cellReach = along(normalCell.size());
    bool pressedMeasured = false;
    int nameHeight = -1; // known once a name has been painted
    qint64 x = startX;
    qint64 y = startY;
    for (int i = 0; i < limit; ++i) {
        if (step == 0 && i >= qMax(1, names.size()))
            break;
        const QRect r(roundToInt(x * s), roundToInt(y * s), roundToInt(cell.width() * s),
            roundToInt(cell.height() * s));
        const bool pressed = r.contains(pixel);
        if (mPresses) {
            mPresses->pixel = pixel;
            mPresses->areas.append(r);
        }
        const QImage cellImage = pressed ? paintStyle(cellStyle, cell, true, s) : normalCell;
        if (!cellImage.isNull() && QRect(r.topLeft(), cellImage.size()).intersects(canvas)) {
            painter.drawImage(r.topLeft(), cellImage);
            notePainted(QRectF(r.topLeft(), cellImage.size()));
        }

        const QPoint middle(centre(r.left(), r.right()), centre(r.top(), r.bottom()));
        const int halfWidth = labelHalf;
        int halfHeight = nameHeight < 0 ? labelHalf : nameHeight / 2 + 1;
        const QRect nameReach(
            middle.x() - halfWidth, middle.y() - halfHeight, 2 * halfWidth + 1, 2 * halfHeight + 1);
        if (i < names.size() && !names.at(i).isEmpty() && nameReach.intersects(canvas)) {
            const QImage text = mStyles->textImage(foreStyle, names.at(i), 0, pressed, s);
            if (!text.isNull()) {
                nameHeight = text.height();
                halfHeight = nameHeight / 2 + 1;
                const QPoint at(middle.x() - text.width() / 2, middle.y() - text.height() / 2);
                painter.drawImage(at, text);
                notePainted(QRectF(at, text.size()));
            }
        }

        const int corner = vertical ? r.top() : r.left();
        const int nameMiddle = vertical ? middle.y() : middle.x();
        const int nameHalf = vertical ? halfHeight : halfWidth;
        const bool namesLeft = i + 1 < names.size();
        if (step > 0 && corner >= extent && (!namesLeft || nameMiddle - nameHalf >= extent))
            break;
        if (step < 0 && corner + cellReach <= 0 && (!namesLeft || nameMiddle + nameHalf < 0)) {
            // A later cell may be the pressed one; its image may be larger.
            if (!pressedMeasured) {
                pressedMeasured = true;
                cellReach = qMax(cellReach, along(paintStyle(cellStyle, cell, true, s).size()));
            }
            if (corner + cellReach <= 0)
                break;
        }
        if (vertical)
            y += step;
        else
            x += step;
    }

    const QRect listRect = g.area;
    drawOutline(painter, listRect, p.viewRectColor());
    painter.drawText(QRectF(listRect), QStringLiteral("LIST"), QTextOption());
    if (mPresses)
        notePainted(outlineReach(listRect) | textReach(painter, listRect, QStringLiteral("LIST")));
}

void PanelRenderer::renderCand(QImage &image, const QPoint &offset)
{
    const Panel &p = mPanel;
    if (image.isNull())
        return;
    mCanvas = QRectF(image.rect());
    const double s = mScale;
    const QPoint pixel = highlightPixel(image.size());

    qDebug() << "candOffset: " << offset;
    QRect r = parseRect(p.value(QStringLiteral("CAND/VIEW_RECT")));
    qDebug() << "cand rect" << r;
    r = QRect(truncToInt((qint64(r.x()) + offset.x()) * s), truncToInt((qint64(r.y()) + offset.y()) * s),
        truncToInt(r.width() * s), truncToInt(r.height() * s));
    qDebug() << "cand rect" << r;
    const int left = r.left();
    const int top = r.top();
    const int right = r.right();
    const int bottom = r.bottom();
    const int cx = centre(left, right);
    const int cy = centre(top, bottom);

    const SkinConfig *layoutDocument = p.candLayout();
    if (!layoutDocument)
        return;
    const SkinConfig &layout = *layoutDocument;

    const QPoint anchors[] = {
        { 0, 0 },
        { left, top },
        { cx, top },
        { right, top },
        { left, cy },
        { cx, cy },
        { right + 1, cy },
        { left, bottom + 1 },
        { cx, bottom + 1 },
        { right + 1, bottom + 1 },
    };

    QPainter painter(&image);
    const int backStyle = parseInt(layout.value(QStringLiteral("CAND/BACK_STYLE")));
    QImage back = paintStyle(backStyle, r.size(), true, 1.0);
    if (back.isNull())
        back = paintStyle(backStyle, r.size(), false, 1.0);
    if (!back.isNull()) {
        painter.drawImage(left, top, back);
        notePainted(QRectF(QPoint(left, top), back.size()));
    }

    const bool candidateStatus = p.candidateStatus();
    const QStringList sections = layout.childGroups();
    for (const QString &section : sections) {
        if (!section.startsWith(QLatin1String("ICON")))
            continue;
        const QVector<SkinConfig::Property> properties = layout.sectionProperties(section);
        int iconBack = parseInt(firstValue(properties, QStringLiteral("BACK_STYLE")));
        int iconFore = parseInt(firstValue(properties, QStringLiteral("FORE_STYLE")));
        const QSize size = parseSize(firstValue(properties, QStringLiteral("SIZE")));
        const int anchorType = parseInt(firstValue(properties, QStringLiteral("ANCHOR_TYPE")));
        const QPoint pos = parsePoint(firstValue(properties, QStringLiteral("POS")));
        const int persist = parseInt(firstValue(properties, QStringLiteral("PERSIST")));
        bool hasStatStyle = false;
        const QString statStyle = firstValue(properties, QStringLiteral("STAT_STYLE"), &hasStatStyle);
        if (hasStatStyle) {
            for (int tip : tipsForStatus(statStyle, p.currentStatus())) {
                const QVector<SkinConfig::Property> tipProperties
                    = layout.sectionProperties(QStringLiteral("TIP%1").arg(tip));
                bool found = false;
                const QString tipBack = firstValue(tipProperties, QStringLiteral("BACK_STYLE"), &found);
                if (found)
                    iconBack = parseInt(tipBack);
                const QString tipFore = firstValue(tipProperties, QStringLiteral("FORE_STYLE"), &found);
                if (found)
                    iconFore = parseInt(tipFore);
            }
        }
        if (anchorType < 0 || anchorType > 9) {
            qInfo() << section << "ANCHOR_TYPE" << anchorType << " is invalid!";
            continue;
        }
        const bool visible
            = persist == 3 || (persist == 2 && candidateStatus) || (persist == 1 && !candidateStatus);
        if (!visible)
            continue;
        const QPoint anchor = anchors[anchorType];
        const QRect icon(truncToInt(anchor.x() + pos.x() * s), truncToInt(anchor.y() + pos.y() * s),
            truncToInt(size.width() * s), truncToInt(size.height() * s));
        const bool pressed = icon.contains(pixel);
        if (mPresses) {
            mPresses->pixel = pixel;
            mPresses->areas.append(icon);
        }
        const QImage iconImage = paintStyle(iconBack, size, pressed, s);
        if (!iconImage.isNull()) {
            painter.drawImage(icon.topLeft(), iconImage);
            notePainted(QRectF(icon.topLeft(), iconImage.size()));
        }
        const QImage fore = mStyles->styleImage(iconFore, QSize(-1, -1), pressed, s);
        if (!fore.isNull()) {
            const QPoint at(centre(icon.left(), icon.right()) - fore.width() / 2,
                centre(icon.top(), icon.bottom()) - fore.height() / 2);
            painter.drawImage(at, fore);
            notePainted(QRectF(at, fore.size()));
        }
        drawOutline(painter, icon, p.viewRectColor());
        painter.drawText(QRectF(icon), section, QTextOption());
        if (mPresses)
            notePainted(outlineReach(icon) | textReach(painter, icon, section));
    }

    if (candidateStatus) {
        const int foreStyle = parseInt(layout.value(QStringLiteral("CAND/FORE_STYLE")));
        const int firstFore = layout.contains(QStringLiteral("CAND/FIRST_FORE"))
            ? parseInt(layout.value(QStringLiteral("CAND/FIRST_FORE")))
            : foreStyle;
        const int cellStyle = parseInt(layout.value(QStringLiteral("CAND/CELL_STYLE")));
        const int firstGap = parseInt(layout.value(QStringLiteral("CAND/FIRST_GAP")));
        const int cellWidth = parseInt(layout.value(QStringLiteral("CAND/CELL_W")));
        QList<int> padding = parseIntList(layout.value(QStringLiteral("CAND/PADDING")));
        if (padding.size() <= 3)
            padding = { 0, 0, 0, 0 };

        // The strip's height subtracts the difference of the two paddings,
        // not their sum, as skins made for the input method expect.
        const int stripTop = truncToInt(padding.at(1) * s + top);
        const int stripBottom = stripTop
            + truncToInt((qint64(bottom) - top + 1) - (qint64(padding.at(1)) - padding.at(3)) * s) - 1;
        qint64 x = truncToInt(padding.at(0) * s + left);
        const int cellHeight = stripBottom - stripTop + 1;
        const int centreLine = centre(stripBottom, stripTop);

        const QStringList candidates = sampleCandidates();
        for (int i = 0; i < candidates.size(); ++i) {
            const QImage text
                = mStyles->textImage(i == 0 ? firstFore : foreStyle, candidates.at(i), 0, false, s);
            const qint64 width = qint64(text.width()) + (i == 0 ? firstGap : 0) + cellWidth;
            const QImage cellImage = paintStyle(cellStyle, QSize(boundedInt(width), cellHeight), false, s);
            const int cw = cellImage.isNull() ? 0 : cellImage.width();
            if (!cellImage.isNull()) {
                painter.drawImage(QPoint(boundedInt(x), stripTop), cellImage);
                notePainted(QRectF(QPoint(boundedInt(x), stripTop), cellImage.size()));
            }
            if (!text.isNull()) {
                const QPoint at(boundedInt(x + cw / 2 - text.width() / 2), centreLine - text.height() / 2);
                painter.drawImage(at, text);
                notePainted(QRectF(at, text.size()));
            }
            x += cw;
        }
    }

    drawOutline(painter, r, p.viewRectColor());
    notePainted(outlineReach(r));
}
