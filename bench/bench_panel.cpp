// The preview as the author sees it: the demo skin's composite at device
// resolution 1080 in status 0 (keyboard) and 4 (candidate status, with the
// input line and the list strip), asked for again and after a click on
// another key, and opening the demo skin (or reading it again from disk) up
// to its first composite. Beside them the floor any preview of that size
// costs: an image of the composite's size filled and the panel background
// blitted into it, and the floor plus the 33 keys blitted from images scaled
// beforehand. Compare the status 0 preview with the floor in the same run.

#include "panel/panel.h"
#include "panel/panelrenderer.h"
#include "skin/skinconfig.h"
#include "skin/valuetext.h"
#include "styles/stylesmanager.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>

namespace {

const QString demoPanel = QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo/port/py_26.ini");

// Every render logs its stages; the timing is of the rendering, not of a
// terminal scrolling.
void dropMessages(QtMsgType, const QMessageLogContext &, const QString &)
{ }

Panel *demo(int status, benchmark::State &state)
{
    Panel *panel = Panel::instance();
    panel->autoReloadTimer()->stop();
    panel->setPanelFile(demoPanel);
    panel->setDeviceResolution(1080);
    panel->setCurrentStatus(status);
    if (panel->loadFailed() || panel->orderedKeys().isEmpty()) {
        state.SkipWithError("the demo skin did not load");
        return nullptr;
    }
    return panel;
}

void BM_RenderPreview(benchmark::State &state)
{
    Panel *panel = demo(int(state.range(0)), state);
    if (!panel)
        return;
    panel->renderPreview(); // fills the label cache, as the first request does
    for (auto _ : state) {
        const QImage image = panel->renderPreview();
        benchmark::DoNotOptimize(image.constBits());
    }
    const QImage image = panel->renderPreview();
    state.counters["width"] = image.width();
    state.counters["height"] = image.height();
}
BENCHMARK(BM_RenderPreview)
    ->Arg(0)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same picture drawn from scratch, with the style and label caches
// filled: what any change of the documents or the styles costs.
void BM_RenderPreviewFromScratch(benchmark::State &state)
{
    Panel *panel = demo(int(state.range(0)), state);
    if (!panel)
        return;
    panel->renderPreview();
    for (auto _ : state) {
        const QImage image = PanelRenderer(*panel).renderPreview().image;
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RenderPreviewFromScratch)
    ->Arg(0)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The picture drawn again after each of two changes in turn (`change` is
// told which, outside the timing), into the pictures of the last render.
template <typename Change> void renderAfterEachChange(benchmark::State &state, Panel *panel, Change change)
{
    int next = 0;
    panel->renderPreview();
    for (auto _ : state) {
        state.PauseTiming();
        next = 1 - next;
        change(next);
        state.ResumeTiming();
        const QImage image = panel->renderPreview();
        benchmark::DoNotOptimize(image.constBits());
    }
    change(0);
}

// After each change of the status, as after any change of what the picture
// is drawn from (the two statuses may differ in size).
void BM_RenderPreviewAfterChange(benchmark::State &state)
{
    Panel *panel = demo(int(state.range(0)), state);
    if (!panel)
        return;
    const int statuses[] = { int(state.range(0)), int(state.range(0)) == 0 ? 1 : 5 };
    renderAfterEachChange(state, panel, [&](int which) { panel->setCurrentStatus(statuses[which]); });
}
BENCHMARK(BM_RenderPreviewAfterChange)
    ->Arg(0)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// After each change of the outline colour, as after an edit of a key: the
// same size, drawn into the last pictures, which the scene has let go.
void BM_RenderPreviewAfterEdit(benchmark::State &state)
{
    Panel *panel = demo(int(state.range(0)), state);
    if (!panel)
        return;
    const QColor colours[] = { panel->viewRectColor(), QColor(Qt::magenta) };
    renderAfterEachChange(state, panel, [&](int which) { panel->setViewRectColor(colours[which]); });
}
BENCHMARK(BM_RenderPreviewAfterEdit)
    ->Arg(0)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The preview after a click moves the pressed look from one key to another,
// as the editor asks for it after every click.
void BM_RenderPreviewAfterClick(benchmark::State &state)
{
    Panel *panel = demo(0, state);
    if (!panel)
        return;
    const QPointF points[] = { { 0.05, 0.3 }, { 0.5, 0.5 } };
    int next = 0;
    // Held as the scene holds the picture it shows until the next one.
    QImage shown = panel->renderPreview();
    for (auto _ : state) {
        state.PauseTiming();
        panel->setHighlightPointF(points[next]);
        next = 1 - next;
        state.ResumeTiming();
        shown = panel->renderPreview();
        benchmark::DoNotOptimize(shown.constBits());
    }
    panel->setHighlightPointF(QPointF(-1, -1));
}
BENCHMARK(BM_RenderPreviewAfterClick)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The panel background and, with `withKeys`, every key background, painted
// at their pixel sizes beforehand; blitted into a filled composite.
void floorOfDemo(benchmark::State &state, bool withKeys)
{
    Panel *panel = demo(0, state);
    if (!panel)
        return;
    const QImage preview = panel->renderPreview();
    const double s = panel->scale();
    const QPoint origin = panel->panelOrigin();
    StylesManager *styles = StylesManager::instance();
    const QImage background = styles->styleImage(
        ValueText::parseInt(panel->value(QStringLiteral("PANEL/BACK_STYLE"))), panel->panelSize(), false, s);
    QVector<QPair<QPoint, QImage>> keys;
    if (withKeys) {
        const QStringList names = panel->orderedKeys();
        for (const QString &key : names) {
            const QRect view
                = ValueText::parseRect(panel->panelConfig()->value(key + QStringLiteral("/VIEW_RECT")))
                      .translated(origin);
            const int back
                = ValueText::parseInt(panel->panelConfig()->value(key + QStringLiteral("/BACK_STYLE")));
            keys.append({ QPoint(qRound(view.x() * s), qRound(view.y() * s)),
                styles->styleImage(back, view.size(), false, s) });
        }
    }
    for (auto _ : state) {
        QImage image(preview.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.drawImage(int(origin.x() * s), int(origin.y() * s), background);
        for (const auto &key : qAsConst(keys))
            painter.drawImage(key.first, key.second);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["keys"] = keys.size();
}

void BM_FillAndBlitFloor(benchmark::State &state)
{
    floorOfDemo(state, false);
}
BENCHMARK(BM_FillAndBlitFloor)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_FloorPlusKeys(benchmark::State &state)
{
    floorOfDemo(state, true);
}
BENCHMARK(BM_FloorPlusKeys)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_LoadAndRender(benchmark::State &state)
{
    Panel *panel = demo(0, state);
    if (!panel)
        return;
    for (auto _ : state) {
        state.PauseTiming();
        panel->clean();
        state.ResumeTiming();
        panel->setPanelFile(demoPanel);
        const QImage image = panel->renderPreview();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_LoadAndRender)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The panel read again from disk, as the Reload command or an outside
// change of the skin's resources does, up to its next composite.
void BM_ReloadAndRender(benchmark::State &state)
{
    Panel *panel = demo(0, state);
    if (!panel)
        return;
    for (auto _ : state) {
        panel->reload();
        const QImage image = panel->renderPreview();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_ReloadAndRender)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropMessages);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
