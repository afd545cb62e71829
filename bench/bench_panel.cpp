// The preview as the author sees it: the demo skin's composite at device
// resolution 1080 in status 0 (keyboard) and 4 (candidate status, with the
// input line and the list strip), and opening the demo skin up to its first
// composite.

#include "panel/panel.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
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
