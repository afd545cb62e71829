// Dragging keys on the preview: the real preview component on the demo skin
// with all 33 keys selected. One iteration is one pointer move of a drag: the
// snapping and the outlines following it (BM_DragUpdate), and the same with
// the window drawn again (BM_DragFrame), which must stay well inside a frame
// at 60 per second. The "renders" counter is the number of panel renders
// during the drags: it must be 0.

#include "app/settings.h"
#include "app/utils.h"
#include "panel/panel.h"
#include "panel/panelimageprovider.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace {

void dropMessages(QtMsgType, const QMessageLogContext &, const QString &)
{ }

const char scene[] = R"(
import QtQuick 2.15
import QtQuick.Window 2.15
import "qrc:/"
Window {
    width: 1000
    height: 640
    visible: true
    PanelImage { objectName: "preview"; anchors.fill: parent }
}
)";

// The preview on a copy of the demo skin (a release would write the file).
struct Fixture
{
    QTemporaryDir dir;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<QQmlEngine> engine;
    std::unique_ptr<QObject> root;
    QQuickWindow *window = nullptr;
    QQuickItem *preview = nullptr;
    QPointF pressAt;

    bool open()
    {
        const QString source = QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo");
        QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString target = dir.filePath(QDir(source).relativeFilePath(path));
            QDir().mkpath(QFileInfo(target).absolutePath());
            if (!QFile::copy(path, target))
                return false;
        }
        settings = std::make_unique<Settings>(dir.filePath(QStringLiteral("settings.ini")));
        Panel *panel = Panel::instance();
        panel->autoReloadTimer()->stop();
        panel->setPanelFile(dir.filePath(QStringLiteral("port/py_26.ini")));
        engine = std::make_unique<QQmlEngine>();
        engine->rootContext()->setContextProperty(QStringLiteral("panel"), panel);
        engine->rootContext()->setContextProperty(QStringLiteral("rpSettings"), settings.get());
        engine->rootContext()->setContextProperty(QStringLiteral("utils"), Utils::instance());
        engine->addImageProvider(QStringLiteral("panel"), new PanelImageProvider);
        QQmlComponent component(engine.get());
        component.setData(scene, QUrl(QStringLiteral("qrc:/bench_drag.qml")));
        root.reset(component.create());
        window = qobject_cast<QQuickWindow *>(root.get());
        preview = root ? root->findChild<QQuickItem *>(QStringLiteral("preview")) : nullptr;
        if (!window || !preview)
            return false;
        QCoreApplication::processEvents();
        QMetaObject::invokeMethod(preview, "selectAll");
        if (preview->property("selectedKeys").toStringList().size() != 33)
            return false;
        // the press lands on the first key
        const QVariantMap first = preview->property("keyRects").toList().value(0).toMap();
        const double unit = preview->property("unit").toDouble();
        pressAt = QPointF(
            preview->property("imageX").toDouble() + (first.value(QStringLiteral("x")).toDouble() + 5) * unit,
            preview->property("imageY").toDouble()
                + (first.value(QStringLiteral("y")).toDouble() + 5) * unit);
        return true;
    }

    void mouse(QEvent::Type type, QPointF at, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, at, window->mapToGlobal(at.toPoint()),
            type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QGuiApplication::sendEvent(window, &event);
    }
};

void drag(benchmark::State &state, bool drawFrames)
{
    Fixture fixture;
    if (!fixture.open()) {
        state.SkipWithError("the preview did not come up on the demo skin");
        return;
    }
    int renders = 0;
    QObject::connect(Panel::instance(), &Panel::panelReloaded, [&renders] { ++renders; });
    fixture.mouse(QEvent::MouseButtonPress, fixture.pressAt, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        // back and forth over 40 pixels, past the snapping distance
        const double offset = 10 + (step++ % 5) * 8;
        fixture.mouse(QEvent::MouseMove, fixture.pressAt + QPointF(offset, offset / 2), Qt::LeftButton);
        if (drawFrames) {
            const QImage frame = fixture.window->grabWindow();
            benchmark::DoNotOptimize(frame.constBits());
        }
    }
    state.counters["renders"] = renders;
    state.counters["keys"] = double(fixture.preview->property("selectedKeys").toStringList().size());
    // the release writes one move, into the copy
    fixture.mouse(QEvent::MouseMove, fixture.pressAt, Qt::LeftButton);
    fixture.mouse(QEvent::MouseButtonRelease, fixture.pressAt, Qt::NoButton);
}

void BM_DragUpdate(benchmark::State &state)
{
    drag(state, false);
}
BENCHMARK(BM_DragUpdate)->Unit(benchmark::kMicrosecond);

void BM_DragFrame(benchmark::State &state)
{
    drag(state, true);
}
BENCHMARK(BM_DragFrame)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    qInstallMessageHandler(dropMessages);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
