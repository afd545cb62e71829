#include "testfiles.h"
#include "testpaths.h"

#include "skin/skinconfig.h"
#include "tools/panelscaler.h"
#include "tooltestfiles.h"
#include "writesteps.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace ToolTestFiles;

namespace {

const QString fixtureDir = QStringLiteral(QUILLMARK_TEST_DATA_DIR "/tools1-panelscaler");

QStringList fileNames(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestPanelScaler : public QObject
{
    Q_OBJECT

private slots:
    void singleValue_data();
    void singleValue();
    void directoryIntoNewTarget();
    void inPlace();
    void filesReplacedBackToBack();
    void existingTargetFileIsKeptAndEdited();
    void malformedSourceFile();
    void refusedCalls_data();
    void refusedCalls();
    void demoSkinPortDirectory();
    void fromQml();
    void commandLine_data();
    void commandLine();
};

void TestPanelScaler::singleValue_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QVector<int>>("resolutions"); // h source, h target, v source, v target
    QTest::addColumn<QString>("expected");

    const QVector<int> same { 1080, 720, 1080, 720 };
    const QVector<int> separate { 1080, 1080, 1920, 960 };
    QTest::newRow("view rect") << QStringLiteral("VIEW_RECT=100,50,200,120") << same
                               << QStringLiteral("66,33,133,80");
    QTest::newRow("touch rect") << QStringLiteral("TOUCH_RECT=100,50,200,120") << same
                                << QStringLiteral("66,33,133,80");
    QTest::newRow("padding") << QStringLiteral("PADDING=10,20,30,40") << same << QStringLiteral("6,13,20,26");
    QTest::newRow("cell width") << QStringLiteral("CELL_W=85") << same << QStringLiteral("56");
    QTest::newRow("more width") << QStringLiteral("MORE_W=85") << same << QStringLiteral("56");
    QTest::newRow("cell size") << QStringLiteral("CELL_SIZE=90,60") << same << QStringLiteral("60,40");
    // 100 × 828 / 720 is exactly 115, which a double factor misses.
    QTest::newRow("exact product") << QStringLiteral("SIZE=100,100") << QVector<int> { 720, 828, 720, 828 }
                                   << QStringLiteral("115,115");
    QTest::newRow("separate factors: size")
        << QStringLiteral("SIZE=1080,680") << separate << QStringLiteral("1080,340");
    QTest::newRow("separate factors: pos")
        << QStringLiteral("POS=10,11") << separate << QStringLiteral("10,5");
    QTest::newRow("separate factors: cell width")
        << QStringLiteral("CELL_W=85") << separate << QStringLiteral("85");
    QTest::newRow("separate factors: padding")
        << QStringLiteral("PADDING=10,20,30,40") << separate << QStringLiteral("10,10,30,20");
    QTest::newRow("zero-width view rect unchanged")
        << QStringLiteral("VIEW_RECT=0,0,0,50") << same << QStringLiteral("0,0,0,50");
    QTest::newRow("three-field touch rect unchanged")
        << QStringLiteral("TOUCH_RECT=1,2,3") << same << QStringLiteral("1,2,3");
    QTest::newRow("negative size unchanged")
        << QStringLiteral("SIZE=-1,100") << same << QStringLiteral("-1,100");
    QTest::newRow("one-field size unchanged") << QStringLiteral("SIZE=300") << same << QStringLiteral("300");
    QTest::newRow("zero size scaled") << QStringLiteral("SIZE=0,0") << same << QStringLiteral("0,0");
    QTest::newRow("short padding unchanged")
        << QStringLiteral("PADDING=1,2,3") << same << QStringLiteral("1,2,3");
    QTest::newRow("long padding becomes four values")
        << QStringLiteral("PADDING=10,10,10,10,99") << same << QStringLiteral("6,6,6,6");
    QTest::newRow("malformed pos gives 0,0") << QStringLiteral("POS=7") << same << QStringLiteral("0,0");
    QTest::newRow("malformed cell width gives 0")
        << QStringLiteral("CELL_W=wide") << same << QStringLiteral("0");
    QTest::newRow("negatives truncate toward zero")
        << QStringLiteral("VIEW_RECT=-10,-20,31,31") << same << QStringLiteral("-6,-13,20,20");
    QTest::newRow("font size is not scaled")
        << QStringLiteral("FONT_SIZE=48") << same << QStringLiteral("48");
    QTest::newRow("lower-case key is not scaled")
        << QStringLiteral("size=1080,680") << same << QStringLiteral("1080,680");
    QTest::newRow("huge ratio clamps instead of overflowing")
        << QStringLiteral("CELL_W=2000000000") << QVector<int> { 1, 100000, 1, 100000 }
        << QStringLiteral("2147483647");
}

void TestPanelScaler::singleValue()
{
    QFETCH(QString, line);
    QFETCH(QVector<int>, resolutions);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("src"));
    const QString target = dir.filePath(QStringLiteral("dst"));
    QVERIFY(QDir().mkpath(source));
    QVERIFY(writeFile(source + QStringLiteral("/p.ini"), "[S]\r\n" + line.toUtf8() + "\r\n"));

    PanelScaler scaler;
    QCOMPARE(scaler.scale(
                 source, target, resolutions.at(0), resolutions.at(1), resolutions.at(2), resolutions.at(3)),
        1);
    const QString key = line.section(QLatin1Char('='), 0, 0);
    QCOMPARE(readAll(target + QStringLiteral("/p.ini")),
        QByteArray("[S]\r\n") + key.toUtf8() + '=' + expected.toUtf8() + "\r\n\r\n");
}

void TestPanelScaler::directoryIntoNewTarget()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("source"));
    QVERIFY(TestFiles::copyTree(fixtureDir + QStringLiteral("/source"), source));
    const QString target = dir.filePath(QStringLiteral("new/nested/target"));

    PanelScaler scaler;
    // The four-argument form uses the pair in both directions.
    QCOMPARE(scaler.scale(source, target, 1080, 720), 2);

    // Only .ini and .cnd (exact case) at the top level are copied.
    QCOMPARE(fileNames(target), (QStringList { QStringLiteral("cand.cnd"), QStringLiteral("py_26.ini") }));
    for (const QString &name : fileNames(target)) {
        QCOMPARE(readAll(target + QLatin1Char('/') + name),
            readAll(fixtureDir + QStringLiteral("/expected-720/") + name));
    }
    // The source is untouched.
    QCOMPARE(readAll(source + QStringLiteral("/py_26.ini")),
        readAll(fixtureDir + QStringLiteral("/source/py_26.ini")));
}

void TestPanelScaler::inPlace()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(TestFiles::copyTree(fixtureDir + QStringLiteral("/source"), dir.path()));

    PanelScaler scaler;
    QCOMPARE(scaler.scale(dir.path(), dir.path(), 1080, 720, 1080, 720), 2);
    QCOMPARE(readAll(dir.filePath(QStringLiteral("py_26.ini"))),
        readAll(fixtureDir + QStringLiteral("/expected-720/py_26.ini")));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("cand.cnd"))),
        readAll(fixtureDir + QStringLiteral("/expected-720/cand.cnd")));
    // Files of other kinds stay as they were.
    QCOMPARE(readAll(dir.filePath(QStringLiteral("UPPER.INI"))),
        readAll(fixtureDir + QStringLiteral("/source/UPPER.INI")));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("sub/inner.ini"))),
        readAll(fixtureDir + QStringLiteral("/source/sub/inner.ini")));
}

// Scaling a directory in place replaces its panel and candidate files one
// right after the other, once all of them are complete.
void TestPanelScaler::filesReplacedBackToBack()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(TestFiles::copyTree(fixtureDir + QStringLiteral("/source"), dir.path()));
    WriteSteps steps;
    PanelScaler scaler;
    QCOMPARE(scaler.scale(dir.path(), dir.path(), 1080, 720, 1080, 720), 2);
    QCOMPARE(steps.renamed(), (QStringList { QStringLiteral("cand.cnd"), QStringLiteral("py_26.ini") }));
    QVERIFY2(steps.problem().isEmpty(), qPrintable(steps.problem()));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("py_26.ini"))),
        readAll(fixtureDir + QStringLiteral("/expected-720/py_26.ini")));
}

void TestPanelScaler::existingTargetFileIsKeptAndEdited()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("source"));
    const QString target = dir.filePath(QStringLiteral("target"));
    QVERIFY(QDir().mkpath(source));
    QVERIFY(QDir().mkpath(target));
    QVERIFY(writeFile(source + QStringLiteral("/p.ini"),
        "[PANEL]\r\nSIZE=1080,680\r\n\r\n[KEY1]\r\nVIEW_RECT=100,50,200,120\r\nSTYLE=3\r\n\r\n"));
    QVERIFY(writeFile(target + QStringLiteral("/p.ini"),
        "[KEY1]\r\nSTYLE=9\r\nVIEW_RECT=1,1,1,1\r\nPOS=3,3\r\n\r\n"
        "[OTHER]\r\nSIZE=10,10\r\n\r\n"));

    PanelScaler scaler;
    QCOMPARE(scaler.scale(source, target, 1080, 720), 1);
    // The target's own keys and sections survive; the scaled values replace
    // its geometry; a section only the source has is appended.
    QCOMPARE(readAll(target + QStringLiteral("/p.ini")),
        QByteArray("[KEY1]\r\nSTYLE=9\r\nVIEW_RECT=66,33,133,80\r\nPOS=3,3\r\n\r\n"
                   "[OTHER]\r\nSIZE=10,10\r\n\r\n"
                   "[PANEL]\r\nSIZE=720,453\r\n\r\n"));
}

void TestPanelScaler::malformedSourceFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("source"));
    QVERIFY(QDir().mkpath(source));
    const QByteArray garbage
        = QByteArrayLiteral("\x00\xff junk line\r\n[KEY1\r\nVIEW_RECT=3,3,3,3\r\n[]\r\n=orphan\r\nPOS=,\r\n");
    QVERIFY(writeFile(source + QStringLiteral("/bad.ini"), garbage));

    PanelScaler scaler;
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("junk line\"  invalid property!")));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("KEY1\"  invalid section name!")));
    QCOMPARE(scaler.scale(source, dir.filePath(QStringLiteral("target")), 3, 2), 1);
    // The source is only read; the copy keeps what could be read, scaled.
    QCOMPARE(readAll(source + QStringLiteral("/bad.ini")), garbage);
    SkinConfig copy(dir.filePath(QStringLiteral("target/bad.ini")));
    QCOMPARE(copy.value(QStringLiteral("KEY1/VIEW_RECT")), QStringLiteral("2,2,2,2"));
    QCOMPARE(copy.value(QStringLiteral("KEY1/POS")), QStringLiteral("0,0"));
}

void TestPanelScaler::refusedCalls_data()
{
    QTest::addColumn<bool>("sourceExists");
    QTest::addColumn<int>("hSource");
    QTest::addColumn<int>("vSource");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing source directory")
        << false << 1080 << 1080 << QStringLiteral("directory: .* not exists!");
    QTest::newRow("horizontal source resolution 0")
        << true << 0 << 1080 << QStringLiteral("source resolution .* is invalid!");
    QTest::newRow("vertical source resolution 0")
        << true << 1080 << 0 << QStringLiteral("source resolution .* is invalid!");
    QTest::newRow("negative source resolution")
        << true << -1080 << -1080 << QStringLiteral("source resolution .* is invalid!");
}

void TestPanelScaler::refusedCalls()
{
    QFETCH(bool, sourceExists);
    QFETCH(int, hSource);
    QFETCH(int, vSource);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("source"));
    const QString target = dir.filePath(QStringLiteral("target"));
    if (sourceExists)
        QVERIFY(TestFiles::copyTree(fixtureDir + QStringLiteral("/source"), source));

    PanelScaler scaler;
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(message));
    QCOMPARE(scaler.scale(source, target, hSource, 720, vSource, 720), -1);
    QVERIFY(!QFileInfo::exists(target));
    if (sourceExists)
        QCOMPARE(readAll(source + QStringLiteral("/py_26.ini")),
            readAll(fixtureDir + QStringLiteral("/source/py_26.ini")));
}

void TestPanelScaler::demoSkinPortDirectory()
{
    const QString port = QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo/port");
    QVERIFY(QFileInfo(port).isDir());
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    PanelScaler scaler;
    const QStringList sourceFiles
        = QDir(port).entryList({ QStringLiteral("*.ini"), QStringLiteral("*.cnd") }, QDir::Files);
    QVERIFY(sourceFiles.size() >= 2);
    QCOMPARE(scaler.scale(port, dir.path(), 1080, 720), sourceFiles.size());
    QCOMPARE(fileNames(dir.path()), QDir(port).entryList(sourceFiles, QDir::Files, QDir::Name));

    // Every key's view rectangle is two thirds of the original, every other
    // value is kept.
    SkinConfig original(port + QStringLiteral("/py_26.ini"));
    SkinConfig scaled(dir.filePath(QStringLiteral("py_26.ini")));
    QCOMPARE(scaled.childGroups(), original.childGroups());
    const QStringList geometry = words("SIZE VIEW_RECT TOUCH_RECT POS CELL_SIZE CELL_W MORE_W PADDING");
    int keys = 0;
    for (const QString &section : original.childGroups()) {
        for (const auto &pair : original.sectionProperties(section)) {
            const QStringList to
                = scaled.value(section + QLatin1Char('/') + pair.first).split(QLatin1Char(','));
            const QStringList from = pair.second.split(QLatin1Char(','));
            if (!geometry.contains(pair.first)) {
                QCOMPARE(to, from);
            } else if (pair.first == QLatin1String("VIEW_RECT")) {
                QCOMPARE(to.size(), 4);
                for (int i = 0; i < 4; ++i)
                    QCOMPARE(to.at(i).toInt(), from.at(i).toInt() * 2 / 3);
                ++keys;
            }
        }
    }
    QVERIFY(keys > 20);
    QCOMPARE(scaled.value(QStringLiteral("PANEL/SIZE")), QStringLiteral("720,416"));
}

void TestPanelScaler::fromQml()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("source"));
    QVERIFY(QDir().mkpath(source));
    QVERIFY(writeFile(source + QStringLiteral("/p.ini"), "[S]\r\nPOS=300,300\r\n"));
    PanelScaler scaler;
    QString error;
    // The dialog's two forms: locked ratio (four arguments) and separate pairs.
    QVERIFY2(
        runQml(QStringLiteral("panelScaler"), &scaler,
            QStringLiteral("panelScaler.scale('%1', '%2', 1080, 720);"
                           "panelScaler.scale('%1', '%3', 1080, 720, 1920, 960);")
                .arg(source, dir.filePath(QStringLiteral("locked")), dir.filePath(QStringLiteral("free"))),
            &error),
        qPrintable(error));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("locked/p.ini"))), QByteArray("[S]\r\nPOS=200,200\r\n\r\n"));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("free/p.ini"))), QByteArray("[S]\r\nPOS=200,150\r\n\r\n"));
}

void TestPanelScaler::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("one pair") << words("scale SRC DST --from 1080 --to 720") << 0;
    QTest::newRow("separate vertical pair")
        << words("scale SRC DST --from 1080 --to 720 --vfrom 1080 --vto 720") << 0;
    QTest::newRow("missing source directory") << words("scale MISSING DST --from 1080 --to 720") << 1;
    QTest::newRow("source without panel files") << words("scale EMPTY DST --from 1080 --to 720") << 1;
    QTest::newRow("source resolution 0") << words("scale SRC DST --from 0 --to 720") << 2;
    QTest::newRow("vertical source without target")
        << words("scale SRC DST --from 1080 --to 720 --vfrom 1920") << 2;
    QTest::newRow("missing --to") << words("scale SRC DST --from 1080") << 2;
    QTest::newRow("resolution not a number") << words("scale SRC DST --from hd --to 720") << 2;
    QTest::newRow("one directory only") << words("scale SRC --from 1080 --to 720") << 2;
}

void TestPanelScaler::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("source"));
    const QString target = dir.filePath(QStringLiteral("target"));
    QVERIFY(TestFiles::copyTree(fixtureDir + QStringLiteral("/source"), source));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("empty"))));
    const CliResult result = runCli(withPaths(arguments,
        { { QStringLiteral("SRC"), source }, { QStringLiteral("DST"), target },
            { QStringLiteral("MISSING"), dir.filePath(QStringLiteral("missing")) },
            { QStringLiteral("EMPTY"), dir.filePath(QStringLiteral("empty")) } }));
    QVERIFY2(result.exitCode == exitCode, result.err.constData());
    if (exitCode == 0) {
        QCOMPARE(readAll(target + QStringLiteral("/py_26.ini")),
            readAll(fixtureDir + QStringLiteral("/expected-720/py_26.ini")));
    } else {
        QVERIFY2(result.err.contains("quillmark-cli scale: "), result.err.constData());
        if (exitCode == 2)
            QVERIFY(!QFileInfo::exists(target));
    }
}

QTEST_GUILESS_MAIN(TestPanelScaler)
#include "tst_panelscaler.moc"
