// The preview renderer on a fuzzed panel file beside the demo skin's
// resources, loaded once; the canvas is capped so one input cannot take
// much memory.
#include "fuzzfile.h"
#include "panel/panel.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QImage>

#ifndef QUILLMARK_DEMO_SKIN
#error "QUILLMARK_DEMO_SKIN must name the demo skin directory"
#endif

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    startDrawingFuzzer(argc, argv);
    // Every preview is drawn 270 pixels wide, whatever the panel's width:
    // the images of a full-width preview cost the sanitizers a fresh
    // mapping and a page fault per 4 KiB each time, more than all the rest
    // of a run. No scale is lost: a panel 270 units wide draws at scale 1,
    // a wider one below it, a narrower one above. Set before the first
    // load, since a change later reloads the whole skin.
    Panel::instance()->setDeviceResolution(270);
    TestFiles::copyTree(QStringLiteral(QUILLMARK_DEMO_SKIN), fuzzDirectory() + QStringLiteral("/skin"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Two names in turn, so that every input is a new panel file to load.
    static bool second = false;
    second = !second;
    const QString path = writeFuzzFile(
        second ? QStringLiteral("skin/port/fuzz_b.ini") : QStringLiteral("skin/port/fuzz_a.ini"), data, size);
    Panel *panel = Panel::instance();
    panel->setPanelFile(path);
    QImage shown = panel->renderPreview();
    // Two clicks somewhere on it, as the editor asks again after each: the
    // keys and cells whose pressed look changes are drawn again, into a
    // picture the scene no longer holds (it holds the one it shows).
    if (size >= 4) {
        panel->setHighlightPointF(QPointF(data[0] / 255.0, data[size - 1] / 255.0));
        shown = panel->renderPreview();
        panel->setHighlightPointF(QPointF(data[1] / 255.0, data[size - 2] / 255.0));
        shown = panel->renderPreview();
    }
    return 0;
}
