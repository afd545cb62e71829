#include "application.h"

#include "archivejob.h"
#include "certificateauthorities.h"
#include "editor/documenthandler.h"
#include "messagehandler.h"
#include "messagemodel.h"
#include "panel/panel.h"
#include "panel/panelimageprovider.h"
#include "problemmodel.h"
#include "sceneurlinterceptor.h"
#include "settings.h"
#include "styles/builtinfonts.h"
#include "styles/stylesimageprovider.h"
#include "styles/stylesmanager.h"
#include "tools/fontresgenerator.h"
#include "tools/fontresimageprovider.h"
#include "tools/innerrecttool.h"
#include "tools/innerrecttoolimageprovider.h"
#include "tools/panelcreator.h"
#include "tools/panelscaler.h"
#include "tools/resolutionconverter.h"
#include "tools/tiletool.h"
#include "utils.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QOpenGLContext>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTimer>
#include <QTranslator>
#include <QWindow>
#include <QtQml>

#include <algorithm>
#include <memory>
#include <utility>

#include <cstdio>

Application::Application(int &argc, char **argv)
    : mMainUrl(QStringLiteral("qrc:/windows/main.qml"))
{
    if (!QCoreApplication::instance()) {
        QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
        mOwnApplication = std::make_unique<QApplication>(argc, argv);
    }
    mMessages = std::make_unique<MessageModel>();
    mProblems = std::make_unique<ProblemModel>();
    mArchiveJob = std::make_unique<ArchiveJob>();
}

Application::~Application()
{
    QObject::disconnect(mLanguageConnection);
    // The engine goes first, then the translators, then the application.
    // Only a scene that made a window has textures; a first window made at
    // the end would start the scene graph for nothing.
    const QWindowList windows = QGuiApplication::allWindows();
    const bool hadWindow = std::any_of(windows.cbegin(), windows.cend(),
        [](QWindow *window) { return qobject_cast<QQuickWindow *>(window) != nullptr; });
    mEngine.reset();
    // (and the textures of the window's pictures with it)
    if (hadWindow)
        releaseSceneGraphTextures();
    // (a run still going is cancelled and waited for; the scene is gone)
    mArchiveJob.reset();
    mProblems.reset();
    mMessages.reset();
    mDialogTranslator.reset();
    mTranslator.reset();
    mOwnApplication.reset();
}

QObject *Application::rootObject() const
{
    if (!mEngine || mEngine->rootObjects().isEmpty())
        return nullptr;
    return mEngine->rootObjects().first();
}

void Application::setIdentity()
{
    QCoreApplication::setApplicationName(QObject::tr("Quillmark"));
    QGuiApplication::setApplicationDisplayName(QObject::tr("Quillmark Studio"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("quillmark.org"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmark"));
    QCoreApplication::setApplicationVersion(Utils::instance()->getVersion());
    // the installed desktop file, for the window's icon and name on Wayland
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillmark.Studio"));
}

bool Application::start(const QStringList &arguments)
{
    setIdentity();

    MessageHandler::install(Settings::instance()->logLevel());
    qDebug() << "MessageHandler installed!";

    // Finding the certificate authorities (a few hundred files read, the TLS
    // library loaded) waits for the window's first frame: nothing uses the
    // network before, and the start-up would share the processor with it.
    // Logged at debug level, the step keeps its place in the log.
    const bool authoritiesNow = MessageHandler::threshold() <= int(QtDebugMsg);
    if (authoritiesNow)
        trimCertificateAuthorities();
    addFonts();
    installTranslators();

    qmlRegisterType<DocumentHandler>("Quillmark.Editor", 1, 0, "DocumentHandler");

    chooseSceneGraphBackend();
    mEngine = std::make_unique<QQmlApplicationEngine>();
    // Software drawing leaves the controls' raised backgrounds out.
    if (drawsInSoftware() && SceneUrlInterceptor::flatEffectAvailable()) {
        mSceneUrlInterceptor = std::make_unique<SceneUrlInterceptor>();
        mEngine->setUrlInterceptor(mSceneUrlInterceptor.get());
    }
    publishContextProperties();
    addImageProviders();

    mEngine->load(mMainUrl);
    if (mEngine->rootObjects().isEmpty()) {
        mEngine.reset();
        mExitCode = -1;
        return false;
    }
    QQuickWindow *window = qobject_cast<QQuickWindow *>(rootObject());
    tellFirstFrame(window);
    // What the first frame does not show waits for it (or for a second,
    // should the window not be shown): the skin's problems, whose check reads
    // the skin's files again, and the certificate authorities.
    if (window) {
        mProblems->setHeld(true);
        ProblemModel *problems = mProblems.get();
        afterFirstFrameOrSecond(window, problems, [problems] { problems->setHeld(false); });
        if (!authoritiesNow)
            afterFirstFrameOrSecond(window, mEngine.get(), &Application::trimCertificateAuthorities);
    } else if (!authoritiesNow) {
        trimCertificateAuthorities();
    }

    int code = 0;
    QString archive;
    if (!applyCommandLine(arguments, &code, &archive)) {
        mExitCode = code;
        mEngine.reset();
        return false;
    }
    if (!archive.isEmpty())
        QMetaObject::invokeMethod(rootObject(), "offerImport", Q_ARG(QVariant, archive));
    else if (Panel::instance()->currentPanelFile().isEmpty())
        reopenLastPanel();

    // The scene reacts as to any change: preview, window title, file tree.
    emit Panel::instance()->panelReloaded();
    emit Panel::instance()->currentPanelFileChanged();
    emit Settings::instance()->skinDirectoryChanged();

    // File › Recent: every panel file the editor shows; the first is added
    // once the window is up (a new entry is written to the settings file at
    // once).
    const auto addRecent
        = [] { Settings::instance()->addRecentPanelFile(Panel::instance()->currentPanelFile()); };
    QObject::connect(Panel::instance(), &Panel::currentPanelFileChanged, mEngine.get(), addRecent);
    if (window)
        afterFirstFrameOrSecond(window, mEngine.get(), addRecent);
    else
        addRecent();
    return true;
}

int Application::exec()
{
    qDebug() << "qml loaded!";
    return QCoreApplication::exec();
}

void Application::chooseSceneGraphBackend()
{
    // Headless runs (offscreen, a virtual display without GL) would abort in
    // the scene graph: draw in software there.
    if (!qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        return;
    QOpenGLContext context;
    if (!context.create()) {
        qDebug() << "no OpenGL available: the scene is drawn in software";
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    }
}

bool Application::drawsInSoftware()
{
    return QQuickWindow::sceneGraphBackend() == QLatin1String("software")
        || qgetenv("QT_QUICK_BACKEND") == "software" || qgetenv("QMLSCENE_DEVICE") == "softwarecontext";
}

void Application::trimCertificateAuthorities()
{
    applyCertificateAuthorities(keptCertificateAuthorities());
}

QList<QSslCertificate> Application::keptCertificateAuthorities()
{
    static const QStringList kept = { QStringLiteral("DST Root CA X3"),
        QStringLiteral("Baltimore CyberTrust Root"), QStringLiteral("COMODO RSA Certification Authority") };
    return CertificateAuthorities::systemIssuedBy(kept);
}

void Application::applyCertificateAuthorities(const QList<QSslCertificate> &kept)
{
    for (const QSslCertificate &certificate : kept)
        qDebug() << "CA: " << certificate.issuerDisplayName();
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setCaCertificates(kept);
    QSslConfiguration::setDefaultConfiguration(configuration);
}

namespace {

// Adds a font from the resources; its first family, or an empty text.
QString addFont(const QString &path)
{
    const int id = QFontDatabase::addApplicationFont(path);
    if (id < 0) {
        qInfo() << "can not add default input font: " << id << "!";
        return QString();
    }
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    const QString family = families.isEmpty() ? QString() : families.first();
    qDebug() << "font added: " << family;
    return family;
}

} // namespace

void Application::addFonts()
{
    // Qt builds its font database at the first use of a font and then
    // registers the fonts added before once more, which would read the CJK
    // face's character map a second time: built first, each font is read once.
    const QFontDatabase built;
    Q_UNUSED(built)
    // The CJK face comes from its file, not from the resources (see
    // BuiltInFonts).
    const QString cjkFamily = BuiltInFonts::cjkFamily();
    if (!cjkFamily.isEmpty()) {
        qDebug() << "font added: " << cjkFamily;
        // The default interface font is named by its face, which the system's
        // font matching does not know as a family: it would show another
        // font and read the system's CJK collections as well.
        QFont::insertSubstitution(Settings::defaultUiFont(), cjkFamily);
    }
    const QString monoFamily = addFont(QStringLiteral(":/fonts/NotoMono-Regular.ttf"));
    // The text editor's mono font lacks Chinese characters.
    if (!monoFamily.isEmpty())
        QFont::insertSubstitution(monoFamily, cjkFamily);
    qDebug() << "Application font set!";
}

void Application::tellFirstFrame(QQuickWindow *window)
{
    afterFirstFrame(window, window, [window] { window->setProperty("firstFrameShown", true); });
}

void Application::afterFirstFrame(QQuickWindow *window, QObject *context, const std::function<void()> &work)
{
    if (!window)
        return;
    // (the frame may be swapped on the render thread; the work is done on
    // the context's own)
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(
        window, &QQuickWindow::frameSwapped, context,
        [work, connection] {
            QObject::disconnect(*connection);
            work();
        },
        Qt::QueuedConnection);
}

void Application::afterFirstFrameOrSecond(
    QQuickWindow *window, QObject *context, const std::function<void()> &work)
{
    auto done = std::make_shared<bool>(false);
    const auto once = [done, work] {
        if (!std::exchange(*done, true))
            work();
    };
    afterFirstFrame(window, context, once);
    QTimer::singleShot(1000, context, once);
}

void Application::releaseSceneGraphTextures()
{
    if (QQuickWindow::sceneGraphBackend() != QLatin1String("software"))
        return;
    QQuickWindow window;
    window.resize(1, 1);
    // The images no item shows leave the cache, which deletes their texture
    // factories; the sync of one frame then deletes those factories'
    // textures.
    window.releaseResources();
    window.grabWindow();
}

void Application::installTranslators()
{
    applyLanguage(Settings::instance()->language());
    // a new choice in the settings applies at once
    mLanguageConnection = QObject::connect(Settings::instance(), &Settings::languageChanged,
        [this] { applyLanguage(Settings::instance()->language()); });
    qDebug() << "translations installed!";
}

QString Application::catalogueFor(const QString &language, const QLocale &system)
{
    if (language == QLatin1String("en"))
        return QString();
    if (language == QLatin1String("system"))
        return system.language() == QLocale::Chinese ? QStringLiteral("zh") : QString();
    return QStringLiteral("zh");
}

void Application::applyLanguage(const QString &language)
{
    if (mTranslator)
        QCoreApplication::removeTranslator(mTranslator.get());
    if (mDialogTranslator)
        QCoreApplication::removeTranslator(mDialogTranslator.get());
    mTranslator.reset();
    mDialogTranslator.reset();

    // English needs no catalogue: its texts are the source texts. A missing
    // catalogue leaves them too.
    if (catalogueFor(language, QLocale::system()) == QLatin1String("zh")) {
        mTranslator = std::make_unique<QTranslator>();
        mTranslator->load(QStringLiteral(":/translations/tr_zh.qm"));
        QCoreApplication::installTranslator(mTranslator.get());
        mDialogTranslator = std::make_unique<QTranslator>();
        mDialogTranslator->load(QStringLiteral(":/translations/qt_base_dialog_zh_CN.qm"));
        QCoreApplication::installTranslator(mDialogTranslator.get());
    }
    if (mEngine)
        mEngine->retranslate();
}

void Application::publishContextProperties()
{
    QQmlContext *context = mEngine->rootContext();
    // One line per object, in this order; each object is created here by its
    // accessor if nothing asked for it before.
    context->setContextProperty(QStringLiteral("panel"), Panel::instance());
    qDebug() << "qml panel context set!";
    connectSettings(Settings::instance(), Panel::instance(), mEngine.get());
    context->setContextProperty(QStringLiteral("rpSettings"), Settings::instance());
    qDebug() << "qml rpSettings context set!";
    context->setContextProperty(QStringLiteral("utils"), Utils::instance());
    qDebug() << "qml utils context set!";
    context->setContextProperty(QStringLiteral("stylesManager"), StylesManager::instance());
    qDebug() << "qml stylesManager context set!";
    context->setContextProperty(QStringLiteral("fontResGenerator"), FontResGenerator::instance());
    qDebug() << "qml fontResGenerator context set!";
    context->setContextProperty(QStringLiteral("resolutionConverter"), ResolutionConverter::instance());
    qDebug() << "qml resolutionConverter context set!";
    context->setContextProperty(QStringLiteral("panelScaler"), PanelScaler::instance());
    qDebug() << "qml panelScaler context set!";
    context->setContextProperty(QStringLiteral("tileTool"), TileTool::instance());
    qDebug() << "qml tileTool context set!";
    context->setContextProperty(QStringLiteral("innerRectTool"), InnerRectTool::instance());
    qDebug() << "qml innerRectTool context set!";
    context->setContextProperty(QStringLiteral("panelCreator"), PanelCreator::instance());
    qDebug() << "qml panelCreator context set!";

    // Everything that reports an outcome to the author reports into one list.
    for (QObject *object : std::initializer_list<QObject *> { Panel::instance(), Utils::instance(),
             FontResGenerator::instance(), ResolutionConverter::instance(), PanelScaler::instance(),
             TileTool::instance(), InnerRectTool::instance(), PanelCreator::instance(), mArchiveJob.get() })
        mMessages->watch(object);
    context->setContextProperty(QStringLiteral("archiveJob"), mArchiveJob.get());
    context->setContextProperty(QStringLiteral("messages"), mMessages.get());

    mProblems->setPanel(Panel::instance());
    context->setContextProperty(QStringLiteral("problems"), mProblems.get());
}

void Application::connectSettings(Settings *settings, Panel *panel, QObject *context)
{
    panel->setViewRectColor(settings->viewRectColor());
    panel->setTouchRectColor(settings->touchRectColor());
    panel->setAutoReloadInterval(settings->autoReloadInterval());
    panel->setAutoReload(settings->autoReload());
    QObject::connect(settings, &Settings::viewRectColorChanged, context,
        [settings, panel] { panel->setViewRectColor(settings->viewRectColor()); });
    QObject::connect(settings, &Settings::touchRectColorChanged, context,
        [settings, panel] { panel->setTouchRectColor(settings->touchRectColor()); });
    QObject::connect(settings, &Settings::autoReloadIntervalChanged, context,
        [panel](int interval) { panel->setAutoReloadInterval(interval); });
    QObject::connect(settings, &Settings::autoReloadChanged, context,
        [settings, panel] { panel->setAutoReload(settings->autoReload()); });
}

void Application::connectSettings(Settings *settings, StylesImageProvider *provider, QObject *context)
{
    // The provider answers the scene's next request; the scene asks again
    // after the change signal, so it must see the new values first: this
    // runs before the scene connects to the same signals.
    auto apply = [settings, provider] {
        provider->setCheckerboard(settings->transparentBackgroudColor1(),
            settings->transparentBackgroudColor2(), settings->transparentBackgroudGridSize());
    };
    apply();
    for (auto signal : { &Settings::transparentBackgroudColor1Changed,
             &Settings::transparentBackgroudColor2Changed, &Settings::transparentBackgroudGridSizeChanged })
        QObject::connect(settings, signal, context, apply);
}

void Application::addImageProviders()
{
    // The engine owns the providers. One line per provider, in this order:
    mEngine->addImageProvider(QStringLiteral("panel"), new PanelImageProvider);
    qDebug() << "image provider added!";
    auto *styles = new StylesImageProvider;
    connectSettings(Settings::instance(), styles, mEngine.get());
    mEngine->addImageProvider(QStringLiteral("styles"), styles);
    qDebug() << "styles image provider added!";
    mEngine->addImageProvider(QStringLiteral("fontres"), new FontResImageProvider);
    qDebug() << "font res image provider added!";
    mEngine->addImageProvider(QStringLiteral("til"), new InnerRectToolImageProvider);
    qDebug() << "til res image provider added!";
}

namespace {

// The editor's command line, shared by the parser and the help text.
void describeCommandLine(QCommandLineParser &parser)
{
    // (English: it is printed before any catalogue is installed, and the
    // manual page is made from it)
    parser.setApplicationDescription(
        QStringLiteral("Quillmark Studio previews and edits the keyboard panels of input-method skins."));
    parser.addPositionalArgument(QStringLiteral("file"),
        QStringLiteral("A panel file (.ini) to open, or a skin archive (.bds, .bdi, .zip) to import."),
        QStringLiteral("[file]"));
}

bool isSkinArchive(const QFileInfo &info)
{
    const QString suffix = info.suffix().toLower();
    return suffix == QLatin1String("bds") || suffix == QLatin1String("bdi") || suffix == QLatin1String("zip");
}

void openPanelFile(const QString &path)
{
    const QString absolutePath = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    Panel::instance()->setPanelFile(absolutePath);
    const QString skinDirectory = QFileInfo(QFileInfo(absolutePath).absolutePath()).absolutePath();
    qDebug() << absolutePath << skinDirectory;
    Settings::instance()->setProperty("skinDirectory", skinDirectory);
}

} // namespace

QString Application::helpText()
{
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    describeCommandLine(parser);
    return parser.helpText();
}

bool Application::reopenLastPanel()
{
    Settings *settings = Settings::instance();
    const QStringList recent = settings->recentPanelFiles();
    if (!settings->reopenLastPanel() || recent.isEmpty() || !QFileInfo(recent.first()).isFile())
        return false;
    qDebug() << "reopening " << recent.first();
    openPanelFile(recent.first());
    return true;
}

bool Application::applyCommandLine(const QStringList &arguments, int *exitCode, QString *archive)
{
    QCommandLineParser parser;
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    describeCommandLine(parser);

    // What the standard parser prints, without its exit() from inside
    // start-up, which would tear the objects down under the live scene.
    auto finish = [exitCode](FILE *stream, const QString &text, int code) {
        std::fputs(text.toLocal8Bit().constData(), stream);
        std::fflush(stream);
        if (exitCode)
            *exitCode = code;
        return false;
    };
    if (!parser.parse(arguments))
        return finish(stderr,
            QCoreApplication::applicationName() + QStringLiteral(": ") + parser.errorText()
                + QLatin1Char('\n'),
            1);
    if (parser.isSet(versionOption))
        return finish(stdout,
            QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion()
                + QLatin1Char('\n'),
            0);
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all")))
        return finish(stdout, parser.helpText(), 0);

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return true;
    const QString panelFile = positional.first();
    qDebug() << "panelFile: " << panelFile;
    const QFileInfo info(panelFile);
    if (isSkinArchive(info)) {
        if (archive)
            *archive = QDir::cleanPath(info.absoluteFilePath());
        return true;
    }
    if (info.suffix() != QLatin1String("ini")) {
        qDebug() << "invalid file type! only *.ini file supported!";
        return true;
    }
    openPanelFile(panelFile);
    return true;
}
