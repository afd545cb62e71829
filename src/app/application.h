#pragma once

#include <QStringList>
#include <QUrl>

#include <memory>

class QApplication;
class QObject;
class QQmlApplicationEngine;
class QTranslator;

// The editor's start-up, shared by main() and the end-to-end tests: identity,
// settings, the log handler, certificate authorities, fonts, translations, the
// QML type, the context properties and image providers, the main window and
// the command line.
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
    // False when the main window failed to load (the engine is gone then).
    bool start(const QStringList &arguments);
    // The event loop; its exit code.
    int exec();

    QQmlApplicationEngine *engine() const { return mEngine.get(); }
    QObject *rootObject() const;

    static void setIdentity();
    static void trimCertificateAuthorities();
    static void chooseSceneGraphBackend();
    static void addFonts();
    // Opens the panel file named on the command line, if any, and moves the
    // skin directory to its skin.
    static void applyCommandLine(const QStringList &arguments);

private:
    void installTranslators();
    void publishContextProperties();
    void addImageProviders();

    std::unique_ptr<QApplication> mOwnApplication;
    std::unique_ptr<QTranslator> mTranslator;
    std::unique_ptr<QTranslator> mDialogTranslator;
    std::unique_ptr<QQmlApplicationEngine> mEngine;
    QUrl mMainUrl;
};
