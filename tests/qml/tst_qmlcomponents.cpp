// Runs the tst_*.qml files of this folder. Every engine gets stand-ins for
// the native objects the scene reaches (panel, rpSettings, utils, messages) and small
// image providers, so that the components run without a skin.
#include "testpaths.h"

#include "app/application.h"
#include "editor/documenthandler.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickImageProvider>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QSGRendererInterface>
#include <QtQml/qqml.h>
#include <QtQuickTest>

namespace {

// A plain image of a fixed size for any id.
class FixedImageProvider : public QQuickImageProvider
{
public:
    FixedImageProvider(const QSize &size, const QColor &color)
        : QQuickImageProvider(QQuickImageProvider::Image)
        , mSize(size)
        , mColor(color)
    {
    }

    QImage requestImage(const QString &, QSize *size, const QSize &) override
    {
        QImage image(mSize, QImage::Format_ARGB32_Premultiplied);
        image.fill(mColor);
        if (size)
            *size = image.size();
        return image;
    }

private:
    QSize mSize;
    QColor mColor;
};

} // namespace

class Setup : public QObject
{
    Q_OBJECT

public:
    Setup()
    {
        // headless machines have no OpenGL
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
        qmlRegisterType<DocumentHandler>("Quillmark.Editor", 1, 0, "DocumentHandler");
        // a skin file the text editor tests may change
        const QString copy = mDir.filePath(QStringLiteral("gen.ini"));
        QFile::copy(QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo/port/gen.ini"), copy);
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    }

public slots:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        const QString dir = QStringLiteral(QUILLMARK_SOURCE_DIR "/tests/qml/");
        publish(engine, QStringLiteral("panel"), dir + QStringLiteral("MockPanel.qml"));
        publish(engine, QStringLiteral("rpSettings"), dir + QStringLiteral("MockSettings.qml"));
        publish(engine, QStringLiteral("utils"), dir + QStringLiteral("MockUtils.qml"));
        publish(engine, QStringLiteral("messages"), dir + QStringLiteral("MockMessages.qml"));
        engine->rootContext()->setContextProperty(QStringLiteral("testSourceDir"),
                                                  QStringLiteral(QUILLMARK_SOURCE_DIR));
        // where the tests may write files; removed when the runner ends
        engine->rootContext()->setContextProperty(QStringLiteral("testTempDir"), mDir.path());
        // the preview is 200 x 100 pixels, every style 20 x 10
        engine->addImageProvider(QStringLiteral("panel"), new FixedImageProvider(QSize(200, 100), Qt::white));
        engine->addImageProvider(QStringLiteral("styles"), new FixedImageProvider(QSize(20, 10), Qt::gray));
    }

    // After the last file's window, as the editor does at its end.
    void cleanupTestCase() { Application::releaseSceneGraphTextures(); }

private:
    QTemporaryDir mDir;

    static void publish(QQmlEngine *engine, const QString &name, const QString &file)
    {
        QQmlComponent component(engine, QUrl::fromLocalFile(file));
        QObject *object = component.create();
        if (!object)
            qFatal("%s", qPrintable(component.errorString()));
        object->setParent(engine);
        engine->rootContext()->setContextProperty(name, object);
    }
};

QUICK_TEST_MAIN_WITH_SETUP(quillmark_qml, Setup)

#include "tst_qmlcomponents.moc"
