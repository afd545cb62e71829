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

private:
    int run(const QStringList &arguments, QString *out = nullptr, QString *err = nullptr);
    QTemporaryDir mDir;
};

int TestRenderCommand::run(const QStringList &arguments, QString *out, QString *err)
{
    QProcess process;
    process.setProgram(QStringLiteral(QUILLMARK_CLI_PATH));
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

QTEST_MAIN(TestRenderCommand)
#include "tst_rendercommand.moc"
