// quillmark-cli as a program: what it loads, and that only the commands that
// draw text need a display platform.

#include "testpaths.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestCliLayers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadsNoUserInterfaceLibrary();
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

void TestCliLayers::loadsNoUserInterfaceLibrary()
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), { QStringLiteral(QUILLMARK_CLI_PATH) });
    QVERIFY(ldd.waitForFinished(60000));
    QCOMPARE(ldd.exitCode(), 0);
    const QString libraries = QString::fromLocal8Bit(ldd.readAllStandardOutput());
    QVERIFY2(libraries.contains(QLatin1String("libQt5Gui")), qPrintable(libraries));
    for (const char *name : { "libQt5Qml", "libQt5Quick", "libQt5Widgets", "libQt5Network" })
        QVERIFY2(!libraries.contains(QLatin1String(name)), name);
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
