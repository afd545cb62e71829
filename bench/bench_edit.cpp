// What the author waits for after an edit: one move of every key of the demo
// skin (written to the panel file at once) and the preview rendered again at
// device resolution 1080.

#include "panel/panel.h"

#include "testfiles.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// The program logs at info level and above by default; the debug lines of
// every edit would otherwise be timed as terminal output.
void dropDebug(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg)
        fprintf(stderr, "%s\n", qPrintable(message));
}

// Loads a copy of the demo skin at device resolution 1080; false when it
// could not be set up.
bool loadDemoCopy(const QTemporaryDir &dir, benchmark::State &state)
{
    const QString skin = dir.path() + QStringLiteral("/demo");
    if (!dir.isValid() || !TestFiles::copyTree(QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo"), skin)) {
        state.SkipWithError("cannot copy the demo skin");
        return false;
    }
    Panel *panel = Panel::instance();
    panel->autoReloadTimer()->stop();
    panel->setPanelFile(skin + QStringLiteral("/port/py_26.ini"));
    panel->setDeviceResolution(1080);
    if (panel->orderedKeys().isEmpty()) {
        state.SkipWithError("the demo panel has no keys");
        return false;
    }
    benchmark::DoNotOptimize(panel->renderPreview());
    return true;
}

void BM_MoveAllKeysAndRender(benchmark::State &state)
{
    QTemporaryDir dir;
    if (!loadDemoCopy(dir, state))
        return;
    Panel *panel = Panel::instance();
    int step = 1;
    for (auto _ : state) {
        panel->moveKeys(QStringList(), step, 0);
        QImage image = panel->renderPreview();
        benchmark::DoNotOptimize(image);
        step = -step; // back and forth, so that the keys stay on the panel
    }
    state.counters["keys"] = panel->orderedKeys().size();
    panel->clean();
}
BENCHMARK(BM_MoveAllKeysAndRender)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The two halves apart: the edit with its save, and the render.
void BM_MoveAllKeysOnly(benchmark::State &state)
{
    QTemporaryDir dir;
    if (!loadDemoCopy(dir, state))
        return;
    Panel *panel = Panel::instance();
    int step = 1;
    for (auto _ : state) {
        panel->moveKeys(QStringList(), step, 0);
        step = -step;
    }
    panel->clean();
}
BENCHMARK(BM_MoveAllKeysOnly)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(dropDebug);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
