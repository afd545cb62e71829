// quillmark-cli render, run as a separate process.

#include "panelfixture.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace PanelFixture;

class TestRenderCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exitCodes_data();
    void exitCodes();
    void demoStatuses();
    void highlight();
    void failedWriteKeepsFile();
    void outlines();
    void editorSettingsNotRead();

private:
    int run(const QStringList &arguments, QString *out = nullptr, QString *err = nullptr,
        const QString &program = QStringLiteral(QUILLMARK_CLI_PATH));
    QTemporaryDir mDir;
};

int TestRenderCommand::run(const QStringList &arguments, QString *out, QString *err, const QString &program)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(QStringList { QStringLiteral("render") } + arguments);
    process.setWorkingDirectory(mDir.path());
    process.start();
    if (!process.waitForFinished(120000))
        return -1;
    if (out)
        *out = QString::fromUtf8(process.readAllStandardOutput());
    if (err)
        *err = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void TestRenderCommand::initTestCase()
{
    QVERIFY(mDir.isValid());
    QVERIFY(QFileInfo::exists(QStringLiteral(QUILLMARK_CLI_PATH)));
}

void TestRenderCommand::exitCodes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("reason");

    const QString demo = demoPanelFile();
    QTest::newRow("success") << QStringList { demo, "-o", "ok.png" } << 0 << "";
    QTest::newRow("no arguments") << QStringList() << 2 << "no panel file given";
    QTest::newRow("no output") << QStringList { demo } << 2 << "no output file given";
    QTest::newRow("option without value") << QStringList { demo, "-o" } << 2 << "-o needs a value";
    QTest::newRow("unknown option") << QStringList { demo, "-o", "x.png", "--zoom", "2" } << 2
                                    << "unknown option";
    QTest::newRow("status not a number")
        << QStringList { demo, "-o", "x.png", "--status", "four" } << 2 << "--status";
    QTest::newRow("negative resolution")
        << QStringList { demo, "-o", "x.png", "--resolution", "-1" } << 2 << "--resolution";
    QTest::newRow("highlight outside 0..1")
        << QStringList { demo, "-o", "x.png", "--highlight", "2,0.5" } << 2 << "--highlight";
    QTest::newRow("highlight malformed")
        << QStringList { demo, "-o", "x.png", "--highlight", "0.5" } << 2 << "--highlight";
    QTest::newRow("two panel files") << QStringList { demo, demo, "-o", "x.png" } << 2 << "more than one";
    QTest::newRow("missing panel file")
        << QStringList { "nowhere/py.ini", "-o", "x.png" } << 1 << "does not exist";
    QTest::newRow("directory as panel file") << QStringList { ".", "-o", "x.png" } << 1 << "does not exist";
    QTest::newRow("unwritable output")
        << QStringList { demo, "-o", "no/such/dir/x.png" } << 1 << "could not write";
    QTest::newRow("no image format") << QStringList { demo, "-o", "x.nothing" } << 1 << "could not write";
    QTest::newRow("colour that is none")
        << QStringList { demo, "-o", "x.png", "--view-rect-color", "reddish" } << 2 << "--view-rect-color";
    QTest::newRow("colour missing") << QStringList { demo, "-o", "x.png", "--touch-rect-color" } << 2
                                    << "--touch-rect-color needs a value";
}

void TestRenderCommand::exitCodes()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, reason);

    QString err;
    QCOMPARE(run(arguments, nullptr, &err), code);
    if (!reason.isEmpty())
        QVERIFY2(err.contains(reason), qPrintable(err));
    const int index = arguments.indexOf(QStringLiteral("-o"));
    if (code != 0 && index >= 0 && index + 1 < arguments.size())
        QVERIFY(!QFileInfo::exists(mDir.filePath(arguments.at(index + 1))));
}

void TestRenderCommand::demoStatuses()
{
    QString out;
    QCOMPARE(run({ demoPanelFile(), "-o", "s0.png", "--device-resolution", "1080" }, &out), 0);
    QVERIFY(out.contains(QStringLiteral("s0.png")));
    QCOMPARE(run({ demoPanelFile(), "-o", "s4.png", "--device-resolution", "1080", "--status", "4" }), 0);
    QCOMPARE(run({ demoPanelFile(), "-o", "half.png", "--device-resolution", "540" }), 0);
    const QImage s0(mDir.filePath(QStringLiteral("s0.png")));
    const QImage s4(mDir.filePath(QStringLiteral("s4.png")));
    const QImage half(mDir.filePath(QStringLiteral("half.png")));
    QCOMPARE(s0.size(), QSize(1080, 624 + 120));
    QCOMPARE(s4.width(), 1080);
    // Status 4 adds the input line and the list strip (78 units).
    QVERIFY(s4.height() > s0.height() + 78);
    QCOMPARE(half.size(), QSize(540, 372));
    QCOMPARE(qAlpha(s0.pixel(540, 120 + 300)), 255);
}

void TestRenderCommand::highlight()
{
    QString out;
    // The space bar of the demo skin lies at the bottom middle.
    QCOMPARE(run({ demoPanelFile(), "-o", "h.png", "--highlight", "0.5,0.95" }, &out), 0);
    QVERIFY2(out.contains(QStringLiteral("highlighted keys: KEY")), qPrintable(out));
    QVERIFY(QFileInfo::exists(mDir.filePath(QStringLiteral("h.png"))));
}

void TestRenderCommand::failedWriteKeepsFile()
{
    const QString kept = mDir.filePath(QStringLiteral("keep.nothing"));
    QVERIFY(writeText(kept, QStringLiteral("keep")));
    QCOMPARE(run({ demoPanelFile(), "-o", kept }), 1);
    QFile file(kept);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("keep"));
}

namespace {

// How many pixels of `image` are `colour` where `plain` is not.
int added(const QImage &image, const QImage &plain, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour && plain.pixel(x, y) != colour ? 1 : 0;
    }
    return count;
}

} // namespace

void TestRenderCommand::outlines()
{
    const QString demo = demoPanelFile();
    QCOMPARE(run({ demo, "-o", "plain.png", "--no-outlines" }), 0);
    QCOMPARE(run({ demo, "-o", "default.png" }), 0);
    QCOMPARE(
        run({ demo, "-o", "named.png", "--view-rect-color", "#ffd62728", "--touch-rect-color", "#1f77b4" }),
        0);
    QCOMPARE(
        run({ demo, "-o", "own.png", "--view-rect-color", "#ff00ff00", "--touch-rect-color", "blue" }), 0);
    const QImage plain(mDir.filePath(QStringLiteral("plain.png")));
    const QImage standard(mDir.filePath(QStringLiteral("default.png")));
    const QImage named(mDir.filePath(QStringLiteral("named.png")));
    const QImage own(mDir.filePath(QStringLiteral("own.png")));
    QVERIFY(!plain.isNull());
    QCOMPARE(standard.size(), plain.size());
    QCOMPARE(own.size(), plain.size());
    // Without options: the editor's default colours.
    QCOMPARE(standard, named);
    QVERIFY(added(standard, plain, qRgb(0xd6, 0x27, 0x28)) > 100);
    QVERIFY(added(standard, plain, qRgb(0x1f, 0x77, 0xb4)) > 100);
    QCOMPARE(added(own, plain, qRgb(0xd6, 0x27, 0x28)), 0);
    QVERIFY(added(own, plain, qRgb(0, 0xff, 0)) > 100);
    QVERIFY(added(own, plain, qRgb(0, 0, 0xff)) > 100);
}

void TestRenderCommand::editorSettingsNotRead()
{
    // A portable copy of the program with an editor's settings file beside
    // it that asks for green outlines.
    const QString bin = mDir.filePath(QStringLiteral("portable"));
    QVERIFY(QDir().mkpath(bin));
    const QString program = bin + QStringLiteral("/quillmark-cli");
    QVERIFY(QFile::copy(QStringLiteral(QUILLMARK_CLI_PATH), program));
    // with the module that runs render, where the program looks for it
    const QString module = QDir::cleanPath(bin + QStringLiteral("/" QUILLMARK_CLI_TOOLS_FROM_BIN));
    QVERIFY(QDir().mkpath(QFileInfo(module).absolutePath()));
    QVERIFY(QFile::copy(
        QDir::cleanPath(QStringLiteral(QUILLMARK_BINARY_DIR "/bin/" QUILLMARK_CLI_TOOLS_FROM_BIN)), module));
    QVERIFY(writeText(bin + QStringLiteral("/quillmark.portable"), QStringLiteral("portable\n")));
    QVERIFY(writeText(bin + QStringLiteral("/quillmark_settings.ini"),
        QStringLiteral("[General]\nViewRectColor=#ff00ff00\nTouchRectColor=#ff00ff00\n")));

    QString err;
    QCOMPARE(run({ demoPanelFile(), "-o", "beside.png" }, nullptr, &err, program), 0);
    QCOMPARE(run({ demoPanelFile(), "-o", "alone.png" }), 0);
    QCOMPARE(QImage(mDir.filePath(QStringLiteral("beside.png"))),
        QImage(mDir.filePath(QStringLiteral("alone.png"))));
    // nor written
    QCOMPARE(QDir(bin).entryList(QDir::Files).size(), 3);
}

QTEST_MAIN(TestRenderCommand)
#include "tst_rendercommand.moc"
