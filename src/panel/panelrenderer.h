#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QMap>
#include <QPair>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QStringList>
#include <QVector>

class Panel;
class PreviewLayer;
class QFont;
class QPainter;
class StylesManager;

// Draws the composite preview of a Panel from its state: the input-code area,
// the option list, the candidate area and the keys. It only reads the panel
// and returns what a render produces (the image and the geometry the panel
// publishes); the panel applies that. Picking the keys under a point is done
// apart from drawing, on the same geometry. Short-lived: one per request.
//
// Every size that comes from the panel files is checked against the image
// bound before anything is painted, so a broken file costs one log line per
// render and paints what fits.
class PanelRenderer
{
public:
    // Where the parts of the composite go, in panel units, and its size.
    struct Layout
    {
        // False with no panel: then nothing is drawn and nothing published.
        bool loaded = false;
        QSize panelSize;
        double scale = 1.0;
        QPoint inputOffset;
        QPoint listOffset;
        QPoint candOffset;
        QPoint panelOffset;
        bool inputDrawn = false;
        bool listDrawn = false;
        bool candShown = false;
        qint64 totalWidth = 0;
        qint64 totalHeight = 0;
        // The composite in pixels; empty when it cannot be drawn.
        QSize compositeSize;
    };

    // The values of one key section that drawing needs, after the status
    // override; the first occurrence of a property counts, as for every
    // look-up of the document.
    struct Key
    {
        QString name;
        int backStyle = 0;
        QList<int> foreStyles;
        QList<int> posTypes;
        QRect viewRect;
        QRect touchRect; // falls back to VIEW_RECT for the hit test
        QRect touchOutline; // TOUCH_RECT alone, for the drawn outline
    };

    // The list cells and visible candidate icons a render drew, in pixels,
    // and the highlight pixel it tested them with; and rectangles holding
    // every pixel the list and the candidate area painted.
    struct Presses
    {
        QVector<QRect> areas;
        QPoint pixel;
        QVector<QRect> painted;
    };

    // What a render produces. Besides the picture, what the next render at
    // another highlight point starts from (PreviewLayer): the picture before
    // the list and the candidate area, each key as drawn (in key order),
    // where its images went and whether it was pressed by `unitPoint`, and
    // the list cells and icons.
    struct Result
    {
        QImage image;
        Layout layout;
        QImage panelStage;
        QVector<Key> keys;
        QVector<QRect> keyBounds;
        QVector<bool> keyPressed;
        QPoint unitPoint;
        Presses presses;
        // The picture before `image`, which the scene lets go once it shows
        // the next one: drawn into instead of a new image when `image` is
        // still held. It differs from `image` only within `spareStale`.
        QImage spare;
        QRegion spareStale;
    };

    // The keys under a point, and whether the point lies on the list area.
    struct Pick
    {
        // False when there is no composite to point into.
        bool done = false;
        QStringList keys;
        bool onList = false;
    };

    explicit PanelRenderer(const Panel &panel);

    Layout layout() const;
    Result renderPreview();
    // The same, drawing into the pictures of an earlier render where they
    // have the size needed and nobody else holds them: a new image of a
    // composite's size costs a page fault per 4 KiB.
    Result renderPreview(QImage canvas, QImage stageCanvas);
    // The same picture, taken from `layer` when it still holds and kept
    // there when drawn.
    Result renderPreview(PreviewLayer &layer);
    // The hit test of a click at `relativePoint` (0..1 of the composite):
    // the keys whose view rectangle holds it, in key order, and the list.
    Pick pick(const QPointF &relativePoint) const;

    // The stages, at the panel's last scale; each draws into the image at its
    // offset in panel units.
    void renderPanel(QImage &image, const QPoint &offset);
    void renderInput(QImage &image, const QPoint &offset);
    void renderList(QImage &image, const QPoint &offset);
    void renderCand(QImage &image, const QPoint &offset);

    // The sample input code and candidates the preview shows.
    static QString sampleInput();
    static QStringList sampleCandidates();

    // The largest number of list cells drawn, whatever LIST_NUM says.
    static constexpr int maxListCells = 4096;

private:
    // Adds what the list or the candidate area painted to the render's presses.
    void notePainted(const QRectF &area);
    struct ListGeometry;
    // A key's images and where they go, in pixels.
    struct KeyPaint
    {
        QImage back;
        QPoint backAt;
        QVector<QPair<QPoint, QImage>> fores;
        QRect bounds;
    };

    // The composite from the last one at the same inputs and another
    // highlight point.
    Result redrawPresses(Result last);
    void paintBackground(QPainter &painter, const QPoint &offset);
    void paintInput(QPainter &painter, const QPoint &offset);
    KeyPaint paintKey(const Key &key, bool pressed);
    static void drawKey(QPainter &painter, const KeyPaint &paint);
    void drawOutlines(QPainter &painter, const Key &key, const QFont &nameFont);
    QRect outlineBounds(const Key &key, int margin) const;

    // styleImage of a style at `size` panel units, or null (logged once per
    // render) when the painted image would be over the image bound.
    QImage paintStyle(int number, const QSize &size, bool pressed, double scale);
    bool allowed(double width, double height, const char *what);
    QPoint highlightPixel(const QSize &imageSize) const;
    ListGeometry listGeometry(int imageWidth, const QPoint &offset, double scale) const;

    const Panel &mPanel;
    StylesManager *mStyles;
    double mScale;
    QMap<int, QPoint> mOffsets;
    bool mBoundLogged = false;
    // Filled while drawing: where the highlight point presses, and the keys.
    Presses *mPresses = nullptr;
    // The image the list or the candidate area is drawn into, for notePainted().
    QRectF mCanvas;
    Result *mKeysDrawn = nullptr;
    // Key styles painted in this render: most keys share a few.
    struct StyleKey
    {
        int number;
        QSize size;
        bool pressed;
        bool operator==(const StyleKey &other) const
        {
            return number == other.number && size == other.size && pressed == other.pressed;
        }
    };
    friend uint qHash(const StyleKey &key, uint seed);
    QHash<StyleKey, QImage> mKeyStyles;
    QImage keyStyle(int number, const QSize &size, bool pressed);
};
