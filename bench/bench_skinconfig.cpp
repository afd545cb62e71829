// Reading and writing a large panel file (about 1 MB, 3,000 key sections),
// side by side with inih parsing the same bytes, so the ratio shows.

#include "skin/skinconfig.h"

#include <benchmark/benchmark.h>
#include <ini.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

namespace {

void dropMessages(QtMsgType, const QMessageLogContext &, const QString &)
{ }

// A panel file as the panel creator writes them, padded with the keys a
// large skin carries: about 340 bytes per key section.
QByteArray syntheticPanel(int sections)
{
    QByteArray text = "[GENERAL]\r\nVIEW_RECT=0,0,1080,2000\r\nBACK_STYLE=1\r\nVERSION=1\r\n\r\n";
    for (int i = 1; i < sections; ++i) {
        const QByteArray n = QByteArray::number(i);
        text += "[KEY" + n + "]\r\n";
        text += "VIEW_RECT=" + QByteArray::number(i % 10 * 108) + "," + QByteArray::number(i / 10 * 60)
            + ",108,60\r\n";
        text += "TOUCH_RECT=" + QByteArray::number(i % 10 * 108) + "," + QByteArray::number(i / 10 * 60)
            + ",108,60\r\n";
        text += "BACK_STYLE=2,3\r\nFORE_STYLE=10,11\r\nKEY_TYPE=1\r\nUP_CODE=" + n + "\r\n";
        text += "DOWN_CODE=0x" + QByteArray::number(i, 16) + "\r\nLABEL=\\u4e2d" + n + "\r\n";
        text += "TIP=TIP" + n + "\r\nHINT_STYLE=20\r\nSLIDE_UP=SLIDE" + n + "\r\nSLIDE_DOWN=\r\n";
        text += "LONG_PRESS=1,2,3,4,5\r\nCOMMENT=a key of the synthetic benchmark panel, padded to the size "
                "of a real one\r\n\r\n";
    }
    return text;
}

struct Fixture
{
    QTemporaryDir dir;
    QString path;
    QByteArray bytes;

    Fixture()
    {
        path = dir.filePath(QStringLiteral("big.ini"));
        bytes = syntheticPanel(3000);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_SkinConfigLoad(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        SkinConfig config(f.path);
        benchmark::DoNotOptimize(config.value(QStringLiteral("KEY2999/VIEW_RECT")));
    }
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}
BENCHMARK(BM_SkinConfigLoad)->Unit(benchmark::kMillisecond);

int countEntry(void *user, const char *, const char *, const char *)
{
    ++*static_cast<int *>(user);
    return 1;
}

// inih reads the same file from disk, as SkinConfig does.
void BM_InihParse(benchmark::State &state)
{
    Fixture &f = fixture();
    const QByteArray path = QFile::encodeName(f.path);
    for (auto _ : state) {
        int entries = 0;
        if (ini_parse(path.constData(), countEntry, &entries) != 0)
            state.SkipWithError("inih could not parse the file");
        benchmark::DoNotOptimize(entries);
    }
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}
BENCHMARK(BM_InihParse)->Unit(benchmark::kMillisecond);

void BM_SkinConfigSave(benchmark::State &state)
{
    Fixture &f = fixture();
    SkinConfig config(f.path);
    int i = 0;
    for (auto _ : state) {
        config.setValue(QStringLiteral("KEY1500/UP_CODE"), QString::number(++i));
        if (!config.save())
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}
BENCHMARK(BM_SkinConfigSave)->Unit(benchmark::kMillisecond);

void BM_SkinConfigSetValue(benchmark::State &state)
{
    Fixture &f = fixture();
    SkinConfig config(f.path);
    int i = 0;
    for (auto _ : state)
        config.setValue(QStringLiteral("KEY2999/UP_CODE"), QString::number(++i));
    // No save: the document is let go unsaved on purpose.
    config.clear();
}
BENCHMARK(BM_SkinConfigSetValue)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(dropMessages);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
