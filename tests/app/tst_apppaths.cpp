// Where settings and log go: next to the executable of a portable copy (the
// marker file), below the user's home otherwise.
#include "app/apppaths.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestAppPaths : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void places_data();
    void places();

private:
    QTemporaryDir mDir;
    QByteArray mOldHome;
    QByteArray mOldState;
};

void TestAppPaths::initTestCase()
{
    QVERIFY(mDir.isValid());
    mOldHome = qgetenv("HOME");
    mOldState = qgetenv("XDG_STATE_HOME");
    qputenv("HOME", QFile::encodeName(mDir.filePath(QStringLiteral("home"))));
    // the configuration directory of the test mode, never the author's
    QStandardPaths::setTestModeEnabled(true);
}

void TestAppPaths::cleanupTestCase()
{
    qputenv("HOME", mOldHome);
    if (mOldState.isNull())
        qunsetenv("XDG_STATE_HOME");
    else
        qputenv("XDG_STATE_HOME", mOldState);
}

void TestAppPaths::init()
{
    QFile::remove(mDir.filePath(QStringLiteral("bin/quillmark.portable")));
    QVERIFY(QDir().mkpath(mDir.filePath(QStringLiteral("bin"))));
}

void TestAppPaths::places_data()
{
    QTest::addColumn<bool>("marker");
    QTest::addColumn<QString>("stateHome"); // "-": unset
    QTest::addColumn<QString>("settings"); // "@" the temporary dir, "~" home, "config" the configuration dir
    QTest::addColumn<QString>("log");

    QTest::newRow("portable") << true << "@/state"
                              << "@/bin/quillmark_settings.ini"
                              << "@/bin/quillmark.log";
    QTest::newRow("installed") << false << "-"
                               << "config/quillmark_settings.ini"
                               << "~/.local/state/quillmark/quillmark.log";
    QTest::newRow("installed, state home set") << false << "@/state"
                                               << "config/quillmark_settings.ini"
                                               << "@/state/quillmark/quillmark.log";
    QTest::newRow("installed, relative state home is ignored") << false << "state"
                                                               << "config/quillmark_settings.ini"
                                                               << "~/.local/state/quillmark/quillmark.log";
}

void TestAppPaths::places()
{
    QFETCH(bool, marker);
    QFETCH(QString, stateHome);
    QFETCH(QString, settings);
    QFETCH(QString, log);

    const QString bin = mDir.filePath(QStringLiteral("bin"));
    if (marker) {
        QFile file(bin + QStringLiteral("/quillmark.portable"));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (stateHome == QLatin1String("-"))
        qunsetenv("XDG_STATE_HOME");
    else
        qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome.replace(QLatin1Char('@'), mDir.path())));

    auto expand = [this](QString path) {
        path.replace(QLatin1Char('@'), mDir.path());
        path.replace(QLatin1Char('~'), mDir.filePath(QStringLiteral("home")));
        if (path.startsWith(QLatin1String("config/")))
            path.replace(0, 6, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
        return path;
    };
    QCOMPARE(AppPaths::isPortable(bin), marker);
    QCOMPARE(AppPaths::settingsFile(bin), expand(settings));
    QCOMPARE(AppPaths::logFile(bin), expand(log));
    if (!marker) {
        QVERIFY(!AppPaths::settingsFile(bin).startsWith(bin));
        QVERIFY(AppPaths::settingsFile(bin).startsWith(mDir.filePath(QStringLiteral("home"))));
    }
}

QTEST_GUILESS_MAIN(TestAppPaths)
#include "tst_apppaths.moc"
