#pragma once

#include <QList>
#include <QLocale>
#include <QMetaObject>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>

class QApplication;
class QObject;
class QQmlApplicationEngine;
class QQuickWindow;
class QSslCertificate;
class QTranslator;
class ArchiveJob;
class MessageModel;
class Panel;
class ProblemModel;
class SceneUrlInterceptor;
class Settings;
class StylesImageProvider;

// The editor's start-up, shared by main() and the end-to-end tests: identity,
// settings, the log handler, fonts, translations, the QML type, the context
// properties and image providers, the main window and the command line; the
// certificate authorities once the window's first frame is out (in their
// place after the log handler when debug messages are logged).
class Application
{
public:
    // Creates the widgets application unless one exists already (a test's).
    Application(int &argc, char **argv);
    ~Application();

    // The window to load; "qrc:/windows/main.qml" unless a test says otherwise.
    void setMainUrl(const QUrl &url) { mMainUrl = url; }

    // Runs start-up up to the point before the event loop. `arguments`
    // includes the program name, as QCoreApplication::arguments() does.
    // False when the process should end instead (the engine is gone then)
    // with exitCode(): -1 when the main window failed to load, 0 after
    // printing the help or the version, 1 for a malformed command line.
    bool start(const QStringList &arguments);
    int exitCode() const { return mExitCode; }
    // The event loop; its exit code.
    int exec();

    QQmlApplicationEngine *engine() const { return mEngine.get(); }
    QObject *rootObject() const;
    // The messages the window shows ("messages" in the scene).
    MessageModel *messages() const { return mMessages.get(); }
    // The open panel's problems ("problems" in the scene).
    ProblemModel *problems() const { return mProblems.get(); }
    // Imports and exports off the UI thread ("archiveJob" in the scene).
    ArchiveJob *archiveJob() const { return mArchiveJob.get(); }

    static void setIdentity();
    // Keeps only the three certificate authorities of the start-up in the
    // default TLS configuration: the two steps below, one after the other.
    static void trimCertificateAuthorities();
    // The system's certificates issued by those three (reads a few hundred
    // files and loads the TLS library; safe on any thread).
    static QList<QSslCertificate> keptCertificateAuthorities();
    // Logs each of `kept` and makes them the default configuration's list.
    static void applyCertificateAuthorities(const QList<QSslCertificate> &kept);
    static void chooseSceneGraphBackend();
    // Whether the scene graph draws in software (chosen, or asked for by the
    // environment).
    static bool drawsInSoftware();
    static void addFonts();
    // Sets the window's firstFrameShown once its first frame is out, so that
    // what need not be in that frame can come after it.
    static void tellFirstFrame(QQuickWindow *window);
    // Does `work` on `context`'s thread once `window` has shown its first
    // frame (unless `context` is gone by then).
    static void afterFirstFrame(QQuickWindow *window, QObject *context, const std::function<void()> &work);
    // The same, or a second from now should that frame not come first
    // (a window never shown): `work` is done once either way.
    static void afterFirstFrameOrSecond(
        QQuickWindow *window, QObject *context, const std::function<void()> &work);
    // Frees the textures the software scene graph still holds for images no
    // window shows any more; call it once the windows are gone. That scene
    // graph frees a texture only when a later frame is synced, and never
    // those of the images still cached when it ends, so the editor's end
    // would leave them behind. (The OpenGL one frees them with its last
    // window: nothing to do there.)
    static void releaseSceneGraphTextures();
    // Opens the panel file named on the command line, if any, and moves the
    // skin directory to its skin; a skin archive named there is handed back
    // in `archive` (the window offers to import it). False, with the code to
    // exit with, when the command line asked for the help or the version
    // (printed here) or could not be parsed: the caller ends the process in
    // order rather than exiting from inside start-up.
    static bool applyCommandLine(
        const QStringList &arguments, int *exitCode = nullptr, QString *archive = nullptr);
    // The editor's --help text.
    static QString helpText();
    // Opens the latest recent panel file when the settings ask for it and it
    // still exists; true when it did.
    static bool reopenLastPanel();

    // Hands `settings` to what may not read them itself, now and on every
    // change for as long as `context` lives: the panel's outline colours and
    // file watching, the styles provider's checkerboard.
    static void connectSettings(Settings *settings, Panel *panel, QObject *context);
    static void connectSettings(Settings *settings, StylesImageProvider *provider, QObject *context);

    // The catalogue locale for a language setting ("zh", "en", "system") on a
    // system of locale `system`: "zh" for Chinese, empty for the English
    // source texts.
    static QString catalogueFor(const QString &language, const QLocale &system);

    // Swaps the translators for the language and retranslates the scene.
    void applyLanguage(const QString &language);

private:
    void installTranslators();
    void publishContextProperties();
    void addImageProviders();

    std::unique_ptr<QApplication> mOwnApplication;
    std::unique_ptr<QTranslator> mTranslator;
    std::unique_ptr<QTranslator> mDialogTranslator;
    std::unique_ptr<MessageModel> mMessages;
    std::unique_ptr<ProblemModel> mProblems;
    std::unique_ptr<ArchiveJob> mArchiveJob;
    // (before the engine, which uses it until it is gone)
    std::unique_ptr<SceneUrlInterceptor> mSceneUrlInterceptor;
    std::unique_ptr<QQmlApplicationEngine> mEngine;
    QMetaObject::Connection mLanguageConnection;
    QUrl mMainUrl;
    int mExitCode = -1;
};
