#include "app/settings.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void programFileLivesNextToExecutable();
    void defaults_data();
    void defaults();
    void freshInstallationCreatesWorkingDirectory();
    void storedValuesAreRead();
    void unchangedOrAbsentValueStoresNothing_data();
    void unchangedOrAbsentValueStoresNothing();
    void changedValueIsStoredAndSignalled_data();
    void changedValueIsStoredAndSignalled();
    void autoReloadIntervalSignalCarriesValue();
    void rectColorsStoreAlphaFirst_data();
    void rectColorsStoreAlphaFirst();
    void transparentColorsDropAlphaAndAlwaysEmit();
    void gridSizeAlwaysEmits();
    void snapGridSizeNeverNegative();
    void windowSizeStoredOnceWritten();
    void logLevelWords_data();
    void logLevelWords();
    void logLevelSetter_data();
    void logLevelSetter();
    void uiFont();
    void skinWorkingDirectory();
    void skinDirectoryIsNotStored();
    void fileContents();
    void unreadableFileGivesDefaults();
    void language_data();
    void language();
    void recentPanelFiles();
    void reopenLastPanel();

private:
    QString storedText(const QString &key);
    bool hasKey(const QString &key);

    QTemporaryDir mHome;
    QByteArray mOldHome;
    std::unique_ptr<QTemporaryDir> mAppDir;
    std::unique_ptr<Settings> mSettings;
    QString mFile;
};

void TestSettings::initTestCase()
{
    // The default working directory lies below the user's home: point HOME at
    // a temporary directory so that no test touches the real one.
    QVERIFY(mHome.isValid());
    mOldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(mHome.path()));
}

void TestSettings::cleanupTestCase()
{
    qputenv("HOME", mOldHome);
}

void TestSettings::init()
{
    // Each test gets its own settings file where the program keeps it: in a
    // (temporary) application directory.
    mAppDir = std::make_unique<QTemporaryDir>();
    mFile = mAppDir->filePath(QStringLiteral("quillmark_settings.ini"));
    mSettings = std::make_unique<Settings>(mFile);
}

void TestSettings::cleanup()
{
    mSettings.reset();
    mAppDir.reset();
    QDir(mHome.path()).removeRecursively();
    QDir().mkpath(mHome.path());
}

// What the file holds, through a second settings object on it (settings
// objects of one process share their changes at once).
QString TestSettings::storedText(const QString &key)
{
    return QSettings(mFile, QSettings::IniFormat).value(key).toString();
}

bool TestSettings::hasKey(const QString &key)
{
    return QSettings(mFile, QSettings::IniFormat).contains(key);
}

void TestSettings::programFileLivesNextToExecutable()
{
    QCOMPARE(Settings::defaultFileName(),
        QCoreApplication::applicationDirPath() + QStringLiteral("/quillmark_settings.ini"));
}

void TestSettings::defaults_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("stayOnTop") << "stayOnTop" << QVariant(false);
    QTest::newRow("windowX") << "windowX" << QVariant(100);
    QTest::newRow("windowY") << "windowY" << QVariant(100);
    QTest::newRow("windowWidth") << "windowWidth" << QVariant(800);
    QTest::newRow("windowHeight") << "windowHeight" << QVariant(600);
    QTest::newRow("displayPanelInfo") << "displayPanelInfo" << QVariant(true);
    QTest::newRow("displayFileTree") << "displayFileTree" << QVariant(true);
    QTest::newRow("displayTextEditor") << "displayTextEditor" << QVariant(true);
    QTest::newRow("viewRectColor") << "viewRectColor" << QVariant(QColor(0xd6, 0x27, 0x28, 0xff));
    QTest::newRow("touchRectColor") << "touchRectColor" << QVariant(QColor(0x1f, 0x77, 0xb4, 0xff));
    QTest::newRow("autoReload") << "autoReload" << QVariant(true);
    QTest::newRow("autoReloadInterval") << "autoReloadInterval" << QVariant(3000);
    QTest::newRow("logLevel") << "logLevel" << QVariant(4);
    QTest::newRow("transparentBackgroudColor1")
        << "transparentBackgroudColor1" << QVariant(QColor(Qt::white));
    QTest::newRow("transparentBackgroudColor2")
        << "transparentBackgroudColor2" << QVariant(QColor(0xcc, 0xcc, 0xcc));
    QTest::newRow("transparentBackgroudGridSize") << "transparentBackgroudGridSize" << QVariant(5);
    QTest::newRow("snapGridSize") << "snapGridSize" << QVariant(0);
    QTest::newRow("uiFont") << "uiFont" << QVariant(QStringLiteral("Noto Sans CJK SC Regular"));
}

void TestSettings::defaults()
{
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    QCOMPARE(mSettings->property(property.toLatin1().constData()), value);
    QVERIFY(!QFileInfo::exists(mFile));
}

void TestSettings::freshInstallationCreatesWorkingDirectory()
{
    const QString expected = mHome.path() + QStringLiteral("/Quillmark/SkinWorkingDirectory");
    QDir(mHome.path()).removeRecursively();
    mSettings = std::make_unique<Settings>(mFile);
    QVERIFY(QFileInfo(expected).isDir());
    QCOMPARE(mSettings->skinWorkingDirectory(), expected);
    QCOMPARE(mSettings->skinDirectory(), expected);
    // Asking again after the directory went away brings it back.
    QVERIFY(QDir(expected).removeRecursively());
    QCOMPARE(mSettings->skinWorkingDirectory(), expected);
    QVERIFY(QFileInfo(expected).isDir());
}

void TestSettings::storedValuesAreRead()
{
    mSettings.reset();
    {
        QSettings file(mFile, QSettings::IniFormat);
        file.setValue(QStringLiteral("WindowX"), 321);
        file.setValue(QStringLiteral("StayOnTop"), true);
        file.setValue(QStringLiteral("ViewRectColor"), QStringLiteral("#80102030"));
        file.setValue(QStringLiteral("AutoReloadInterval"), QStringLiteral("not a number"));
        file.setValue(QStringLiteral("TouchRectColor"), QStringLiteral("no colour"));
    }
    mSettings = std::make_unique<Settings>(mFile);
    QCOMPARE(mSettings->windowX(), 321);
    QVERIFY(mSettings->stayOnTop());
    QCOMPARE(mSettings->viewRectColor(), QColor(0x10, 0x20, 0x30, 0x80));
    QCOMPARE(mSettings->autoReloadInterval(), 0);
    QVERIFY(!mSettings->touchRectColor().isValid());
}

void TestSettings::unchangedOrAbsentValueStoresNothing_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");

    // An absent key reads as false or 0 for this comparison, whatever the default.
    QTest::newRow("windowX 0") << "windowX" << QVariant(0);
    QTest::newRow("windowWidth 0") << "windowWidth" << QVariant(0);
    QTest::newRow("stayOnTop false") << "stayOnTop" << QVariant(false);
    QTest::newRow("displayFileTree false") << "displayFileTree" << QVariant(false);
    QTest::newRow("autoReload false") << "autoReload" << QVariant(false);
    QTest::newRow("autoReloadInterval 0") << "autoReloadInterval" << QVariant(0);
}

void TestSettings::unchangedOrAbsentValueStoresNothing()
{
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    const QByteArray name = property.toLatin1();
    const QMetaProperty meta
        = mSettings->metaObject()->property(mSettings->metaObject()->indexOfProperty(name));
    QSignalSpy spy(mSettings.get(), meta.notifySignal());
    QVERIFY(mSettings->setProperty(name.constData(), value));
    QCOMPARE(spy.count(), 0);
    QString key = property;
    key[0] = key.at(0).toUpper();
    QVERIFY(!hasKey(key));
}

void TestSettings::changedValueIsStoredAndSignalled_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("stored");

    QTest::newRow("windowX") << "windowX" << QVariant(100) << "100";
    QTest::newRow("windowY negative") << "windowY" << QVariant(-20) << "-20";
    QTest::newRow("windowWidth") << "windowWidth" << QVariant(1024) << "1024";
    QTest::newRow("windowHeight") << "windowHeight" << QVariant(700) << "700";
    QTest::newRow("stayOnTop") << "stayOnTop" << QVariant(true) << "true";
    QTest::newRow("displayPanelInfo") << "displayPanelInfo" << QVariant(true) << "true";
    QTest::newRow("displayFileTree") << "displayFileTree" << QVariant(true) << "true";
    QTest::newRow("displayTextEditor") << "displayTextEditor" << QVariant(true) << "true";
    QTest::newRow("autoReload") << "autoReload" << QVariant(true) << "true";
}

void TestSettings::changedValueIsStoredAndSignalled()
{
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    QFETCH(QString, stored);
    const QByteArray name = property.toLatin1();
    const QMetaProperty meta
        = mSettings->metaObject()->property(mSettings->metaObject()->indexOfProperty(name));
    {
        QSignalSpy spy(mSettings.get(), meta.notifySignal());
        QVERIFY(mSettings->setProperty(name.constData(), value));
        QCOMPARE(spy.count(), 1);
        // The same value again changes nothing.
        QVERIFY(mSettings->setProperty(name.constData(), value));
        QCOMPARE(spy.count(), 1);
    }
    QString key = property;
    key[0] = key.at(0).toUpper();
    QCOMPARE(storedText(key), stored);
    QCOMPARE(mSettings->property(name.constData()), value);
}

void TestSettings::autoReloadIntervalSignalCarriesValue()
{
    QSignalSpy spy(mSettings.get(), &Settings::autoReloadIntervalChanged);
    mSettings->setAutoReloadInterval(5000);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 5000);
    QCOMPARE(mSettings->autoReloadInterval(), 5000);
}

void TestSettings::rectColorsStoreAlphaFirst_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("stored");

    QTest::newRow("view rect opaque") << "viewRectColor"
                                      << "ViewRectColor" << QColor(0x12, 0x34, 0xAB) << "#ff1234ab";
    QTest::newRow("view rect half") << "viewRectColor"
                                    << "ViewRectColor" << QColor(1, 2, 3, 0x80) << "#80010203";
    QTest::newRow("touch rect opaque") << "touchRectColor"
                                       << "TouchRectColor" << QColor(Qt::green) << "#ff00ff00";
}

void TestSettings::rectColorsStoreAlphaFirst()
{
    QFETCH(QString, property);
    QFETCH(QString, key);
    QFETCH(QColor, color);
    QFETCH(QString, stored);
    const QByteArray name = property.toLatin1();
    const QMetaProperty meta
        = mSettings->metaObject()->property(mSettings->metaObject()->indexOfProperty(name));
    QSignalSpy spy(mSettings.get(), meta.notifySignal());
    mSettings->setProperty(name.constData(), color);
    mSettings->setProperty(name.constData(), color);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(mSettings->property(name.constData()).value<QColor>(), color);
    QCOMPARE(storedText(key), stored);
}

void TestSettings::transparentColorsDropAlphaAndAlwaysEmit()
{
    QSignalSpy spy1(mSettings.get(), &Settings::transparentBackgroudColor1Changed);
    QSignalSpy spy2(mSettings.get(), &Settings::transparentBackgroudColor2Changed);
    mSettings->setTransparentBackgroudColor1(QColor(0x10, 0x20, 0x30, 0x40));
    mSettings->setTransparentBackgroudColor1(QColor(0x10, 0x20, 0x30, 0x40));
    mSettings->setTransparentBackgroudColor2(QColor(Qt::white));
    QCOMPARE(spy1.count(), 2);
    QCOMPARE(spy2.count(), 1);
    QCOMPARE(mSettings->transparentBackgroudColor1(), QColor(0x10, 0x20, 0x30));
    QCOMPARE(storedText(QStringLiteral("TransparentBackgroudColor1")), QStringLiteral("#102030"));
    QCOMPARE(storedText(QStringLiteral("TransparentBackgroudColor2")), QStringLiteral("#ffffff"));
}

void TestSettings::gridSizeAlwaysEmits()
{
    QSignalSpy spy(mSettings.get(), &Settings::transparentBackgroudGridSizeChanged);
    mSettings->setTransparentBackgroudGridSize(5);
    mSettings->setTransparentBackgroudGridSize(5);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(storedText(QStringLiteral("TransparentBackgroudGridSize")), QStringLiteral("5"));
}

void TestSettings::windowSizeStoredOnceWritten()
{
    QVERIFY(!mSettings->windowSizeStored());
    mSettings->setWindowWidth(1200);
    QVERIFY(!mSettings->windowSizeStored());
    mSettings->setWindowHeight(800);
    QVERIFY(mSettings->windowSizeStored());
}

void TestSettings::snapGridSizeNeverNegative()
{
    QSignalSpy spy(mSettings.get(), &Settings::snapGridSizeChanged);
    mSettings->setSnapGridSize(8);
    mSettings->setSnapGridSize(8);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(storedText(QStringLiteral("SnapGridSize")), QStringLiteral("8"));
    mSettings->setSnapGridSize(-3);
    QCOMPARE(mSettings->snapGridSize(), 0);
    QCOMPARE(spy.count(), 2);
}

void TestSettings::logLevelWords_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("level");

    QTest::newRow("Debug") << "Debug" << 0;
    QTest::newRow("Warning") << "Warning" << 1;
    QTest::newRow("Critical") << "Critical" << 2;
    QTest::newRow("Fatal") << "Fatal" << 3;
    QTest::newRow("Info") << "Info" << 4;
    QTest::newRow("debug in lower case") << "debug" << 4;
    QTest::newRow("number") << "0" << 4;
    QTest::newRow("empty") << "" << 4;
}

void TestSettings::logLevelWords()
{
    QFETCH(QString, word);
    QFETCH(int, level);
    mSettings.reset();
    QSettings(mFile, QSettings::IniFormat).setValue(QStringLiteral("LogLevel"), word);
    mSettings = std::make_unique<Settings>(mFile);
    QCOMPARE(mSettings->logLevel(), level);
}

void TestSettings::logLevelSetter_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("signalCount");
    QTest::addColumn<QString>("stored");

    QTest::newRow("0 stores Debug") << 0 << 1 << "Debug";
    QTest::newRow("1 stores Warning") << 1 << 1 << "Warning";
    QTest::newRow("3 stores Fatal") << 3 << 1 << "Fatal";
    QTest::newRow("4 equals the default: nothing") << 4 << 0 << "";
    QTest::newRow("7 stores nothing but emits") << 7 << 1 << "";
    QTest::newRow("-1 stores nothing but emits") << -1 << 1 << "";
}

void TestSettings::logLevelSetter()
{
    QFETCH(int, level);
    QFETCH(int, signalCount);
    QFETCH(QString, stored);
    QSignalSpy spy(mSettings.get(), &Settings::logLevelChanged);
    mSettings->setLogLevel(level);
    QCOMPARE(spy.count(), signalCount);
    QCOMPARE(storedText(QStringLiteral("LogLevel")), stored);
}

void TestSettings::uiFont()
{
    QSignalSpy spy(mSettings.get(), &Settings::uiFontChanged);
    mSettings->setUiFont(QStringLiteral("DejaVu Sans"));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(mSettings->uiFont(), QStringLiteral("DejaVu Sans"));
    mSettings->setUiFont(QString());
    mSettings->setUiFont(QStringLiteral("DejaVu Sans"));
    QCOMPARE(spy.count(), 1);
    mSettings->setUiFont(QStringLiteral("Noto Sans CJK SC Regular"));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(mSettings->uiFont(), QStringLiteral("Noto Sans CJK SC Regular"));
    QVERIFY(!hasKey(QStringLiteral("UiFont")));
}

void TestSettings::skinWorkingDirectory()
{
    const QString defaultPath = mHome.path() + QStringLiteral("/Quillmark/SkinWorkingDirectory");
    const QString custom = mAppDir->filePath(QStringLiteral("my skins"));
    QSignalSpy workingSpy(mSettings.get(), &Settings::skinWorkingDirectoryChanged);
    QSignalSpy skinSpy(mSettings.get(), &Settings::skinDirectoryChanged);

    // The default is never written; an absent key differs from it, so the
    // change is still announced.
    mSettings->setSkinWorkingDirectory(defaultPath);
    QCOMPARE(workingSpy.count(), 1);
    QCOMPARE(skinSpy.count(), 0);
    QVERIFY(!hasKey(QStringLiteral("SkinWorkingDirectory")));
    workingSpy.clear();

    mSettings->setSkinWorkingDirectory(custom);
    QCOMPARE(workingSpy.count(), 1);
    QCOMPARE(skinSpy.count(), 1);
    QCOMPARE(mSettings->skinDirectory(), custom);
    QCOMPARE(mSettings->skinWorkingDirectory(), custom);
    QVERIFY(QFileInfo(custom).isDir());
    mSettings->setSkinWorkingDirectory(custom);
    QCOMPARE(workingSpy.count(), 1);
    QCOMPARE(storedText(QStringLiteral("SkinWorkingDirectory")), custom);

    QSignalSpy workingSpy2(mSettings.get(), &Settings::skinWorkingDirectoryChanged);
    QSignalSpy skinSpy2(mSettings.get(), &Settings::skinDirectoryChanged);
    QCOMPARE(Settings(mFile).skinDirectory(), custom);
    mSettings->setSkinWorkingDirectory(defaultPath);
    QCOMPARE(workingSpy2.count(), 1);
    QCOMPARE(skinSpy2.count(), 1);
    QCOMPARE(mSettings->skinDirectory(), defaultPath);
    QVERIFY(!hasKey(QStringLiteral("SkinWorkingDirectory")));
}

void TestSettings::skinDirectoryIsNotStored()
{
    QSignalSpy spy(mSettings.get(), &Settings::skinDirectoryChanged);
    QVERIFY(mSettings->setProperty("skinDirectory", QStringLiteral("/some/skin")));
    QVERIFY(mSettings->setProperty("skinDirectory", QStringLiteral("/some/skin")));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(mSettings->skinDirectory(), QStringLiteral("/some/skin"));
    mSettings.reset();
    QFile file(mFile);
    QVERIFY(!file.exists() || (file.open(QIODevice::ReadOnly) && !file.readAll().contains("/some/skin")));
}

void TestSettings::fileContents()
{
    mSettings->setWindowX(120);
    mSettings->setLogLevel(0);
    mSettings->setViewRectColor(QColor(0xd6, 0x27, 0x28));
    mSettings->setTransparentBackgroudColor1(QColor(0x11, 0x22, 0x33, 0x44));
    mSettings->setStayOnTop(true);
    mSettings.reset();
    QFile file(mFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY2(text.startsWith("[General]"), text.constData());
    for (const char *line : { "WindowX=120", "LogLevel=Debug", "ViewRectColor=#ffd62728",
             "TransparentBackgroudColor1=#112233", "StayOnTop=true" })
        QVERIFY2(text.contains(line), line);
}

void TestSettings::unreadableFileGivesDefaults()
{
    mSettings.reset();
    QFile file(mFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\x00\xff\xfe garbage [[[ = =\n=\n", 21));
    file.close();
    mSettings = std::make_unique<Settings>(mFile);
    QCOMPARE(mSettings->windowWidth(), 800);
    QCOMPARE(mSettings->logLevel(), 4);
    QVERIFY(mSettings->autoReload());
}

void TestSettings::language_data()
{
    QTest::addColumn<QString>("stored"); // "-": absent
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("emitted");

    QTest::newRow("default is Chinese") << "-"
                                        << ""
                                        << "zh" << 0;
    QTest::newRow("English") << "-"
                             << "en"
                             << "en" << 1;
    QTest::newRow("the system's") << "-"
                                  << "system"
                                  << "system" << 1;
    QTest::newRow("the same again") << "en"
                                    << "en"
                                    << "en" << 0;
    QTest::newRow("unknown choice changes nothing") << "en"
                                                    << "fr"
                                                    << "en" << 0;
    QTest::newRow("unknown stored word reads as Chinese") << "klingon"
                                                          << ""
                                                          << "zh" << 0;
}

void TestSettings::language()
{
    QFETCH(QString, stored);
    QFETCH(QString, chosen);
    QFETCH(QString, language);
    QFETCH(int, emitted);
    if (stored != QLatin1String("-"))
        QSettings(mFile, QSettings::IniFormat).setValue(QStringLiteral("Language"), stored);
    QSignalSpy spy(mSettings.get(), &Settings::languageChanged);
    if (!chosen.isEmpty())
        mSettings->setLanguage(chosen);
    QCOMPARE(mSettings->language(), language);
    QCOMPARE(spy.count(), emitted);
    if (emitted)
        QCOMPARE(storedText(QStringLiteral("Language")), language);
}

// The latest first, each file once, at most ten.
void TestSettings::recentPanelFiles()
{
    QSignalSpy spy(mSettings.get(), &Settings::recentPanelFilesChanged);
    QCOMPARE(mSettings->recentPanelFiles(), QStringList());
    for (int i = 1; i <= 12; ++i)
        mSettings->addRecentPanelFile(QStringLiteral("/skins/%1/port/py_26.ini").arg(i));
    QStringList files = mSettings->recentPanelFiles();
    QCOMPARE(files.size(), 10);
    QCOMPARE(files.first(), QStringLiteral("/skins/12/port/py_26.ini"));
    QCOMPARE(files.last(), QStringLiteral("/skins/3/port/py_26.ini"));
    QCOMPARE(spy.count(), 12);

    // opening one again moves it to the top instead of adding it twice
    mSettings->addRecentPanelFile(QStringLiteral("/skins/5/port/py_26.ini"));
    files = mSettings->recentPanelFiles();
    QCOMPARE(files.size(), 10);
    QCOMPARE(files.first(), QStringLiteral("/skins/5/port/py_26.ini"));
    QCOMPARE(files.count(QStringLiteral("/skins/5/port/py_26.ini")), 1);
    QCOMPARE(files.at(1), QStringLiteral("/skins/12/port/py_26.ini"));

    // the latest again, or no file: nothing changes
    spy.clear();
    mSettings->addRecentPanelFile(QStringLiteral("/skins/5/port/py_26.ini"));
    mSettings->addRecentPanelFile(QString());
    QCOMPARE(spy.count(), 0);
    QCOMPARE(mSettings->recentPanelFiles(), files);

    // kept in the file
    mSettings.reset();
    QCOMPARE(Settings(mFile).recentPanelFiles(), files);
}

void TestSettings::reopenLastPanel()
{
    QSignalSpy spy(mSettings.get(), &Settings::reopenLastPanelChanged);
    QCOMPARE(mSettings->reopenLastPanel(), false);
    mSettings->setReopenLastPanel(true);
    QCOMPARE(mSettings->reopenLastPanel(), true);
    QCOMPARE(storedText(QStringLiteral("ReopenLastPanel")), QStringLiteral("true"));
    mSettings->setReopenLastPanel(true);
    QCOMPARE(spy.count(), 1);
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
