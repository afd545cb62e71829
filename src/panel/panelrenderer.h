#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>

class Panel;
class StylesManager;

// Draws the composite preview of a Panel from its state: the input-code area,
// the option list, the candidate area and the keys, and performs the click
// hit test on the way. Short-lived: one per render request.
//
// Every size that comes from the panel files is checked against the image
// bound before anything is painted, so a broken file costs one log line per
// render and paints what fits.
class PanelRenderer
{
public:
    explicit PanelRenderer(Panel &panel);

    QImage renderPreview();
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
    // styleImage of a style at `size` panel units, or null (logged once per
    // render) when the painted image would be over the image bound.
    QImage paintStyle(int number, const QSize &size, bool pressed, double scale);
    bool allowed(double width, double height, const char *what);
    QPoint highlightPixel(const QImage &image) const;
    void selectListSection();

    Panel &mPanel;
    StylesManager *mStyles;
    bool mBoundLogged = false;
};
