#include "app/application.h"
#include "app/messagehandler.h"
#include "app/problemmodel.h"
#include "app/settings.h"
#include "panel/panel.h"
#include "panel/panelfixture.h"

#include <QApplication>
#include <QFontDatabase>
#include <QQmlApplicationEngine>
#include <QQuickImageProvider>
#include <QQuickTextureFactory>
#include <QQuickWindow>
#include <QSGTexture>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// The textures the scene graph made for the counted picture, and how many of
// them it has deleted.
int texturesMade = 0;
int texturesDeleted = 0;

class CountedTextureFactory : public QQuickTextureFactory
{
public:
    QSGTexture *createTexture(QQuickWindow *window) const override
    {
        QSGTexture *texture = window->createTextureFromImage(image());
        ++texturesMade;
        QObject::connect(texture, &QObject::destroyed, [] { ++texturesDeleted; });
        return texture;
    }
    QSize textureSize() const override { return QSize(8, 8); }
    int textureByteCount() const override { return 8 * 8 * 4; }
    QImage image() const override
    {
        QImage picture(textureSize(), QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::red);
        return picture;
    }
};

class CountedTextureProvider : public QQuickImageProvider
{
public:
    CountedTextureProvider()
        : QQuickImageProvider(QQuickImageProvider::Texture)
    { }
    QQuickTextureFactory *requestTexture(const QString &, QSize *size, const QSize &) override
    {
        *size = QSize(8, 8);
        return new CountedTextureFactory;
    }
};

} // namespace

// The start-up sequence as the editor runs it, on a small window file so that
// the test does not depend on the full scene.
class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void identityAndVersion();
    void onlyTheThreeAuthoritiesRemain();
    void startTrimsAuthorities_data();
    void startTrimsAuthorities();
    void fontsAndMonoFallback();
    void brokenWindowFailsToStart();
    void startPublishesObjects();
    void windowHearsOfItsFirstFrame();
    void laterWorkWaitsForTheFirstFrame_data();
    void laterWorkWaitsForTheFirstFrame();
    void endLeavesNoTextures_data();
    void endLeavesNoTextures();
    void startHandsSettingsToPanel();
    void settingsReachPanel_data();
    void settingsReachPanel();
    void commandLine_data();
    void commandLine();
    void commandLineEndsProcess_data();
    void commandLineEndsProcess();
    void versionEndsStartInOrder();
    void commandLineHandsBackArchives_data();
    void commandLineHandsBackArchives();
    void reopensTheLastPanel_data();
    void reopensTheLastPanel();
    void catalogueForLanguage_data();
    void catalogueForLanguage();

private:
    QString writeQml(const QString &name, const QByteArray &text);
    bool startOn(Application &application, const QString &qml, const QStringList &arguments);

    QTemporaryDir mDir;
    QByteArray mOldHome;
    QtMessageHandler mTestHandler = nullptr;
};

void TestApplication::initTestCase()
{
    QVERIFY(mDir.isValid());
    mOldHome = qgetenv("HOME");
    QVERIFY(QDir().mkpath(mDir.filePath(QStringLiteral("home"))));
    qputenv("HOME", QFile::encodeName(mDir.filePath(QStringLiteral("home"))));
    MessageHandler::setLogFilePath(mDir.filePath(QStringLiteral("quillmark.log")));
}

void TestApplication::cleanupTestCase()
{
    qputenv("HOME", mOldHome);
}

QString TestApplication::writeQml(const QString &name, const QByteArray &text)
{
    const QString path = mDir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return QString();
    return path;
}

bool TestApplication::startOn(Application &application, const QString &qml, const QStringList &arguments)
{
    application.setMainUrl(QUrl::fromLocalFile(qml));
    // Start-up installs the program's log handler; the test's own comes back
    // afterwards so that its messages stay checkable.
    mTestHandler = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(mTestHandler);
    const bool started = application.start(arguments);
    qInstallMessageHandler(mTestHandler);
    return started;
}

void TestApplication::identityAndVersion()
{
    Application::setIdentity();
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Quillmark"));
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Quillmark Studio"));
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("0.10.8"));
}

void TestApplication::onlyTheThreeAuthoritiesRemain()
{
    const QStringList kept = { QStringLiteral("DST Root CA X3"), QStringLiteral("Baltimore CyberTrust Root"),
        QStringLiteral("COMODO RSA Certification Authority") };
    int expected = 0;
    const QList<QSslCertificate> system = QSslConfiguration::systemCaCertificates();
    for (const QSslCertificate &certificate : system)
        expected += kept.contains(certificate.issuerDisplayName()) ? 1 : 0;

    Application::trimCertificateAuthorities();
    const QList<QSslCertificate> now = QSslConfiguration::defaultConfiguration().caCertificates();
    QCOMPARE(now.size(), expected);
    for (const QSslCertificate &certificate : now)
        QVERIFY2(kept.contains(certificate.issuerDisplayName()), qPrintable(certificate.issuerDisplayName()));
}

void TestApplication::startTrimsAuthorities_data()
{
    QTest::addColumn<int>("logLevel");
    QTest::addColumn<QString>("root");
    QTest::newRow("info logged, no window") << 4 << QStringLiteral("Item {}");
    QTest::newRow("info logged, window shown") << 4 << QStringLiteral("Window { visible: true }");
    QTest::newRow("info logged, window never shown") << 4 << QStringLiteral("Window {}");
    QTest::newRow("debug logged") << 0 << QStringLiteral("Window { visible: true }");
}

// Start-up trims the authorities once the window's first frame is out (a
// second later without one, at once without a window); logged, they come in
// their place, before the fonts.
void TestApplication::startTrimsAuthorities()
{
    QFETCH(int, logLevel);
    QFETCH(QString, root);
    const QList<QSslCertificate> expected = Application::keptCertificateAuthorities();
    QSslConfiguration everything = QSslConfiguration::defaultConfiguration();
    everything.setCaCertificates(QSslConfiguration::systemCaCertificates());
    QSslConfiguration::setDefaultConfiguration(everything);
    const int oldLevel = Settings::instance()->logLevel();
    Settings::instance()->setLogLevel(logLevel);
    QFile::remove(MessageHandler::logFilePath());

    const QString qml = writeQml(QStringLiteral("authorities.qml"),
        "import QtQuick 2.15\nimport QtQuick.Window 2.15\n" + root.toUtf8() + "\n");
    int argc = 0;
    Application application(argc, nullptr);
    const bool started = startOn(application, qml, { QStringLiteral("quillmark") });
    Settings::instance()->setLogLevel(oldLevel);
    QVERIFY(started);
    if (logLevel == 0 || root == QLatin1String("Item {}"))
        QCOMPARE(QSslConfiguration::defaultConfiguration().caCertificates(), expected);
    else
        QTRY_COMPARE_WITH_TIMEOUT(QSslConfiguration::defaultConfiguration().caCertificates(), expected, 5000);

    // (at info level nothing of this may be logged at all)
    QFile log(MessageHandler::logFilePath());
    QVERIFY(log.open(QIODevice::ReadOnly | QIODevice::Text) || logLevel != 0);
    const QStringList lines = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'));
    const int firstFont = lines.indexOf(QRegularExpression(QStringLiteral("^\\[Debug\\] font added: .*")));
    const int lastAuthority = lines.lastIndexOf(QRegularExpression(QStringLiteral("^\\[Debug\\] CA: .*")));
    if (logLevel == 0) {
        QVERIFY(firstFont > 0);
        QCOMPARE(lines.filter(QStringLiteral("[Debug] CA: ")).size(), expected.size());
        QVERIFY(lastAuthority < firstFont);
    } else {
        QCOMPARE(firstFont, -1);
        QCOMPARE(lastAuthority, -1);
    }
}

void TestApplication::fontsAndMonoFallback()
{
    Application::addFonts();
    QVERIFY(QFontDatabase().families().contains(QStringLiteral("Noto Sans CJK SC")));
    QVERIFY(QFontDatabase().families().contains(QStringLiteral("Noto Mono")));
    // Qt keeps substitutions in lower case.
    QVERIFY(QFont::substitutes(QStringLiteral("Noto Mono"))
                .contains(QStringLiteral("Noto Sans CJK SC"), Qt::CaseInsensitive));
    // The default interface font, named by its face, shows the CJK family.
    QCOMPARE(QFontInfo(QFont(Settings::defaultUiFont())).family(), QStringLiteral("Noto Sans CJK SC"));
}

void TestApplication::brokenWindowFailsToStart()
{
    const QString qml
        = writeQml(QStringLiteral("broken.qml"), "import QtQuick 2.15\nItem { this is no qml }\n");
    int argc = 0;
    Application application(argc, nullptr);
    QVERIFY(!startOn(application, qml, { QStringLiteral("quillmark") }));
    QVERIFY(!application.engine());
    QVERIFY(!application.rootObject());
}

// Work put off until the first frame is out waits for that frame, not
// for the window's creation.
void TestApplication::windowHearsOfItsFirstFrame()
{
    const QString qml = writeQml(QStringLiteral("frame.qml"), R"(import QtQuick 2.15
import QtQuick.Window 2.15
Window {
    property bool firstFrameShown: false
    property int seenWhileShown: 0
    onFirstFrameShownChanged: seenWhileShown = visible ? seenWhileShown + 1 : -1
    width: 100
    height: 100
}
)");
    int argc = 0;
    Application application(argc, nullptr);
    QVERIFY(startOn(application, qml, { QStringLiteral("quillmark") }));
    auto *window = qobject_cast<QQuickWindow *>(application.rootObject());
    QVERIFY(window);
    // not yet shown, so nothing is told
    QCoreApplication::processEvents();
    QVERIFY(!window->property("firstFrameShown").toBool());
    window->show();
    QTRY_VERIFY(window->property("firstFrameShown").toBool());
    // told once, while shown; later frames say nothing more
    QSignalSpy frames(window, &QQuickWindow::frameSwapped);
    window->setProperty("firstFrameShown", false);
    window->update();
    QVERIFY(frames.wait(3000));
    QCoreApplication::processEvents();
    QVERIFY(!window->property("firstFrameShown").toBool());
    QCOMPARE(window->property("seenWhileShown").toInt(), 2);
}

// A picture shown in the window, kept in the image cache or not: when the
// editor ends, the scene graph has deleted the texture it made of it.
void TestApplication::laterWorkWaitsForTheFirstFrame_data()
{
    QTest::addColumn<bool>("shown");
    QTest::newRow("window shown") << true;
    QTest::newRow("window never shown") << false;
}

// The skin's problems are looked for, and the panel file becomes the first
// recent one, once the window's first frame is out, or a second after
// start-up when no frame comes.
void TestApplication::laterWorkWaitsForTheFirstFrame()
{
    QFETCH(bool, shown);
    const QString skin = mDir.filePath(QStringLiteral("problems-%1").arg(shown));
    QVERIFY(PanelFixture::copyTree(PanelFixture::dataPath(QStringLiteral("check-keys-overlap")), skin));
    const QString qml = writeQml(QStringLiteral("problems-%1.qml").arg(shown),
        QByteArray(
            "import QtQuick 2.15\nimport QtQuick.Window 2.15\nWindow { width: 50; height: 50; visible: ")
            + (shown ? "true" : "false") + " }\n");
    int argc = 0;
    Application application(argc, nullptr);
    QVERIFY(
        startOn(application, qml, { QStringLiteral("quillmark"), skin + QStringLiteral("/port/py_26.ini") }));
    const QString panelFile = QFileInfo(skin + QStringLiteral("/port/py_26.ini")).absoluteFilePath();
    if (!shown) {
        QTest::qWait(200);
        QCOMPARE(application.problems()->count(), 0);
        QVERIFY(Settings::instance()->recentPanelFiles().value(0) != panelFile);
    }
    QTRY_COMPARE_WITH_TIMEOUT(application.problems()->count(), 1, 5000);
    QTRY_COMPARE(Settings::instance()->recentPanelFiles().value(0), panelFile);
    PanelFixture::resetPanel(Panel::instance());
}

void TestApplication::endLeavesNoTextures_data()
{
    QTest::addColumn<bool>("cache");
    QTest::newRow("cached") << true;
    QTest::newRow("not cached") << false;
}

void TestApplication::endLeavesNoTextures()
{
    QFETCH(bool, cache);
    const QString qml = writeQml(QStringLiteral("pictures.qml"), R"(import QtQuick 2.15
import QtQuick.Window 2.15
Window {
    id: root
    property bool cache
    property string source
    width: 100
    height: 100
    Image { source: root.source; cache: root.cache }
}
)");
    texturesMade = 0;
    texturesDeleted = 0;
    {
        int argc = 0;
        Application application(argc, nullptr);
        QVERIFY(startOn(application, qml, { QStringLiteral("quillmark") }));
        application.engine()->addImageProvider(QStringLiteral("counted"), new CountedTextureProvider);
        auto *window = qobject_cast<QQuickWindow *>(application.rootObject());
        QVERIFY(window);
        window->setProperty("cache", cache);
        window->setProperty("source", QStringLiteral("image://counted/picture"));
        window->show();
        QTRY_COMPARE(texturesMade, 1);
    }
    QCOMPARE(texturesDeleted, texturesMade);
}

void TestApplication::startPublishesObjects()
{
    // The window reads every published object; a missing one would be a
    // reference error and leave the property undefined.
    const QString qml = writeQml(QStringLiteral("objects.qml"), R"(import QtQuick 2.15
QtObject {
    property var names: [typeof panel, typeof rpSettings, typeof utils, typeof stylesManager,
        typeof fontResGenerator, typeof resolutionConverter, typeof panelScaler, typeof tileTool,
        typeof innerRectTool, typeof panelCreator]
    property string version: utils.getVersion()
    property int width: rpSettings.windowWidth
}
)");
    int argc = 0;
    Application application(argc, nullptr);
    QSignalSpy spy(Settings::instance(), &Settings::skinDirectoryChanged);
    QVERIFY(startOn(application, qml, { QStringLiteral("quillmark") }));
    QVERIFY(application.engine());
    QObject *root = application.rootObject();
    QVERIFY(root);
    const QStringList names = root->property("names").toStringList();
    QCOMPARE(names.size(), 10);
    QCOMPARE(names.count(QStringLiteral("object")), 10);
    QCOMPARE(root->property("version").toString(), QStringLiteral("0.10.8"));
    QCOMPARE(root->property("width").toInt(), Settings::instance()->windowWidth());
    // Emitted once at the end whether or not anything changed.
    QCOMPARE(spy.count(), 1);
}

void TestApplication::startHandsSettingsToPanel()
{
    const QString qml = writeQml(QStringLiteral("plain.qml"), "import QtQuick 2.15\nItem {}\n");
    Panel *panel = Panel::instance();
    Settings *settings = Settings::instance();
    QTimer *timer = panel->autoReloadTimer();
    panel->setViewRectColor(Qt::transparent);
    panel->setTouchRectColor(Qt::transparent);
    {
        int argc = 0;
        Application application(argc, nullptr);
        QVERIFY(startOn(application, qml, { QStringLiteral("quillmark") }));
        QCOMPARE(panel->viewRectColor(), settings->viewRectColor());
        QCOMPARE(panel->touchRectColor(), settings->touchRectColor());
        QCOMPARE(timer->isActive(), settings->autoReload());
        QCOMPARE(timer->interval(),
            qBound(Panel::MinimumAutoReloadInterval, settings->autoReloadInterval(),
                Panel::MaximumAutoReloadInterval));

        // and every change after
        emit settings->autoReloadIntervalChanged(1234);
        QCOMPARE(timer->interval(), 1234);
        timer->stop();
        emit settings->autoReloadChanged();
        QCOMPARE(timer->isActive(), settings->autoReload());
        panel->setViewRectColor(Qt::transparent);
        emit settings->viewRectColorChanged();
        QCOMPARE(panel->viewRectColor(), settings->viewRectColor());
        panel->setTouchRectColor(Qt::transparent);
        emit settings->touchRectColorChanged();
        QCOMPARE(panel->touchRectColor(), settings->touchRectColor());
    }
    // not past the editor's end
    emit settings->autoReloadIntervalChanged(2345);
    QCOMPARE(timer->interval(), 1234);
    timer->stop();
}

void TestApplication::settingsReachPanel_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QColor>("view");
    QTest::addColumn<QColor>("touch");
    QTest::addColumn<bool>("watching");
    QTest::addColumn<int>("interval");

    // The panel alone starts from the settings' defaults but does not watch.
    QTest::newRow("defaults") << QStringList() << QColor::fromRgba(Panel::DefaultViewRectColor)
                              << QColor::fromRgba(Panel::DefaultTouchRectColor) << true << 3000;
    QTest::newRow("own values") << QStringList { "ViewRectColor=#80102030", "TouchRectColor=#ff00ff00",
        "AutoReload=false", "AutoReloadInterval=700" }
                                << QColor(0x10, 0x20, 0x30, 0x80) << QColor(0, 0xff, 0) << false << 700;
    QTest::newRow("interval clamped, settings keep it")
        << QStringList { "AutoReloadInterval=60000" } << QColor::fromRgba(Panel::DefaultViewRectColor)
        << QColor::fromRgba(Panel::DefaultTouchRectColor) << true << 10000;
}

void TestApplication::settingsReachPanel()
{
    QFETCH(QStringList, lines);
    QFETCH(QColor, view);
    QFETCH(QColor, touch);
    QFETCH(bool, watching);
    QFETCH(int, interval);

    const QString file = mDir.filePath(QStringLiteral("settings-%1.ini").arg(QTest::currentDataTag()));
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(("[General]\n" + lines.join(QLatin1Char('\n')) + "\n").toUtf8());
    }
    Settings settings(file);
    Panel *panel = Panel::instance();
    QTimer *timer = panel->autoReloadTimer();
    auto context = std::make_unique<QObject>();
    Application::connectSettings(&settings, panel, context.get());
    QCOMPARE(panel->viewRectColor(), view);
    QCOMPARE(panel->touchRectColor(), touch);
    QCOMPARE(timer->isActive(), watching);
    QCOMPARE(timer->interval(), interval);

    settings.setAutoReload(true);
    QVERIFY(timer->isActive());
    settings.setAutoReload(false);
    QVERIFY(!timer->isActive());
    settings.setAutoReloadInterval(4321);
    QCOMPARE(timer->interval(), 4321);
    settings.setViewRectColor(QColor(1, 2, 3, 4));
    QCOMPARE(panel->viewRectColor(), QColor(1, 2, 3, 4));
    settings.setTouchRectColor(QColor(5, 6, 7));
    QCOMPARE(panel->touchRectColor(), QColor(5, 6, 7));

    context.reset();
    settings.setAutoReloadInterval(5000);
    QCOMPARE(timer->interval(), 4321);
    timer->stop();
}

void TestApplication::commandLine_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("skinDirectory");

    QTest::newRow("panel in the port directory of a skin") << "@/skins/mine/port/py_26.ini"
                                                           << "@/skins/mine";
    QTest::newRow("relative parts are resolved") << "@/skins/mine/port/../port/py_26.ini"
                                                 << "@/skins/mine";
    QTest::newRow("txt suffix loads nothing") << "@/skins/mine/port/py_26.txt"
                                              << "";
    QTest::newRow("INI in capitals loads nothing") << "@/skins/mine/port/py_26.INI"
                                                   << "";
    QTest::newRow("no suffix loads nothing") << "@/skins/mine/port/py_26"
                                             << "";
    QTest::newRow("no argument") << ""
                                 << "";
}

void TestApplication::commandLine()
{
    QFETCH(QString, argument);
    QFETCH(QString, skinDirectory);
    const QString root = mDir.path();
    argument.replace(QLatin1Char('@'), root);
    skinDirectory.replace(QLatin1Char('@'), root);
    QVERIFY(QDir().mkpath(root + QStringLiteral("/skins/mine/port")));

    const QString before = QStringLiteral("/untouched");
    Settings::instance()->setSkinDirectory(before);
    QStringList arguments { QStringLiteral("quillmark") };
    if (!argument.isEmpty())
        arguments.append(argument);
    Application::applyCommandLine(arguments);
    QCOMPARE(Settings::instance()->skinDirectory(), skinDirectory.isEmpty() ? before : skinDirectory);
}

void TestApplication::commandLineEndsProcess_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("version") << "--version" << 0;
    QTest::newRow("short version") << "-v" << 0;
    QTest::newRow("help") << "--help" << 0;
    QTest::newRow("unknown option") << "--no-such-option" << 1;
}

void TestApplication::commandLineEndsProcess()
{
    QFETCH(QString, option);
    QFETCH(int, exitCode);
    int code = -7;
    QVERIFY(!Application::applyCommandLine({ QStringLiteral("quillmark"), option }, &code));
    QCOMPARE(code, exitCode);
}

void TestApplication::versionEndsStartInOrder()
{
    // The scene is up when the command line is read; asking for the version
    // must end start-up cleanly, not exit from inside it.
    const QString qml = writeQml(QStringLiteral("version.qml"), "import QtQuick 2.15\nItem {}\n");
    int argc = 0;
    Application application(argc, nullptr);
    QVERIFY(!startOn(application, qml, { QStringLiteral("quillmark"), QStringLiteral("--version") }));
    QCOMPARE(application.exitCode(), 0);
    QVERIFY(!application.engine());
}

void TestApplication::commandLineHandsBackArchives_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("archive");

    QTest::newRow("bds") << "@/down/skin.bds"
                         << "@/down/skin.bds";
    QTest::newRow("bdi") << "@/down/skin.bdi"
                         << "@/down/skin.bdi";
    QTest::newRow("zip") << "@/down/skin.zip"
                         << "@/down/skin.zip";
    QTest::newRow("ending in capitals") << "@/down/skin.BDS"
                                        << "@/down/skin.BDS";
    QTest::newRow("panel file") << "@/skins/mine/port/py_26.ini"
                                << "";
    QTest::newRow("other file") << "@/down/notes.txt"
                                << "";
}

// A skin archive is not imported by the command line itself: the window
// asks first, and the skin directory stays where it was until then.
void TestApplication::commandLineHandsBackArchives()
{
    QFETCH(QString, argument);
    QFETCH(QString, archive);
    argument.replace(QLatin1Char('@'), mDir.path());
    archive.replace(QLatin1Char('@'), mDir.path());
    QVERIFY(QDir().mkpath(mDir.filePath(QStringLiteral("skins/mine/port"))));

    const QString before = QStringLiteral("/untouched");
    Settings::instance()->setSkinDirectory(before);
    QString handedBack = QStringLiteral("-");
    QVERIFY(Application::applyCommandLine({ QStringLiteral("quillmark"), argument }, nullptr, &handedBack));
    QCOMPARE(handedBack == QLatin1String("-") ? QString() : handedBack, archive);
    if (!archive.isEmpty())
        QCOMPARE(Settings::instance()->skinDirectory(), before);
}

void TestApplication::reopensTheLastPanel_data()
{
    QTest::addColumn<bool>("option");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("reopened");

    QTest::newRow("asked, there") << true << true << true;
    QTest::newRow("asked, gone") << true << false << false;
    QTest::newRow("not asked") << false << true << false;
}

void TestApplication::reopensTheLastPanel()
{
    QFETCH(bool, option);
    QFETCH(bool, exists);
    QFETCH(bool, reopened);
    const QString skin = mDir.filePath(QStringLiteral("recent/%1").arg(QTest::currentDataTag()));
    const QString panelFile = skin + QStringLiteral("/port/py_26.ini");
    QVERIFY(QDir().mkpath(skin + QStringLiteral("/port")));
    if (exists) {
        QFile file(panelFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[KEY1]\r\n");
    }
    Settings *settings = Settings::instance();
    settings->setSkinDirectory(QStringLiteral("/untouched"));
    settings->addRecentPanelFile(panelFile);
    settings->setReopenLastPanel(option);

    QCOMPARE(Application::reopenLastPanel(), reopened);
    QCOMPARE(settings->skinDirectory(), reopened ? skin : QStringLiteral("/untouched"));
    settings->setReopenLastPanel(false);
}

void TestApplication::catalogueForLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("catalogue");

    QTest::newRow("Chinese anywhere") << "zh"
                                      << "de_DE"
                                      << "zh";
    QTest::newRow("English on a Chinese system") << "en"
                                                 << "zh_CN"
                                                 << "";
    QTest::newRow("system: Chinese") << "system"
                                     << "zh_CN"
                                     << "zh";
    QTest::newRow("system: Taiwanese Chinese") << "system"
                                               << "zh_TW"
                                               << "zh";
    QTest::newRow("system: German") << "system"
                                    << "de_DE"
                                    << "";
    QTest::newRow("system: C") << "system"
                               << "C"
                               << "";
}

void TestApplication::catalogueForLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, system);
    QFETCH(QString, catalogue);
    QCOMPARE(Application::catalogueFor(language, QLocale(system)), catalogue);
}

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
