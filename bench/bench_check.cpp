// The skin checker: the demo skin as the window checks it after every edit,
// and generated panels of up to 33,000 keys on the demo skin's resources,
// whose times should grow in line with the number of keys.

#include "panel/skinchecker.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

namespace {

const QString demoSkin = QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo");

void dropMessages(QtMsgType, const QMessageLogContext &, const QString &)
{ }

bool copyFile(const QString &relative, const QString &to)
{
    QDir().mkpath(QFileInfo(to + QLatin1Char('/') + relative).absolutePath());
    return QFile::copy(demoSkin + QLatin1Char('/') + relative, to + QLatin1Char('/') + relative);
}

// The demo skin's resources with a panel of `keys` keys in rows of 110,
// every key with its touch rectangle, background and two labels.
bool writeGeneratedSkin(const QString &directory, int keys)
{
    for (const char *file : { "port/gen.ini", "port/py_cand.cnd", "res/default.css", "res/keys.til",
             "res/keys.png", "res/panel.til", "res/panel.png", "res/icons.til", "res/icons.png",
             "res/DejaVuSans.ttf", "res/sounds/click.wav", "res/sounds/open.wav", "res/sounds/close.wav" }) {
        if (!copyFile(QLatin1String(file), directory))
            return false;
    }
    const int columns = 110;
    const int rows = (keys + columns - 1) / columns;
    QByteArray text = QStringLiteral("[PANEL]\r\nSIZE=%1,%2\r\nBACK_STYLE=1\r\n\r\n")
                          .arg(columns * 10)
                          .arg(rows * 12)
                          .toUtf8();
    for (int i = 0; i < keys; ++i) {
        const int x = (i % columns) * 10;
        const int y = (i / columns) * 12;
        text += QStringLiteral("[KEY%1]\r\nVIEW_RECT=%2,%3,9,11\r\nTOUCH_RECT=%2,%3,10,12\r\nBACK_STYLE=2\r\n"
                               "FORE_STYLE=%4,70\r\nPOS_TYPE=0,1\r\n\r\n")
                    .arg(i + 1)
                    .arg(x)
                    .arg(y)
                    .arg(40 + i % 26)
                    .toUtf8();
    }
    QFile file(directory + QStringLiteral("/port/py_26.ini"));
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

void BM_CheckDemoSkin(benchmark::State &state)
{
    for (auto _ : state) {
        SkinChecker checker;
        checker.checkPanelFile(demoSkin + QStringLiteral("/port/py_26.ini"));
        if (!checker.problems().isEmpty())
            state.SkipWithError("the demo skin does not check clean");
    }
}
BENCHMARK(BM_CheckDemoSkin)->Unit(benchmark::kMillisecond);

void BM_CheckGeneratedPanel(benchmark::State &state)
{
    QTemporaryDir directory;
    if (!directory.isValid() || !writeGeneratedSkin(directory.path(), int(state.range(0)))) {
        state.SkipWithError("the generated skin could not be written");
        return;
    }
    for (auto _ : state) {
        SkinChecker checker;
        checker.checkPanelFile(directory.filePath(QStringLiteral("port/py_26.ini")));
        if (!checker.problems().isEmpty())
            state.SkipWithError("the generated panel does not check clean");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CheckGeneratedPanel)
    ->Arg(3300)
    ->Arg(11000)
    ->Arg(33000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

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
