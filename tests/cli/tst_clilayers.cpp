// quillmark-cli as a program: what it and the module of its other commands
// load, that the archive commands need no module, and that only the commands
// that draw text need a display platform.

#include "testpaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestCliLayers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadsNoUserInterfaceLibrary_data();
    void loadsNoUserInterfaceLibrary();
    void runsWithoutToolsModule_data();
    void runsWithoutToolsModule();
    void startsWithoutPlatform_data();
    void startsWithoutPlatform();

private:
    QTemporaryDir mDir;
};

void TestCliLayers::initTestCase()
{
    QVERIFY(mDir.isValid());
    QVERIFY(QFileInfo::exists(QStringLiteral(QUILLMARK_CLI_PATH)));
}

void TestCliLayers::loadsNoUserInterfaceLibrary_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("needed");
    QTest::addColumn<QStringList>("forbidden");

    const QStringList interface {
        "libQt5Qml", "libQt5Quick", "libQt5Widgets", "libQt5QuickControls2", "libQt5Network"
    };
    // The program packs and unpacks on Qt Core and the deflate libraries
    // alone; the module draws.
    QTest::newRow("program") << QStringLiteral(QUILLMARK_CLI_PATH)
                             << QStringList { "libQt5Core", "libdeflate", "libz" }
                             << QStringList { "libQt5Gui", "libarchive" } + interface;
    QTest::newRow("tools module") << QDir::cleanPath(
        QStringLiteral(QUILLMARK_BINARY_DIR "/bin/" QUILLMARK_CLI_TOOLS_FROM_BIN))
                                  << QStringList { "libQt5Core", "libQt5Gui" } << interface;
}

void TestCliLayers::loadsNoUserInterfaceLibrary()
{
    QFETCH(QString, file);
    QFETCH(QStringList, needed);
    QFETCH(QStringList, forbidden);

    QVERIFY2(QFileInfo::exists(file), qPrintable(file));
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), { file });
    QVERIFY(ldd.waitForFinished(60000));
    QCOMPARE(ldd.exitCode(), 0);
    const QString libraries = QString::fromLocal8Bit(ldd.readAllStandardOutput());
    for (const QString &name : needed)
        QVERIFY2(libraries.contains(name), qPrintable(name + QStringLiteral(" missing in\n") + libraries));
    for (const QString &name : forbidden)
        QVERIFY2(!libraries.contains(name), qPrintable(name + QStringLiteral(" linked in\n") + libraries));
}

void TestCliLayers::runsWithoutToolsModule_data()
{
    QTest::addColumn<QByteArray>("module");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing") << QByteArray() << "No such file or directory";
    QTest::newRow("not a library") << QByteArray(256, 'x') << "invalid ELF header";
    QTest::newRow("an executable") << QByteArray("program")
                                   << "cannot dynamically load position-independent executable";
}

// A copy of the program whose module is missing or broken still packs,
// unpacks and helps; a command of the module fails with the module's path and
// the reason, and nothing else.
void TestCliLayers::runsWithoutToolsModule()
{
    QFETCH(QByteArray, module);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString program = dir.filePath(QStringLiteral("bin/quillmark-cli"));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("bin"))));
    QVERIFY(QFile::copy(QStringLiteral(QUILLMARK_CLI_PATH), program));
    const QString modulePath
        = QDir::cleanPath(dir.filePath(QStringLiteral("bin/" QUILLMARK_CLI_TOOLS_FROM_BIN)));
    if (!module.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(modulePath).absolutePath()));
        if (module == "program") {
            QVERIFY(QFile::copy(QStringLiteral(QUILLMARK_CLI_PATH), modulePath));
        } else {
            QFile file(modulePath);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(module) == module.size());
        }
    }
    auto run = [&](const QStringList &arguments, QByteArray *err) {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(program, arguments);
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        *err = process.readAllStandardError();
        return process.exitCode();
    };

    const QString demo = QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo");
    const QString archive = dir.filePath(QStringLiteral("demo.zip"));
    QByteArray err;
    QCOMPARE(run({ "pack", demo, archive }, &err), 0);
    QCOMPARE(err, QByteArray());
    QCOMPARE(run({ "unpack", archive, dir.filePath(QStringLiteral("out")) }, &err), 0);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("out/port/py_26.ini"))).isFile());
    QCOMPARE(run({ "--help" }, &err), 0);

    const QString panel = dir.filePath(QStringLiteral("out/port/py_26.ini"));
    const QString png = dir.filePath(QStringLiteral("panel.png"));
    QCOMPARE(run({ "render", panel, "-o", png }, &err), 1);
    const QString expected = QStringLiteral("quillmark-cli render: can not load the tools module %1: %2\n")
                                 .arg(modulePath, reason);
    QVERIFY2(QString::fromLocal8Bit(err) == expected, err.constData());
    QVERIFY(!QFileInfo::exists(png));
}

void TestCliLayers::startsWithoutPlatform_data()
{
    QTest::addColumn<QStringList>("arguments");

    const QString demo = QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo");
    QTest::newRow("version") << QStringList { "--version" };
    QTest::newRow("help") << QStringList { "--help" };
    QTest::newRow("pack") << QStringList { "pack", demo, mDir.filePath(QStringLiteral("demo.zip")) };
    QTest::newRow("check") << QStringList { "check", demo };
}

void TestCliLayers::startsWithoutPlatform()
{
    QFETCH(QStringList, arguments);

    // A platform that does not exist stops any program that opens one.
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(mDir.path());
    process.start(QStringLiteral(QUILLMARK_CLI_PATH), arguments);
    QVERIFY(process.waitForFinished(120000));
    const QByteArray err = process.readAllStandardError();
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QVERIFY2(process.exitCode() == 0, err.constData());
}

QTEST_GUILESS_MAIN(TestCliLayers)
#include "tst_clilayers.moc"
