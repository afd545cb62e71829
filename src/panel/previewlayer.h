#pragma once

#include "panelrenderer.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

class Panel;

// The last composite preview, kept with what it was drawn from, so that a
// request for the same picture costs nothing instead of a render: the
// preview is asked for again after every signal the scene reacts to, most
// of which change nothing that is drawn.
//
// A picture depends on the documents, the styles, the scale, the status and
// the outline colours (the inputs), and on the highlight point only through
// what it presses: keys, list cells and candidate icons. A point that
// presses the same of them as the last one gets the same picture; one that
// presses other keys gets the last picture with those keys drawn again
// (PanelRenderer). Any other change draws the whole picture anew.
class PreviewLayer
{
public:
    struct Inputs
    {
        quint64 panelRevision = 0;
        quint64 genRevision = 0;
        quint64 candRevision = 0;
        quint64 stylesRevision = 0;
        QString panelFile;
        bool loadFailed = false;
        int deviceResolution = 0;
        int status = 0;
        QColor viewRectColor;
        QColor touchRectColor;
        // The outline names' font and the translated samples.
        QFont font;
        QStringList samples;

        bool operator==(const Inputs &other) const;
        bool operator!=(const Inputs &other) const { return !(*this == other); }
    };

    static Inputs inputsOf(const Panel &panel);

    // The last render, when it was drawn from `inputs` and the point at
    // `pixel` (`unitPoint` in panel units) presses what its point pressed.
    bool holds(const Inputs &inputs, const QPoint &pixel, const QPoint &unitPoint) const;
    // Whether the last render was drawn from `inputs`, whatever it pressed.
    bool holdsInputs(const Inputs &inputs) const { return mValid && inputs == mInputs; }
    const PanelRenderer::Result &result() const { return mResult; }
    bool isEmpty() const { return !mValid; }

    void store(const Inputs &inputs, const PanelRenderer::Result &result);
    // The last render, leaving the layer empty: its pictures can then be
    // painted on without a copy.
    PanelRenderer::Result take();
    // Drops the picture and its memory.
    void clear();
    // Forgets what the last picture shows, on a load or reload, but keeps
    // the pictures' memory for the next render to draw into: a composite
    // allocated anew costs a page fault per 4 KiB before the first stroke.
    void invalidate();

private:
    bool mValid = false;
    Inputs mInputs;
    PanelRenderer::Result mResult;
};
