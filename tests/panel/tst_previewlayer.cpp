// The kept preview: a render after a change shows what a render from scratch
// shows (also where only the pressed keys are drawn again), and a render
// after no change gives the kept picture again.
//
// Each row renders a small panel of panel-colors (overlapping keys, one of
// them half-transparent, a list, a candidate layout, visible outlines),
// changes one thing the picture depends on, and renders again.

#include "panelfixture.h"

#include "panel/panelrenderer.h"
#include "skin/skinconfig.h"
#include "styles/style.h"
#include "styles/stylesmanager.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace PanelFixture;

namespace {

const QString testPanel
    = QStringLiteral("[PANEL]\nSIZE=100,60\nBACK_STYLE=3\n"
                     "[CAND]\nTYPE=2\nVIEW_RECT=0,0,100,20\nLAYOUT_NAME=cand\n"
                     "[LIST]\nTYPE=0\nLIST_NUM=2\nPOS=70,40\nCELL_STYLE=6\nFORE_STYLE=9\n"
                     "NAMES=a b\nLIST_ORDER=1\n"
                     "[KEY1]\nVIEW_RECT=10,10,30,30\nTOUCH_RECT=5,5,40,40\nBACK_STYLE=11\n"
                     "[KEY2]\nVIEW_RECT=30,20,20,20\nBACK_STYLE=2\nSTAT_STYLE=S4_1\n"
                     "[KEY4]\nVIEW_RECT=66,38,10,10\nBACK_STYLE=11\n"
                     "[TIP1]\nBACK_STYLE=4\n");
const QString testLayout
    = QStringLiteral("[CAND]\nBACK_STYLE=7\n"
                     "[ICON1]\nBACK_STYLE=1\nSIZE=10,10\nANCHOR_TYPE=1\nPOS=2,2\nPERSIST=3\n");
// On KEY1, which the candidate area above the panel moves down by 20 of 80.
const QPointF onKey1(0.2, 0.5);

enum Change {
    Nothing,
    PointOnSameKey,
    PointOffKeys,
    PointOnOtherKey,
    PointOnIcon,
    PointOnKeyUnderList,
    KeyEdit,
    PanelDocumentInPlace,
    GenDocumentInPlace,
    StyleAdded,
    StyleTableReloaded,
    Status,
    DeviceResolution,
    Resolution,
    OutlineColour,
    LayoutFileReloaded,
    LayoutFileWatched,
    LayoutFileDeletedWatched,
    PanelFileReloaded,
};

} // namespace

class TestPreviewLayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void renderAfterChange_data();
    void renderAfterChange();
    void clicksWhileTheSceneHoldsTheLastPicture();
    void changeDrawsIntoTheLetGoPicture_data();
    void changeDrawsIntoTheLetGoPicture();

private:
    bool apply(Change change);

    Panel *mPanel = nullptr;
    QScopedPointer<QTemporaryDir> mDir;
    QString mRoot;
};

void TestPreviewLayer::initTestCase()
{
    mPanel = Panel::instance();
}

void TestPreviewLayer::init()
{
    resetPanel(mPanel);
    mDir.reset(new QTemporaryDir);
    mRoot = mDir->path() + QStringLiteral("/skin");
    QVERIFY(mDir->isValid());
    QVERIFY(copyTree(dataPath(QStringLiteral("panel-colors")), mRoot));
    // Half-transparent, so that a key drawn again shows what lies under it.
    QFile table(mRoot + QStringLiteral("/res/default.css"));
    QVERIFY(table.open(QIODevice::Append));
    table.write("\r\n[STYLE11]\r\nNM_COLOR=80ff0000\r\nHL_COLOR=8000ff00\r\n");
    table.close();
    QVERIFY(writeText(mRoot + QStringLiteral("/port/test.ini"), testPanel));
    QVERIFY(writeText(mRoot + QStringLiteral("/port/cand.cnd"), testLayout));
    mPanel->setPanelFile(mRoot + QStringLiteral("/port/test.ini"));
    QVERIFY(!mPanel->loadFailed());
    mPanel->setDeviceResolution(200);
    mPanel->setViewRectColor(Qt::red);
    mPanel->setTouchRectColor(Qt::blue);
    mPanel->setHighlightPointF(onKey1);
}

bool TestPreviewLayer::apply(Change change)
{
    switch (change) {
    case Nothing:
        return true;
    case PointOnSameKey:
        mPanel->setHighlightPointF(onKey1 + QPointF(0.02, 0.02));
        return true;
    case PointOffKeys:
        mPanel->setHighlightPointF(QPointF(0.95, 0.95));
        return true;
    case PointOnOtherKey:
        mPanel->setHighlightPointF(QPointF(0.48, 0.6));
        return true;
    case PointOnIcon:
        mPanel->setHighlightPointF(QPointF(0.06, 0.08));
        return true;
    case PointOnKeyUnderList:
        // On KEY4 beside the list's first cell, which covers part of it.
        mPanel->setHighlightPointF(QPointF(0.67, 0.7375));
        return true;
    case KeyEdit:
        mPanel->recordAndEdit({ { QStringLiteral("KEY2/BACK_STYLE"), QStringLiteral("5") } });
        return true;
    case PanelDocumentInPlace:
        mPanel->panelConfig()->setValue(QStringLiteral("KEY2/VIEW_RECT"), QStringLiteral("60,20,20,20"));
        return true;
    case GenDocumentInPlace:
        mPanel->genConfig()->setValue(QStringLiteral("LIST/CELL_SIZE"), QStringLiteral("14,12"));
        return true;
    case StyleAdded: {
        QMap<QString, QString> properties;
        properties.insert(QStringLiteral("NM_COLOR"), QStringLiteral("00ff00"));
        StylesManager::instance()->addStyle(Style::fromSection(QStringLiteral("STYLE3"), properties, {}));
        return true;
    }
    case StyleTableReloaded: {
        QFile table(mRoot + QStringLiteral("/res/default.css"));
        if (!table.open(QIODevice::Append))
            return false;
        table.write("\r\n[STYLE12]\r\nNM_COLOR=00ff00\r\n");
        table.close();
        if (!writeText(mRoot + QStringLiteral("/port/test.ini"),
                testPanel + QStringLiteral("[KEY3]\nVIEW_RECT=80,10,10,10\nBACK_STYLE=12\n")))
            return false;
        mPanel->reload();
        return true;
    }
    case Status:
        mPanel->setCurrentStatus(4);
        return true;
    case DeviceResolution:
        mPanel->setDeviceResolution(300);
        return true;
    case Resolution:
        // The table of another resolution takes over.
        if (!writeText(mRoot + QStringLiteral("/480/res/default.css"),
                QStringLiteral("[STYLE3]\nNM_COLOR=ffff00\n")))
            return false;
        mPanel->setResolution(480);
        return true;
    case OutlineColour:
        mPanel->setViewRectColor(Qt::green);
        return true;
    case LayoutFileReloaded:
        if (!writeText(mRoot + QStringLiteral("/port/cand.cnd"),
                QString(testLayout).replace(QStringLiteral("POS=2,2"), QStringLiteral("POS=30,4"))))
            return false;
        mPanel->reload();
        return true;
    case LayoutFileWatched:
    case LayoutFileDeletedWatched: {
        // Another program writes or deletes the layout: one pass of the
        // watcher notices it and asks for a new picture, the next finds
        // nothing more.
        const QString layout = mRoot + QStringLiteral("/port/cand.cnd");
        if (change == LayoutFileWatched ? !writeText(
                layout, QString(testLayout).replace(QStringLiteral("POS=2,2"), QStringLiteral("POS=30,4")))
                                        : !QFile::remove(layout))
            return false;
        QSignalSpy reloaded(mPanel, &Panel::panelReloaded);
        QMetaObject::invokeMethod(mPanel, "detectFilesUpdate");
        QMetaObject::invokeMethod(mPanel, "detectFilesUpdate");
        return reloaded.count() == 1;
    }
    case PanelFileReloaded:
        if (!writeText(mRoot + QStringLiteral("/port/test.ini"),
                QString(testPanel).replace(QStringLiteral("10,10,30,30"), QStringLiteral("12,14,30,30"))))
            return false;
        mPanel->reload();
        return true;
    }
    return false;
}

void TestPreviewLayer::renderAfterChange_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("samePicture");
    QTest::addColumn<bool>("held");

    // The scene may still hold the last picture when it asks for the next,
    // or may have let it go, which lets the next be painted over it.
    for (const bool held : { true, false }) {
        const char *const first = held ? "held" : "dropped";
        QTest::addRow("%s, nothing", first) << int(Nothing) << true << held;
        QTest::addRow("%s, point moves within the pressed key", first) << int(PointOnSameKey) << true << held;
        QTest::addRow("%s, point leaves the keys", first) << int(PointOffKeys) << false << held;
        QTest::addRow("%s, point onto another key", first) << int(PointOnOtherKey) << false << held;
        QTest::addRow("%s, point onto a candidate icon", first) << int(PointOnIcon) << false << held;
        QTest::addRow("%s, point onto a key under the list", first)
            << int(PointOnKeyUnderList) << false << held;
        QTest::addRow("%s, key edited", first) << int(KeyEdit) << false << held;
        QTest::addRow("%s, panel document changed in place", first)
            << int(PanelDocumentInPlace) << false << held;
        QTest::addRow("%s, gen document changed in place", first) << int(GenDocumentInPlace) << false << held;
        QTest::addRow("%s, style added to the store", first) << int(StyleAdded) << false << held;
        QTest::addRow("%s, style table rewritten, reloaded", first)
            << int(StyleTableReloaded) << false << held;
        QTest::addRow("%s, status", first) << int(Status) << false << held;
        QTest::addRow("%s, device resolution", first) << int(DeviceResolution) << false << held;
        QTest::addRow("%s, resolution", first) << int(Resolution) << false << held;
        QTest::addRow("%s, outline colour", first) << int(OutlineColour) << false << held;
        QTest::addRow("%s, candidate layout rewritten, reloaded", first)
            << int(LayoutFileReloaded) << false << held;
        QTest::addRow("%s, candidate layout rewritten by another program", first)
            << int(LayoutFileWatched) << false << held;
        QTest::addRow("%s, candidate layout deleted by another program", first)
            << int(LayoutFileDeletedWatched) << false << held;
        QTest::addRow("%s, panel file rewritten, reloaded", first) << int(PanelFileReloaded) << false << held;
    }
}

void TestPreviewLayer::renderAfterChange()
{
    QFETCH(int, change);
    QFETCH(bool, samePicture);
    QFETCH(bool, held);

    QImage first = mPanel->renderPreview();
    const qint64 firstKey = first.cacheKey();
    const QImage before = held ? first : first.copy();
    first = QImage();
    QVERIFY(before.width() > 1);
    QVERIFY(apply(Change(change)));
    const QImage after = mPanel->renderPreview();
    const QImage fresh = PanelRenderer(*mPanel).renderPreview().image;
    QCOMPARE(after, fresh);
    // A stale picture would pass the comparison above only if the change
    // showed nothing; and no change must cost no render.
    QCOMPARE(after == before, samePicture);
    QCOMPARE(after.cacheKey() == firstKey, samePicture);
}

// The scene holds the picture it shows until the next one comes: every
// click draws into a picture let go one or more clicks before.
void TestPreviewLayer::clicksWhileTheSceneHoldsTheLastPicture()
{
    const QPointF points[] = {
        { 0.48, 0.6 }, // KEY2
        { 0.95, 0.95 }, // no key
        { 0.06, 0.08 }, // the candidate icon
        onKey1,
        { 0.67, 0.7375 }, // KEY4, under the list
        { 0.76, 0.8 }, // a list cell
        { 0.48, 0.6 },
        onKey1,
        { 0.95, 0.95 },
        onKey1,
    };
    QImage shown = mPanel->renderPreview();
    for (int round = 0; round < 2; ++round) {
        for (const QPointF &point : points) {
            mPanel->setHighlightPointF(point);
            shown = mPanel->renderPreview();
            QCOMPARE(shown, PanelRenderer(*mPanel).renderPreview().image);
        }
    }
}

void TestPreviewLayer::changeDrawsIntoTheLetGoPicture_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("key edited") << int(KeyEdit);
    QTest::newRow("outline colour") << int(OutlineColour);
}

// A picture the scene has let go is drawn into again, list and candidate
// area included: a whole new picture costs its copy and fresh memory.
void TestPreviewLayer::changeDrawsIntoTheLetGoPicture()
{
    QFETCH(int, change);
    QImage first = mPanel->renderPreview();
    const uchar *const bits = first.constBits();
    first = QImage();
    QVERIFY(apply(Change(change)));
    const QImage after = mPanel->renderPreview();
    QCOMPARE(after, PanelRenderer(*mPanel).renderPreview().image);
    QCOMPARE(after.constBits(), bits);
}

QTEST_MAIN(TestPreviewLayer)
#include "tst_previewlayer.moc"
