// How render and a one-key edit grow with the number of keys: the demo
// keyboard repeated in a grid to 33, 330, 3,300 and 33,000 keys, previewed
// at device resolution 1080. The "per_key" counter is the time per key; it
// should stay flat as the panel grows.
//
//   bench_scaling                     run the benchmarks
//   bench_scaling --write-panels DIR  write a copy of the demo skin with the
//                                     panels port/keys<N>.ini into DIR (for
//                                     timing `quillmark-cli render` on them)

#include "panel/panel.h"
#include "panel/panelrenderer.h"
#include "skin/skinconfig.h"

#include "testfiles.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <cmath>

namespace {

const QString demoSkin = QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo");
const int demoWidth = 1080;
const int demoHeight = 624;

// The demo panel with its 33 keys repeated `copies` times in a square-ish
// grid, keys numbered on; the other sections as the demo has them.
bool writePanel(const QString &path, int copies)
{
    const SkinConfig demo(demoSkin + QStringLiteral("/port/py_26.ini"));
    const int columns = int(std::ceil(std::sqrt(double(copies))));
    const int rows = (copies + columns - 1) / columns;
    QString text;
    QTextStream out(&text);
    QStringList keys;
    const QStringList sections = demo.childGroups();
    for (const QString &section : sections) {
        if (section.startsWith(QLatin1String("KEY"))) {
            keys.append(section);
            continue;
        }
        out << '[' << section << "]\r\n";
        for (const SkinConfig::Property &p : demo.sectionProperties(section)) {
            if (section == QLatin1String("PANEL") && p.first == QLatin1String("SIZE"))
                out << "SIZE=" << demoWidth * columns << ',' << demoHeight * rows << "\r\n";
            else
                out << p.first << '=' << p.second << "\r\n";
        }
        out << "\r\n";
    }
    int number = 0;
    for (int copy = 0; copy < copies; ++copy) {
        const int dx = (copy % columns) * demoWidth;
        const int dy = (copy / columns) * demoHeight;
        for (const QString &key : qAsConst(keys)) {
            out << "[KEY" << ++number << "]\r\n";
            for (const SkinConfig::Property &p : demo.sectionProperties(key)) {
                if (p.first == QLatin1String("VIEW_RECT") || p.first == QLatin1String("TOUCH_RECT")) {
                    const QStringList v = p.second.split(QLatin1Char(','));
                    out << p.first << '=' << v.value(0).toInt() + dx << ',' << v.value(1).toInt() + dy << ','
                        << v.value(2) << ',' << v.value(3) << "\r\n";
                } else {
                    out << p.first << '=' << p.second << "\r\n";
                }
            }
            out << "\r\n";
        }
    }
    out.flush();
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

void dropMessages(QtMsgType, const QMessageLogContext &, const QString &)
{ }

// A copy of the demo skin with a panel of `keys` keys, loaded at device
// resolution 1080.
Panel *loadScaled(const QTemporaryDir &dir, int keys, benchmark::State &state)
{
    const QString skin = dir.path() + QStringLiteral("/demo");
    const QString panelFile = skin + QStringLiteral("/port/keys%1.ini").arg(keys);
    if (!dir.isValid() || !TestFiles::copyTree(demoSkin, skin) || !writePanel(panelFile, keys / 33)) {
        state.SkipWithError("cannot write the panel");
        return nullptr;
    }
    Panel *panel = Panel::instance();
    panel->autoReloadTimer()->stop();
    panel->setDeviceResolution(1080);
    panel->setPanelFile(panelFile);
    if (panel->orderedKeys().size() != keys) {
        state.SkipWithError("the panel did not load");
        return nullptr;
    }
    benchmark::DoNotOptimize(panel->renderPreview()); // fills the caches
    return panel;
}

void perKey(benchmark::State &state, int keys)
{
    state.counters["keys"] = keys;
    state.counters["per_key"] = benchmark::Counter(
        keys, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Render(benchmark::State &state)
{
    const int keys = int(state.range(0));
    QTemporaryDir dir;
    Panel *panel = loadScaled(dir, keys, state);
    if (!panel)
        return;
    // Drawn from scratch each time: the panel would answer a repeated request
    // with the picture it kept.
    for (auto _ : state) {
        const QImage image = PanelRenderer(*panel).renderPreview().image;
        benchmark::DoNotOptimize(image.constBits());
    }
    perKey(state, keys);
    panel->clean();
}
BENCHMARK(BM_Render)->Arg(33)->Arg(330)->Arg(3300)->Arg(33000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One key moved back and forth: the edit, its save and its undo record.
void BM_EditOneKey(benchmark::State &state)
{
    const int keys = int(state.range(0));
    QTemporaryDir dir;
    Panel *panel = loadScaled(dir, keys, state);
    if (!panel)
        return;
    const QStringList key { QStringLiteral("KEY%1").arg(keys / 2) };
    int step = 1;
    for (auto _ : state) {
        panel->moveKeys(key, step, 0);
        step = -step;
    }
    perKey(state, keys);
    panel->clean();
}
BENCHMARK(BM_EditOneKey)
    ->Arg(33)
    ->Arg(330)
    ->Arg(3300)
    ->Arg(33000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int writePanels(const QString &directory)
{
    const QString skin = directory + QStringLiteral("/demo");
    if (!TestFiles::copyTree(demoSkin, skin)) {
        fprintf(stderr, "cannot copy the demo skin to %s\n", qPrintable(skin));
        return 1;
    }
    for (int keys : { 33, 330, 3300, 33000 }) {
        const QString path = skin + QStringLiteral("/port/keys%1.ini").arg(keys);
        if (!writePanel(path, keys / 33)) {
            fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        printf("%s\n", qPrintable(path));
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropMessages);
    QGuiApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--write-panels") == 0)
        return writePanels(QString::fromLocal8Bit(argv[2]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
