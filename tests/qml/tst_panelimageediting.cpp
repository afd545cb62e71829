// Editing keys directly on the preview: the real preview component on the
// real Panel and its image provider, on a copy of the demo skin, driven with
// mouse and key events. Every edit must reach the panel file as one undo step.
#include "testfiles.h"
#include "testpaths.h"

#include "app/application.h"
#include "app/settings.h"
#include "app/utils.h"
#include "panel/panel.h"
#include "panel/panelimageprovider.h"
#include "skin/skinconfig.h"
#include "skin/valuetext.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

const char scene[] = R"(
import QtQuick 2.15
import QtQuick.Window 2.15
import "qrc:/"
Window {
    width: 900
    height: 500
    visible: true
    PanelImage { objectName: "preview"; anchors.fill: parent }
}
)";

} // namespace

class TestPanelImageEditing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void fitsTheWholeCompositeOnOpen();
    void ctrlClickAddsAndRemoves();
    void doubleClickBesideTheKeysKeepsTheSelection();
    void rubberBandSelectsTouchedKeys();
    void dragMovesByTheUnitsUnderThePointer_data();
    void dragMovesByTheUnitsUnderThePointer();
    void dragSnapsToANeighbourUnlessAlt_data();
    void dragSnapsToANeighbourUnlessAlt();
    void handleResizes_data();
    void handleResizes();
    void nudgesBecomeOneUndoStep();
    void deleteAndDuplicateAreOneStepEach();

private:
    QRect viewRect(const QString &key) const;
    // the pane point of a point of the key's view rectangle (fx, fy in 0..1)
    QPointF paneAt(const QString &key, double fx, double fy) const;
    QStringList selection() const;
    void press(QPointF at, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void moveTo(QPointF at, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void release(QPointF at, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // a drag in small steps, as a hand makes it
    void drag(QPointF from, QPointF to, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void setView(double zoom, const QString &centredKey);
    void screenshot(const QString &name);

    QTemporaryDir mDir;
    QString mPanelFile;
    int mCase = 0;
    std::unique_ptr<Settings> mSettings;
    std::unique_ptr<QQmlEngine> mEngine;
    QQuickWindow *mWindow = nullptr;
    QQuickItem *mPreview = nullptr;
    Panel *mPanel = nullptr;
};

void TestPanelImageEditing::initTestCase()
{
    // headless machines have no OpenGL
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QVERIFY(mDir.isValid());
    QVERIFY(
        TestFiles::copyTree(QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo"), mDir.filePath(QStringLiteral("skin"))));
    mSettings = std::make_unique<Settings>(mDir.filePath(QStringLiteral("settings.ini")));
    mPanel = Panel::instance();
    mPanel->autoReloadTimer()->stop();

    mEngine = std::make_unique<QQmlEngine>();
    mEngine->rootContext()->setContextProperty(QStringLiteral("panel"), mPanel);
    mEngine->rootContext()->setContextProperty(QStringLiteral("rpSettings"), mSettings.get());
    mEngine->rootContext()->setContextProperty(QStringLiteral("utils"), Utils::instance());
    mEngine->addImageProvider(QStringLiteral("panel"), new PanelImageProvider);
    QQmlComponent component(mEngine.get());
    component.setData(scene, QUrl(QStringLiteral("qrc:/tst_panelimageediting.qml")));
    QObject *root = component.create();
    QVERIFY2(root, qPrintable(component.errorString()));
    mWindow = qobject_cast<QQuickWindow *>(root);
    QVERIFY(mWindow);
    QVERIFY(QTest::qWaitForWindowExposed(mWindow));
    mPreview = root->findChild<QQuickItem *>(QStringLiteral("preview"));
    QVERIFY(mPreview);
}

void TestPanelImageEditing::cleanupTestCase()
{
    delete mWindow;
    mEngine.reset();
    // as the editor does at its end
    Application::releaseSceneGraphTextures();
    mPanel->clean();
}

// Each test opens a fresh copy of the demo panel, in the skin's own folder.
void TestPanelImageEditing::init()
{
    mPanelFile = mDir.filePath(QStringLiteral("skin/port/case%1.ini").arg(++mCase));
    QVERIFY(QFile::copy(QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo/port/py_26.ini"), mPanelFile));
    QFile::setPermissions(mPanelFile, QFile::ReadOwner | QFile::WriteOwner);
    mPanel->setPanelFile(mPanelFile);
    QTRY_VERIFY(mPreview->property("keyRects").toList().size() == 33);
    QTRY_COMPARE(mPreview->property("image").value<QObject *>()->property("status").toInt(), 1);
    mPreview->forceActiveFocus();
}

QRect TestPanelImageEditing::viewRect(const QString &key) const
{
    return ValueText::parseRect(SkinConfig(mPanelFile).value(key + QStringLiteral("/VIEW_RECT")));
}

QPointF TestPanelImageEditing::paneAt(const QString &key, double fx, double fy) const
{
    const QRect r = viewRect(key);
    const double unit = mPreview->property("unit").toDouble();
    const QPointF origin = mPanel->panelOrigin();
    return QPointF(mPreview->property("imageX").toDouble() + (origin.x() + r.x() + r.width() * fx) * unit,
        mPreview->property("imageY").toDouble() + (origin.y() + r.y() + r.height() * fy) * unit);
}

QStringList TestPanelImageEditing::selection() const
{
    return mPreview->property("selectedKeys").toStringList();
}

void TestPanelImageEditing::press(QPointF at, Qt::KeyboardModifiers modifiers)
{
    QTest::mousePress(mWindow, Qt::LeftButton, modifiers, mPreview->mapToScene(at).toPoint());
}

void TestPanelImageEditing::moveTo(QPointF at, Qt::KeyboardModifiers modifiers)
{
    // QTest::mouseMove carries no modifiers
    const QPointF scenePoint = mPreview->mapToScene(at);
    QMouseEvent event(QEvent::MouseMove, scenePoint, mWindow->mapToGlobal(scenePoint.toPoint()), Qt::NoButton,
        Qt::LeftButton, modifiers);
    QGuiApplication::sendEvent(mWindow, &event);
}

void TestPanelImageEditing::release(QPointF at, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseRelease(mWindow, Qt::LeftButton, modifiers, mPreview->mapToScene(at).toPoint());
}

void TestPanelImageEditing::drag(QPointF from, QPointF to, Qt::KeyboardModifiers modifiers)
{
    press(from, modifiers);
    for (int i = 1; i <= 8; ++i)
        moveTo(from + (to - from) * i / 8.0, modifiers);
    release(to, modifiers);
}

void TestPanelImageEditing::setView(double zoom, const QString &centredKey)
{
    mPreview->setProperty("zoom", zoom);
    const QPointF at = paneAt(centredKey, 0.5, 0.5);
    mPreview->setProperty("imageX", mPreview->property("imageX").toDouble() + mPreview->width() / 2 - at.x());
    mPreview->setProperty(
        "imageY", mPreview->property("imageY").toDouble() + mPreview->height() / 2 - at.y());
}

// On request (QUILLMARK_PREVIEW_SCREENSHOTS names a folder), a picture of the
// preview for the documentation; nothing is written otherwise.
void TestPanelImageEditing::screenshot(const QString &name)
{
    const QString folder = qEnvironmentVariable("QUILLMARK_PREVIEW_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QTest::qWait(100);
    QVERIFY(mWindow->grabWindow().save(folder + QLatin1Char('/') + name + QStringLiteral(".png")));
}

void TestPanelImageEditing::fitsTheWholeCompositeOnOpen()
{
    QVERIFY(mPreview->property("followsPane").toBool());
    QQuickItem *image = mPreview->property("image").value<QQuickItem *>();
    const double zoom = mPreview->property("zoom").toDouble();
    const double shownWidth = image->width() * zoom;
    const double shownHeight = image->height() * zoom;
    QVERIFY(shownWidth <= mPreview->width() + 0.5 && shownHeight <= mPreview->height() + 0.5);
    // one side fills the pane, and the image is centred
    QVERIFY(qAbs(shownWidth - mPreview->width()) < 0.5 || qAbs(shownHeight - mPreview->height()) < 0.5);
    QVERIFY(qAbs(image->x() * 2 + shownWidth - mPreview->width()) < 1);

    // a wheel turn ends following; a status change keeps the zoom then
    QTest::qWait(0);
    QWheelEvent wheel(QPointF(100, 100), mWindow->mapToGlobal(QPoint(100, 100)), QPoint(), QPoint(0, 120),
        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QGuiApplication::sendEvent(mWindow, &wheel);
    QVERIFY(!mPreview->property("followsPane").toBool());
    const double zoomed = mPreview->property("zoom").toDouble();
    QVERIFY(zoomed > zoom);
    mPanel->setCurrentStatus(4);
    QCOMPARE(mPreview->property("zoom").toDouble(), zoomed);
    mPanel->setCurrentStatus(0);

    // "fit" follows the pane again, also when the window changes size
    QVERIFY(QMetaObject::invokeMethod(mPreview, "fitToPane"));
    QCOMPARE(mPreview->property("zoom").toDouble(), zoom);
    mWindow->resize(600, 500);
    QTRY_VERIFY(mPreview->property("zoom").toDouble() < zoom);
    mWindow->resize(900, 500);
    QTRY_COMPARE(mPreview->property("zoom").toDouble(), zoom);
}

void TestPanelImageEditing::ctrlClickAddsAndRemoves()
{
    QTest::mouseClick(mWindow, Qt::LeftButton, Qt::NoModifier,
        mPreview->mapToScene(paneAt(QStringLiteral("KEY1"), 0.5, 0.5)).toPoint());
    QCOMPARE(selection(), QStringList { QStringLiteral("KEY1") });
    QTest::mouseClick(mWindow, Qt::LeftButton, Qt::ControlModifier,
        mPreview->mapToScene(paneAt(QStringLiteral("KEY2"), 0.5, 0.5)).toPoint());
    QCOMPARE(selection(), (QStringList { QStringLiteral("KEY1"), QStringLiteral("KEY2") }));
    screenshot(QStringLiteral("two-keys"));
    QTest::mouseClick(mWindow, Qt::LeftButton, Qt::ShiftModifier,
        mPreview->mapToScene(paneAt(QStringLiteral("KEY1"), 0.5, 0.5)).toPoint());
    QCOMPARE(selection(), QStringList { QStringLiteral("KEY2") });
    // a plain click replaces the selection; Esc clears it
    QTest::mouseClick(mWindow, Qt::LeftButton, Qt::NoModifier,
        mPreview->mapToScene(paneAt(QStringLiteral("KEY3"), 0.5, 0.5)).toPoint());
    QCOMPARE(selection(), QStringList { QStringLiteral("KEY3") });
    screenshot(QStringLiteral("one-key"));
    QTest::keyClick(mWindow, Qt::Key_Escape);
    QVERIFY(selection().isEmpty());
    QTest::keyClick(mWindow, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(selection().size(), 33);
    QVERIFY(!mPanel->canUndo());
}

void TestPanelImageEditing::doubleClickBesideTheKeysKeepsTheSelection()
{
    QTest::mouseClick(mWindow, Qt::LeftButton, Qt::NoModifier,
        mPreview->mapToScene(paneAt(QStringLiteral("KEY1"), 0.5, 0.5)).toPoint());
    mPreview->setProperty("zoom", 2.0);
    // the gap above the first row
    const QPointF beside
        = paneAt(QStringLiteral("KEY1"), 0.5, 0) - QPointF(0, 6 * mPreview->property("unit").toDouble());
    QTest::mouseDClick(mWindow, Qt::LeftButton, Qt::NoModifier, mPreview->mapToScene(beside).toPoint());
    QCOMPARE(mPreview->property("zoom").toDouble(), 1.0 / mPreview->property("dpr").toDouble());
    QCOMPARE(selection(), QStringList { QStringLiteral("KEY1") });
}

void TestPanelImageEditing::rubberBandSelectsTouchedKeys()
{
    // from the gap above KEY1 (the first row starts 12 units down) to the
    // middle of KEY2: KEY1 lies inside the band, KEY2 is touched
    const QRect key1 = viewRect(QStringLiteral("KEY1"));
    QVERIFY(key1.y() >= 8);
    const QPointF from
        = paneAt(QStringLiteral("KEY1"), 0, 0) - QPointF(0, 6 * mPreview->property("unit").toDouble());
    drag(from, paneAt(QStringLiteral("KEY2"), 0.5, 0.5));
    QStringList selected = selection();
    selected.sort();
    QCOMPARE(selected, (QStringList { QStringLiteral("KEY1"), QStringLiteral("KEY2") }));
    QVERIFY(!mPanel->canUndo());
}

void TestPanelImageEditing::dragMovesByTheUnitsUnderThePointer_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPointF>("pixels");
    QTest::newRow("zoom 0.5") << 0.5 << QPointF(15, -20);
    QTest::newRow("zoom 1") << 1.0 << QPointF(37, 23);
    QTest::newRow("zoom 2") << 2.0 << QPointF(-44, 30);
}

void TestPanelImageEditing::dragMovesByTheUnitsUnderThePointer()
{
    QFETCH(double, zoom);
    QFETCH(QPointF, pixels);
    const QString key = QStringLiteral("KEY12");
    setView(zoom, key);
    const QRect before = viewRect(key);
    const QRect neighbour = viewRect(QStringLiteral("KEY13"));
    QTest::mouseClick(
        mWindow, Qt::LeftButton, Qt::NoModifier, mPreview->mapToScene(paneAt(key, 0.5, 0.5)).toPoint());
    QCOMPARE(selection(), QStringList { key });

    const QPointF from = paneAt(key, 0.5, 0.5);
    QSignalSpy reloads(mPanel, &Panel::panelReloaded);
    press(from, Qt::AltModifier);
    for (int i = 1; i <= 8; ++i)
        moveTo(from + pixels * i / 8.0, Qt::AltModifier);
    // while dragging only the outline moves: the panel is not drawn again
    QCOMPARE(reloads.count(), 0);
    release(from + pixels, Qt::AltModifier);

    // pixels in the scene are whole: the distance is what the pointer
    // covered, in panel units
    const QPointF covered
        = QPointF(mPreview->mapToScene(from + pixels).toPoint() - mPreview->mapToScene(from).toPoint());
    const double unit = mPreview->property("unit").toDouble();
    const QPoint expected(std::lround(covered.x() / unit), std::lround(covered.y() / unit));
    QCOMPARE(viewRect(key), before.translated(expected));
    QCOMPARE(viewRect(QStringLiteral("KEY13")), neighbour);
    QVERIFY(mPanel->canUndo());
    mPanel->undo();
    QVERIFY(!mPanel->canUndo());
    QCOMPARE(viewRect(key), before);
}

void TestPanelImageEditing::dragSnapsToANeighbourUnlessAlt_data()
{
    QTest::addColumn<bool>("free");
    QTest::newRow("snaps") << false;
    QTest::newRow("Alt moves freely") << true;
}

void TestPanelImageEditing::dragSnapsToANeighbourUnlessAlt()
{
    QFETCH(bool, free);
    // KEY12 is dragged down onto the row below, 3 pixels short of lining
    // up with KEY22's top edge
    const QString key = QStringLiteral("KEY12");
    setView(1.0, key);
    const double unit = mPreview->property("unit").toDouble();
    const QRect before = viewRect(key);
    const QRect below = viewRect(QStringLiteral("KEY22"));
    QVERIFY(below.y() > before.y());
    QTest::mouseClick(
        mWindow, Qt::LeftButton, Qt::NoModifier, mPreview->mapToScene(paneAt(key, 0.5, 0.5)).toPoint());
    const QPointF from = paneAt(key, 0.5, 0.5);
    const double dy = (below.y() - before.y()) * unit - 3;
    const Qt::KeyboardModifiers modifiers = free ? Qt::AltModifier : Qt::NoModifier;
    press(from, modifiers);
    for (int i = 1; i <= 8; ++i)
        moveTo(from + QPointF(0, dy) * i / 8.0, modifiers);
    screenshot(free ? QStringLiteral("drag-free") : QStringLiteral("drag-snapped"));
    release(from + QPointF(0, dy), modifiers);
    const int expected = free ? int(std::lround(std::round(dy) / unit)) : below.y() - before.y();
    QCOMPARE(viewRect(key).y(), before.y() + expected);
    QCOMPARE(viewRect(key).x(), before.x());
}

void TestPanelImageEditing::handleResizes_data()
{
    QTest::addColumn<QString>("handle");
    QTest::addColumn<QPointF>("pixels");
    QTest::addColumn<bool>("keepAspect");
    QTest::addColumn<QRect>("change"); // dx, dy, dw, dh in units at zoom 1
    QTest::newRow("bottom right") << "bottomRight" << QPointF(20, 10) << false << QRect(0, 0, 20, 10);
    QTest::newRow("left") << "left" << QPointF(-8, 5) << false << QRect(-8, 0, 8, 0);
    QTest::newRow("top with Shift keeps the aspect") << "top" << QPointF(0, -33) << true << QRect();
}

void TestPanelImageEditing::handleResizes()
{
    QFETCH(QString, handle);
    QFETCH(QPointF, pixels);
    QFETCH(bool, keepAspect);
    QFETCH(QRect, change);
    const QString key = QStringLiteral("KEY12");
    const QRect before = viewRect(key);
    setView(1.0 / mPanel->scale(), key);
    QCOMPARE(mPreview->property("unit").toDouble(), 1.0);
    QTest::mouseClick(
        mWindow, Qt::LeftButton, Qt::NoModifier, mPreview->mapToScene(paneAt(key, 0.5, 0.5)).toPoint());
    // the handles are made by a repeater: search the visual tree
    QQuickItem *grip = nullptr;
    QList<QQuickItem *> queue { mPreview };
    while (!queue.isEmpty() && !grip) {
        QQuickItem *candidate = queue.takeFirst();
        if (candidate->objectName() == QStringLiteral("handle_") + handle)
            grip = candidate;
        queue += candidate->childItems();
    }
    QVERIFY(grip);
    const QPointF from = grip->mapToItem(mPreview, QPointF(grip->width() / 2, grip->height() / 2));
    // Alt: nothing snaps, so the change is the pointer's
    const Qt::KeyboardModifiers modifiers
        = Qt::AltModifier | (keepAspect ? Qt::ShiftModifier : Qt::NoModifier);
    drag(from, from + pixels, modifiers);
    const QRect after = viewRect(key);
    if (keepAspect) {
        QCOMPARE(after.height(), before.height() + 33);
        QCOMPARE(after.width(), int(std::lround(double(after.height()) * before.width() / before.height())));
        QCOMPARE(after.bottom(), before.bottom());
    } else {
        QCOMPARE(after,
            QRect(before.x() + change.x(), before.y() + change.y(), before.width() + change.width(),
                before.height() + change.height()));
    }
    mPanel->undo();
    QVERIFY(!mPanel->canUndo());
    QCOMPARE(viewRect(key), before);
}

void TestPanelImageEditing::nudgesBecomeOneUndoStep()
{
    const QString key = QStringLiteral("KEY5");
    const QRect before = viewRect(key);
    const QRect touchBefore
        = ValueText::parseRect(SkinConfig(mPanelFile).value(key + QStringLiteral("/TOUCH_RECT")));
    QTest::mouseClick(
        mWindow, Qt::LeftButton, Qt::NoModifier, mPreview->mapToScene(paneAt(key, 0.5, 0.5)).toPoint());
    QSignalSpy reloads(mPanel, &Panel::panelReloaded);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(mWindow, Qt::Key_Right);
    QTest::keyClick(mWindow, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(mWindow, Qt::Key_Left);
    // the outline moved at once, the file waits for the pause
    QCOMPARE(mPreview->property("moveDx").toDouble(), 2.0);
    QCOMPARE(mPreview->property("moveDy").toDouble(), 10.0);
    QCOMPARE(viewRect(key), before);
    QCOMPARE(reloads.count(), 0);
    QTRY_COMPARE(viewRect(key), before.translated(2, 10));
    QCOMPARE(ValueText::parseRect(SkinConfig(mPanelFile).value(key + QStringLiteral("/TOUCH_RECT"))),
        touchBefore.translated(2, 10));
    mPanel->undo();
    QVERIFY(!mPanel->canUndo());
    QCOMPARE(viewRect(key), before);

    // nothing selected: the arrows change nothing
    QTest::keyClick(mWindow, Qt::Key_Escape);
    QTest::keyClick(mWindow, Qt::Key_Right);
    QCOMPARE(mPreview->property("moveDx").toDouble(), 0.0);
}

void TestPanelImageEditing::deleteAndDuplicateAreOneStepEach()
{
    const QString key = QStringLiteral("KEY5");
    const QRect before = viewRect(key);
    const QString next = mPanel->getNewKey();
    QTest::mouseClick(
        mWindow, Qt::LeftButton, Qt::NoModifier, mPreview->mapToScene(paneAt(key, 0.5, 0.5)).toPoint());
    QTest::mouseClick(mWindow, Qt::LeftButton, Qt::ControlModifier,
        mPreview->mapToScene(paneAt(QStringLiteral("KEY6"), 0.5, 0.5)).toPoint());

    QTest::keyClick(mWindow, Qt::Key_D, Qt::ControlModifier);
    const int first = Panel::keyNumber(next);
    const QStringList copies { QStringLiteral("KEY%1").arg(first), QStringLiteral("KEY%1").arg(first + 1) };
    QCOMPARE(selection(), copies);
    QCOMPARE(viewRect(copies.first()), before.translated(10, 10));
    SkinConfig written(mPanelFile);
    QCOMPARE(written.value(copies.first() + QStringLiteral("/BACK_STYLE")),
        written.value(key + QStringLiteral("/BACK_STYLE")));
    QCOMPARE(mPreview->property("keyRects").toList().size(), 35);
    mPanel->undo();
    QVERIFY(!mPanel->canUndo());
    QVERIFY(viewRect(copies.first()).isEmpty());

    QTest::mouseClick(
        mWindow, Qt::LeftButton, Qt::NoModifier, mPreview->mapToScene(paneAt(key, 0.5, 0.5)).toPoint());
    QCOMPARE(selection(), QStringList { key });
    QTest::keyClick(mWindow, Qt::Key_Delete);
    QVERIFY(viewRect(key).isEmpty());
    QVERIFY(selection().isEmpty());
    QVERIFY(!viewRect(QStringLiteral("KEY6")).isEmpty());
    mPanel->undo();
    QVERIFY(!mPanel->canUndo());
    QCOMPARE(viewRect(key), before);
    // with nothing selected Delete removes nothing (an empty list would
    // mean all keys to the panel)
    QTest::keyClick(mWindow, Qt::Key_Delete);
    QVERIFY(!mPanel->canUndo());
}

QTEST_MAIN(TestPanelImageEditing)

#include "tst_panelimageediting.moc"
