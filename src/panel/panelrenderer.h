#pragma once

#include <QImage>
#include <QMap>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QVector>

#include <QHash>

class Panel;
class PreviewLayer;
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

    // Where the highlight point can change the picture: what a render
    // found pressable. A point that presses the same of these as the one
    // drawn gets the same picture.
    struct Presses
    {
        // Key touch rectangles in panel units, tested with `unitPoint`.
        QVector<QRect> keys;
        QPoint unitPoint;
        // List cells and visible candidate icons in pixels, tested with
        // `pixel`.
        QVector<QRect> areas;
        QPoint pixel;
    };

    // What a render produces.
    struct Result
    {
        QImage image;
        Layout layout;
        Presses presses;
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
    struct ListGeometry;

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
    // Filled while drawing for a layer: where the highlight point presses.
    Presses *mPresses = nullptr;
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
