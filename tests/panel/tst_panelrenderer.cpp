// The composite preview: layout, key drawing to the pixel, hit test, list,
// candidate area, broken sizes, the image provider and export.
//
// The fixture skin panel-colors has only colour styles, so the expected
// pixels follow from the geometry alone: 1 red (pressed green), 2 blue
// (pressed yellow), 3 grey, 4 cyan, 5 magenta, 6 dark grey, 7 orange,
// 8 white, 9 a black 20-pixel font style. Outlines are switched to
// transparent unless a test is about them.

#include "panelfixture.h"

#include "panel/panelimageprovider.h"
#include "panel/panelrenderer.h"
#include "skin/imagelimits.h"
#include "skin/valuetext.h"
#include "styles/stylesmanager.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace PanelFixture;

namespace {

const QColor red(255, 0, 0);
const QColor green(0, 255, 0);
const QColor blue(0, 0, 255);
const QColor yellow(255, 255, 0);
const QColor grey(128, 128, 128);
const QColor cyan(0, 255, 255);
const QColor magenta(255, 0, 255);
const QColor dark(64, 64, 64);
const QColor orange(255, 128, 0);
const QColor white(255, 255, 255);
const QColor black(0, 0, 0);

bool isTransparent(const QImage &image, int x, int y)
{
    return image.rect().contains(x, y) && qAlpha(image.pixel(x, y)) == 0;
}

// Height of the sample input line in the input style of panel-colors.
int inputHeight()
{
    return StylesManager::instance()->textImage(9, PanelRenderer::sampleInput(), 0, false, 1.0).height();
}

} // namespace

class TestPanelRenderer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void noPanel();
    void scale_data();
    void scale();
    void layout_data();
    void layout();
    void keyPixels();
    void roundingAndTruncation();
    void statusOverride_data();
    void statusOverride();
    void drawOrder_data();
    void drawOrder();
    void hitTest_data();
    void hitTest();
    void pressedByTouchRect();
    void foregroundOffsets();
    void outlines();
    void namesFollowTheFont();
    void list_data();
    void list();
    void listSelection();
    void pickWithoutRender_data();
    void pickWithoutRender();
    void candidateArea_data();
    void candidateArea();
    void candidateStrip();
    void missingLayoutFile();
    void brokenSizes_data();
    void brokenSizes();
    void demoSkin_data();
    void demoSkin();
    void provider_data();
    void provider();
    void exportWritesThePreview();
    void exportFailureKeepsFile();

private:
    // A copy of panel-colors with `panel` as port/test.ini (and `cnd` as
    // port/cand.cnd when given), loaded.
    bool load(const QString &panel, const QString &cnd = QString());

    Panel *mPanel = nullptr;
    QScopedPointer<QTemporaryDir> mDir;
};

bool TestPanelRenderer::load(const QString &panel, const QString &cnd)
{
    mDir.reset(new QTemporaryDir);
    const QString root = mDir->path() + QStringLiteral("/skin");
    if (!mDir->isValid() || !copyTree(dataPath(QStringLiteral("panel-colors")), root))
        return false;
    if (!writeText(root + QStringLiteral("/port/test.ini"), panel))
        return false;
    if (!cnd.isEmpty() && !writeText(root + QStringLiteral("/port/cand.cnd"), cnd))
        return false;
    mPanel->setPanelFile(root + QStringLiteral("/port/test.ini"));
    return !mPanel->loadFailed() && mPanel->currentPanelFile() == root + QStringLiteral("/port/test.ini");
}

void TestPanelRenderer::initTestCase()
{
    mPanel = Panel::instance();
}

void TestPanelRenderer::init()
{
    resetPanel(mPanel);
}

void TestPanelRenderer::noPanel()
{
    QSignalSpy size(mPanel, &Panel::panelSizeChanged);
    QSignalSpy origin(mPanel, &Panel::panelOriginChanged);
    const QImage image = mPanel->renderPreview();
    QCOMPARE(image.size(), QSize(1, 1));
    QVERIFY(isTransparent(image, 0, 0));
    QCOMPARE(size.count(), 0);
    QCOMPARE(origin.count(), 0);
}

void TestPanelRenderer::scale_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<int>("deviceResolution");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QSize>("imageSize");

    QTest::newRow("no device resolution") << "720,400" << 0 << 1.0 << QSize(720, 400);
    QTest::newRow("1080 device") << "720,400" << 1080 << 1.5 << QSize(1080, 600);
    QTest::newRow("smaller device") << "720,400" << 360 << 0.5 << QSize(360, 200);
    QTest::newRow("height rounds to nearest") << "200,101" << 300 << 1.5 << QSize(300, 152);
    QTest::newRow("negative device resolution") << "720,400" << -5 << 1.0 << QSize(720, 400);
}

void TestPanelRenderer::scale()
{
    QFETCH(QString, size);
    QFETCH(int, deviceResolution);
    QFETCH(double, scale);
    QFETCH(QSize, imageSize);

    QVERIFY(load(QStringLiteral("[PANEL]\nSIZE=%1\nBACK_STYLE=3\n").arg(size)));
    mPanel->setDeviceResolution(deviceResolution);
    QSignalSpy sizeChanged(mPanel, &Panel::panelSizeChanged);
    QSignalSpy scaleChanged(mPanel, &Panel::scaleChanged);
    const QImage image = mPanel->renderPreview();
    QCOMPARE(mPanel->scale(), scale);
    QCOMPARE(image.size(), imageSize);
    QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(mPanel->panelSize(), ValueText::parseSize(size));
    QCOMPARE(sizeChanged.count(), 1);
    QCOMPARE(scaleChanged.count(), 0);
    QCOMPARE(pixel(image, imageSize.width() - 1, imageSize.height() - 1), grey);
}

void TestPanelRenderer::layout_data()
{
    QTest::addColumn<QString>("sections");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("above"); // units between the input area and the panel, input excluded
    QTest::addColumn<bool>("input");

    QTest::newRow("nothing but the panel") << "[CAND]\nTYPE=0\nVIEW_RECT=0,0,100,20\n" << 0 << 0 << false;
    QTest::newRow("candidate above, status 0") << "[CAND]\nTYPE=2\nVIEW_RECT=0,0,720,60\n[LIST]\nTYPE=0\n"
                                               << 0 << 60 << false;
    QTest::newRow("candidate type 4 above, status 0") << "[CAND]\nTYPE=4\nVIEW_RECT=0,0,10,25\n"
                                                      << 0 << 25 << false;
    QTest::newRow("strip list and candidate above, status 4")
        << "[CAND]\nTYPE=4\nVIEW_RECT=0,0,720,60\n[LIST]\nTYPE=2\nCELL_SIZE=80,50\nPADDING=2,3,2,5\n"
        << 4 << 58 + 60 << true;
    QTest::newRow("candidate over the panel, status 4") << "[CAND]\nTYPE=1\nVIEW_RECT=0,0,100,20\n"
                                                        << 4 << 0 << true;
    QTest::newRow("candidate over the panel, status 0") << "[CAND]\nTYPE=1\nVIEW_RECT=0,0,100,20\n"
                                                        << 0 << 0 << false;
    QTest::newRow("list type 3 stays over the panel in status 0")
        << "[LIST]\nTYPE=3\nCELL_SIZE=80,50\nPADDING=2,3,2,5\n"
        << 0 << 0 << false;
    QTest::newRow("list type 3 takes a strip in status 4")
        << "[LIST]\nTYPE=3\nCELL_SIZE=80,50\nPADDING=2,3,2,5\n"
        << 4 << 58 << true;
    QTest::newRow("strip list with a short padding list") << "[LIST]\nTYPE=2\nCELL_SIZE=80,50\nPADDING=2,3\n"
                                                          << 0 << 53 << false;
    QTest::newRow("strip list without cell size") << "[LIST]\nTYPE=2\nPADDING=0,4,0,4\nCELL_SIZE=\n"
                                                  << 0 << 7 << false;
    QTest::newRow("status 5 is not the candidate status") << "[CAND]\nTYPE=1\nVIEW_RECT=0,0,100,20\n"
                                                          << 5 << 0 << false;
    QTest::newRow("unknown candidate type") << "[CAND]\nTYPE=7\nVIEW_RECT=0,0,100,20\n" << 4 << 0 << true;
}

void TestPanelRenderer::layout()
{
    QFETCH(QString, sections);
    QFETCH(int, status);
    QFETCH(int, above);
    QFETCH(bool, input);

    QVERIFY(load(QStringLiteral("[PANEL]\nSIZE=100,50\nBACK_STYLE=3\n") + sections));
    mPanel->setCurrentStatus(status);
    QSignalSpy origin(mPanel, &Panel::panelOriginChanged);
    const QImage image = mPanel->renderPreview();
    const int inputUnits = input ? inputHeight() : 0;
    QVERIFY(!input || inputUnits > 0);
    QCOMPARE(image.size(), QSize(100, 50 + above + inputUnits));
    QCOMPARE(mPanel->panelOrigin(), QPoint(0, above + inputUnits));
    QCOMPARE(origin.count(), 1);
    // The panel background starts exactly at its origin.
    QCOMPARE(pixel(image, 50, above + inputUnits), grey);
    QCOMPARE(pixel(image, 50, image.height() - 1), grey);
}

void TestPanelRenderer::keyPixels()
{
    QVERIFY(load(QStringLiteral("[PANEL]\nSIZE=100,50\nBACK_STYLE=3\n"
                                "[KEY1]\nVIEW_RECT=10,10,20,20\nBACK_STYLE=1\n"
                                "[KEY2]\nVIEW_RECT=40,5,30,40\nTOUCH_RECT=0,0,100,50\nBACK_STYLE=2\n")));
    const QImage image = mPanel->renderPreview();
    QCOMPARE(image.size(), QSize(100, 50));
    QCOMPARE(pixel(image, 9, 10), grey);
    QCOMPARE(pixel(image, 10, 9), grey);
    QCOMPARE(pixel(image, 10, 10), red);
    QCOMPARE(pixel(image, 29, 29), red);
    QCOMPARE(pixel(image, 30, 29), grey);
    QCOMPARE(pixel(image, 29, 30), grey);
    QCOMPARE(pixel(image, 40, 5), blue);
    QCOMPARE(pixel(image, 69, 44), blue);
    QCOMPARE(pixel(image, 70, 44), grey);
    QCOMPARE(pixel(image, 69, 45), grey);
}

void TestPanelRenderer::roundingAndTruncation()
{
    // Scale 1.5: key backgrounds are placed rounded to nearest, the panel
    // background truncated (offset 5 -> 7.5 -> 7).
    QVERIFY(load(QStringLiteral("[PANEL]\nSIZE=100,100\nBACK_STYLE=3\n"
                                "[CAND]\nTYPE=2\nVIEW_RECT=0,0,100,5\n"
                                "[KEY1]\nVIEW_RECT=11,6,20,20\nBACK_STYLE=1\n")));
    mPanel->setDeviceResolution(150);
    const QImage image = mPanel->renderPreview();
    QCOMPARE(mPanel->scale(), 1.5);
    QCOMPARE(image.size(), QSize(150, 158));
    QCOMPARE(mPanel->panelOrigin(), QPoint(0, 5));
    QVERIFY(isTransparent(image, 0, 6));
    QCOMPARE(pixel(image, 0, 7), grey);
    // Key at (11, 6 + 5) units: 16.5 -> 17 across, 16.5 -> 17 down, 30 wide.
    QCOMPARE(pixel(image, 16, 17), grey);
    QCOMPARE(pixel(image, 17, 16), grey);
    QCOMPARE(pixel(image, 17, 17), red);
    QCOMPARE(pixel(image, 46, 46), red);
    QCOMPARE(pixel(image, 47, 46), grey);
    QCOMPARE(pixel(image, 46, 47), grey);
}

void TestPanelRenderer::statusOverride_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("status 0: own style") << 0 << blue;
    QTest::newRow("status 4: first item") << 4 << cyan;
    QTest::newRow("status 5: second item") << 5 << magenta;
    QTest::newRow("status 6: later matching item wins") << 6 << orange;
    QTest::newRow("status 7: tip section missing") << 7 << blue;
    QTest::newRow("status 8: tip without BACK_STYLE") << 8 << blue;
}

void TestPanelRenderer::statusOverride()
{
    QFETCH(int, status);
    QFETCH(QColor, colour);

    QVERIFY(load(QStringLiteral("[PANEL]\nSIZE=100,50\nBACK_STYLE=3\n"
                                "[KEY2]\nVIEW_RECT=40,10,20,20\nBACK_STYLE=2\n"
                                "STAT_STYLE=S4_1|S5_2|T6_1|U6_3|S7_9|S8_4|bad|S4\n"
                                "[TIP1]\nBACK_STYLE=4\n[TIP2]\nBACK_STYLE=5\n[TIP3]\nBACK_STYLE=7\n"
                                "[TIP4]\nPOS_TYPE=1\n")));
    mPanel->setCurrentStatus(status);
    const QImage image = mPanel->renderPreview();
    const QPoint origin = mPanel->panelOrigin();
    QCOMPARE(pixel(image, origin.x() + 50, origin.y() + 12), colour);
}

void TestPanelRenderer::drawOrder_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QColor>("colour");

    // All keys cover the same square: the one drawn last shows.
    QTest::newRow("status keys last, highest number first")
        << "[KEY10]\nBACK_STYLE=1\n[KEY2]\nBACK_STYLE=2\n[KEY3]\nBACK_STYLE=4\nSTAT_STYLE=S9_1\n"
           "[KEY7]\nBACK_STYLE=5\nSTAT_STYLE=S9_1\n"
        << cyan;
    QTest::newRow("plain keys by number") << "[KEY10]\nBACK_STYLE=1\n[KEY2]\nBACK_STYLE=2\n" << red;
    QTest::newRow("plain keys by number, reversed file order")
        << "[KEY2]\nBACK_STYLE=2\n[KEY10]\nBACK_STYLE=1\n"
        << red;
    QTest::newRow("a status key covers a plain one")
        << "[KEY7]\nBACK_STYLE=5\nSTAT_STYLE=S9_1\n[KEY99]\nBACK_STYLE=1\n"
        << magenta;
}

void TestPanelRenderer::drawOrder()
{
    QFETCH(QString, keys);
    QFETCH(QColor, colour);
    QString panel = QStringLiteral("[PANEL]\nSIZE=100,50\nBACK_STYLE=3\n") + keys;
    panel.replace(QLatin1String("BACK_STYLE="), QLatin1String("VIEW_RECT=10,10,20,20\nBACK_STYLE="));
    panel.replace(QLatin1String("SIZE=100,50\nVIEW_RECT=10,10,20,20\n"), QLatin1String("SIZE=100,50\n"));
    QVERIFY(load(panel));
    const QImage image = mPanel->renderPreview();
    QCOMPARE(pixel(image, 20, 20), colour);
}

void TestPanelRenderer::hitTest_data()
{
    QTest::addColumn<int>("deviceResolution");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("currentKey");
    QTest::addColumn<int>("listSignals");

    QTest::newRow("outside every key") << 0 << QPointF(-1, -1) << QStringList() << "" << 0;
    QTest::newRow("cleared selection point") << 0 << QPointF(0.99, 0.99) << QStringList() << "" << 0;
    QTest::newRow("one key") << 0 << QPointF(0.125, 0.125) << QStringList { "KEY1" } << "KEY1" << 0;
    QTest::newRow("right edge included")
        << 0 << QPointF(0.125, 63.0 / 128) << QStringList { "KEY1" } << "KEY1" << 0;
    QTest::newRow("two overlapping keys")
        << 0 << QPointF(0.375, 0.375) << QStringList { "KEY1", "KEY2" } << "" << 1;
    QTest::newRow("three keys, status key last")
        << 0 << QPointF(0.4375, 0.4375) << QStringList { "KEY1", "KEY2", "KEY3" } << "" << 1;
    QTest::newRow("just past the first key")
        << 0 << QPointF(0.5, 0.5) << QStringList { "KEY2", "KEY3" } << "" << 1;
    QTest::newRow("scaled: the point is brought back to units")
        << 256 << QPointF(0.125, 0.125) << QStringList { "KEY1" } << "KEY1" << 0;
    QTest::newRow("scaled: rounded to nearest unit")
        << 100 << QPointF(0.495, 0.1) << QStringList { "KEY1", "KEY2" } << "" << 1;
}

void TestPanelRenderer::hitTest()
{
    QFETCH(int, deviceResolution);
    QFETCH(QPointF, point);
    QFETCH(QStringList, keys);
    QFETCH(QString, currentKey);
    QFETCH(int, listSignals);

    // KEY1 0..63, KEY2 32..95 across and 0..95 down, KEY3 56..71 (a status key).
    QVERIFY(load(QStringLiteral("[PANEL]\nSIZE=128,128\nBACK_STYLE=3\n"
                                "[KEY3]\nVIEW_RECT=56,56,16,16\nSTAT_STYLE=S9_1\n"
                                "[KEY2]\nVIEW_RECT=32,0,64,96\n"
                                "[KEY1]\nVIEW_RECT=0,0,64,64\n")));
    mPanel->setDeviceResolution(deviceResolution);
    QSignalSpy highlighted(mPanel, &Panel::highlightedKeysChanged);
    QSignalSpy current(mPanel, &Panel::currentKeyChanged);
    // The click picks; the render it asks for only draws the pressed look.
    mPanel->setHighlightPointF(point);
    QCOMPARE(mPanel->keysAt(point), keys);
    mPanel->renderPreview();
    QCOMPARE(mPanel->highlightedKeys(), keys);
    QCOMPARE(highlighted.count(), listSignals);
    QCOMPARE(current.count(), currentKey.isEmpty() ? 0 : 1);
    QCOMPARE(mPanel->currentKey(), currentKey);
    if (!currentKey.isEmpty()) {
        QCOMPARE(mPanel->currentSectionName(), currentKey);
        QVERIFY(mPanel->currentSectionProperties().first().startsWith(QLatin1String("VIEW_RECT=")));
    }
}

void TestPanelRenderer::pressedByTouchRect()
{
    QVERIFY(load(QStringLiteral("[PANEL]\nSIZE=100,50\nBACK_STYLE=3\n"
                                "[KEY1]\nVIEW_RECT=10,10,20,20\nBACK_STYLE=1\n"
                                "[KEY2]\nVIEW_RECT=40,10,20,20\nTOUCH_RECT=35,5,30,30\nBACK_STYLE=2\n")));
    // Inside KEY2's touch area but outside its view: pressed, not selected.
    mPanel->setHighlightPointF(QPointF(0.37, 0.4));
    QImage image = mPanel->renderPreview();
    QCOMPARE(mPanel->highlightedKeys(), QStringList());
    QCOMPARE(pixel(image, 45, 20), yellow);
    QCOMPARE(pixel(image, 20, 20), red);

    // A key without TOUCH_RECT is pressed through its view rectangle.
    mPanel->setHighlightPointF(QPointF(0.2, 0.4));
    image = mPanel->renderPreview();
    QCOMPARE(mPanel->highlightedKeys(), QStringList { "KEY1" });
    QCOMPARE(pixel(image, 20, 20), green);
    QCOMPARE(pixel(image, 45, 20), blue);
}

void TestPanelRenderer::foregroundOffsets()
{
    // Colour styles at natural size are 30x30. Style 4 is moved by OFFSET1
    // (5,-2) of gen.ini, style 5 has no position type and stays centred.
    QVERIFY(load(QStringLiteral("[PANEL]\nSIZE=100,100\nBACK_STYLE=3\n"
                                "[KEY1]\nVIEW_RECT=10,10,41,41\nFORE_STYLE=4,5\nPOS_TYPE=1\n")));
    QImage image = mPanel->renderPreview();
    // Centre (10 + 50) / 2 = 30: style 4 at (30 - 15 + 5, 30 - 15 - 2).
    QCOMPARE(pixel(image, 19, 13), grey);
    QCOMPARE(pixel(image, 20, 12), grey);
    QCOMPARE(pixel(image, 20, 13), cyan);
    QCOMPARE(pixel(image, 49, 14), cyan);
    QCOMPARE(pixel(image, 50, 14), grey);
    QCOMPARE(pixel(image, 15, 15), magenta);
    QCOMPARE(pixel(image, 44, 44), magenta);
    QCOMPARE(pixel(image, 45, 44), grey);

    // At scale 1.5 the position is truncated: 45 - 15 + 7.5 = 37.5 -> 37.
    mPanel->setDeviceResolution(150);
    image = mPanel->renderPreview();
    QCOMPARE(pixel(image, 36, 28), grey);
    QCOMPARE(pixel(image, 37, 28), cyan);
    QCOMPARE(pixel(image, 37, 27), cyan);
    QCOMPARE(pixel(image, 37, 26), grey);
}

void TestPanelRenderer::outlines()
{
    QVERIFY(load(QStringLiteral("[PANEL]\nSIZE=200,200\n"
                                "[KEY1]\nVIEW_RECT=3,5,11,7\n"
                                "[KEY2]\nVIEW_RECT=3,25,111,71\nTOUCH_RECT=21,41,41,21\n")));
    const QColor viewColour(200, 10, 10);
    const QColor touchColour(10, 10, 200);
    mPanel->setViewRectColor(viewColour);
    mPanel->setTouchRectColor(touchColour);
    mPanel->setDeviceResolution(100);
    const QImage image = mPanel->renderPreview();
    QCOMPARE(mPanel->scale(), 0.5);

    // KEY1 at scale 0.5: x 1, y 2, width 5, height 3 (truncated).
    QCOMPARE(pixel(image, 1, 2), viewColour);
    QVERIFY(isTransparent(image, 0, 2));
    QVERIFY(isTransparent(image, 1, 1));

    // KEY2: view (1, 12, 55, 35); touch (10, 20, 20, 10).
    QCOMPARE(pixel(image, 1, 47), viewColour);
    QCOMPARE(pixel(image, 56, 47), viewColour);
    QVERIFY(isTransparent(image, 57, 47));
    QVERIFY(isTransparent(image, 56, 48));
    QVERIFY(isTransparent(image, 0, 47));
    QCOMPARE(pixel(image, 10, 30), touchColour);
    QCOMPARE(pixel(image, 30, 30), touchColour);
    QVERIFY(isTransparent(image, 31, 30));
    QVERIFY(isTransparent(image, 10, 31));

    // A translucent pen covers every outline pixel once, corners included.
    mPanel->setViewRectColor(QColor(200, 10, 10, 128));
    const QImage translucent = mPanel->renderPreview();
    for (const QPoint &corner :
        { QPoint(1, 12), QPoint(56, 12), QPoint(1, 47), QPoint(56, 47), QPoint(30, 47) })
        QCOMPARE(qAlpha(translucent.pixel(corner)), 128);
}

// Key names are laid out once and kept: a picture drawn after the
// application's font changed shows them in the new font, and the old font
// gives the old picture again.
void TestPanelRenderer::namesFollowTheFont()
{
    QVERIFY(load(QStringLiteral("[PANEL]\nSIZE=200,100\n[KEY1]\nVIEW_RECT=3,5,150,80\n")));
    mPanel->setViewRectColor(Qt::black);
    mPanel->setDeviceResolution(200);
    const QFont original = QGuiApplication::font();
    QFont small = original;
    small.setPixelSize(10);
    QFont large = original;
    large.setPixelSize(30);

    // Only the name can differ between these pictures.
    QGuiApplication::setFont(small);
    const QImage inSmall = mPanel->renderPreview();
    QGuiApplication::setFont(large);
    const QImage inLarge = mPanel->renderPreview();
    QGuiApplication::setFont(small);
    const QImage inSmallAgain = mPanel->renderPreview();
    QGuiApplication::setFont(original);
    QVERIFY(inLarge != inSmall);
    QCOMPARE(inSmallAgain, inSmall);
}

void TestPanelRenderer::list_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QList<QPoint>>("orangePoints");
    QTest::addColumn<QList<QPoint>>("darkPoints");
    QTest::addColumn<QList<QPoint>>("clearPoints");
    QTest::addColumn<int>("height");
    // A name the list draws with style 9 and the centre of its cell: every
    // fully covered pixel of it that lies in the image must be black.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("nameCentre");

    const QString common
        = QStringLiteral("BACK_STYLE=6\nCELL_STYLE=7\nFORE_STYLE=0\nPOS=5,5\nPADDING=1,1,1,1\n");
    QTest::newRow("vertical") << "TYPE=0\nCELL_SIZE=10,8\nLIST_NUM=3\nLIST_ORDER=0\n" + common
                              << QList<QPoint> { { 5, 5 }, { 14, 28 }, { 5, 13 } }
                              << QList<QPoint> { { 4, 4 }, { 15, 29 }, { 5, 29 } }
                              << QList<QPoint> { { 16, 29 }, { 4, 30 } } << 50 << QString() << QPoint();
    QTest::newRow("horizontal") << "TYPE=0\nCELL_SIZE=10,8\nLIST_NUM=3\nLIST_ORDER=1\n" + common
                                << QList<QPoint> { { 5, 5 }, { 34, 12 } }
                                << QList<QPoint> { { 4, 4 }, { 35, 13 } }
                                << QList<QPoint> { { 36, 13 }, { 4, 14 } } << 50 << QString() << QPoint();
    QTest::newRow("no cells") << "TYPE=0\nCELL_SIZE=10,8\nLIST_NUM=0\n" + common << QList<QPoint>()
                              << QList<QPoint> { { 4, 4 }, { 5, 5 }, { 15, 5 } }
                              << QList<QPoint> { { 5, 6 }, { 16, 5 } } << 50 << QString() << QPoint();
    QTest::newRow("padding of three entries counts as none")
        << "TYPE=0\nCELL_SIZE=10,8\nLIST_NUM=1\nBACK_STYLE=6\nCELL_STYLE=7\nPOS=5,5\nPADDING=1,1,1\n"
        << QList<QPoint> { { 5, 5 }, { 14, 12 } } << QList<QPoint>() << QList<QPoint> { { 4, 4 }, { 15, 13 } }
        << 50 << QString() << QPoint();
    QTest::newRow("own strip ignores POS and fills the width")
        << "TYPE=2\nCELL_SIZE=10,8\nLIST_NUM=3\n" + common << QList<QPoint> { { 0, 0 }, { 29, 7 } }
        << QList<QPoint> { { 30, 0 }, { 98, 8 } } << QList<QPoint> { { 99, 0 } } << 60 << QString()
        << QPoint();
    QTest::newRow("huge count stops at the image edge")
        << "TYPE=0\nCELL_SIZE=10,8\nLIST_NUM=2000000000\n" + common << QList<QPoint> { { 5, 5 }, { 14, 49 } }
        << QList<QPoint>() << QList<QPoint> { { 4, 4 } } << 50 << QString() << QPoint();
    QTest::newRow("cells that do not move")
        << "TYPE=0\nCELL_SIZE=0,0\nLIST_NUM=2000000000\n" + common << QList<QPoint>()
        << QList<QPoint> { { 4, 4 } } << QList<QPoint> { { 7, 7 } } << 50 << QString() << QPoint();
    QTest::newRow("huge cells are not painted")
        << "TYPE=0\nCELL_SIZE=100000,100000\nLIST_NUM=5\n" + common << QList<QPoint>() << QList<QPoint>()
        << QList<QPoint> { { 5, 5 }, { 4, 4 } } << 50 << QString() << QPoint();
    // Cells of a negative size paint the style at its natural size (30x30)
    // from the rectangle's corner, so the cell above, at (5, -3), shows.
    QTest::newRow("negative cell size") << "TYPE=0\nCELL_SIZE=-10,-8\nLIST_NUM=100000\n" + common
                                        << QList<QPoint> { { 5, 5 }, { 5, 0 }, { 34, 0 } } << QList<QPoint>()
                                        << QList<QPoint> { { 35, 0 } } << 50 << QString() << QPoint();
    QTest::newRow("negative cell size, horizontal")
        << "TYPE=0\nCELL_SIZE=-10,-8\nLIST_NUM=100000\nLIST_ORDER=1\n" + common
        << QList<QPoint> { { 5, 5 }, { 0, 5 }, { 0, 34 } } << QList<QPoint> { { 33, 4 } }
        << QList<QPoint> { { 0, 4 }, { 35, 5 } } << 50 << QString() << QPoint();
    // Names are centred on their cell however large they are: a cell past
    // the edge still shows the part of its name that reaches back.
    const QString named = QStringLiteral("TYPE=0\nBACK_STYLE=0\nFORE_STYLE=9\nNAMES=");
    QTest::newRow("tall name on a cell past the bottom edge")
        << "CELL_SIZE=100,4\nLIST_NUM=3\nLIST_ORDER=0\nPOS=0,52\nCELL_STYLE=7\n" + named + "D\n"
        << QList<QPoint>() << QList<QPoint>() << QList<QPoint> { { 0, 49 }, { 99, 49 } } << 50
        << QStringLiteral("D") << QPoint(49, 53);
    QTest::newRow("wide name on a cell past the right edge")
        << "CELL_SIZE=4,50\nLIST_NUM=3\nLIST_ORDER=1\nPOS=100,0\nCELL_STYLE=7\n" + named + "DDDD\n"
        << QList<QPoint>() << QList<QPoint>() << QList<QPoint> { { 99, 0 }, { 99, 49 } } << 50
        << QStringLiteral("DDDD") << QPoint(101, 24);
    QTest::newRow("wide name on a cell of negative size left of the image")
        << "CELL_SIZE=-4,50\nLIST_NUM=100000\nLIST_ORDER=1\nPOS=-10,0\nCELL_STYLE=10\n" + named + "DDDD\n"
        << QList<QPoint>() << QList<QPoint>() << QList<QPoint> { { 0, 0 }, { 0, 49 } } << 50
        << QStringLiteral("DDDD") << QPoint(-12, 24);
}

void TestPanelRenderer::list()
{
    QFETCH(QString, list);
    QFETCH(QList<QPoint>, orangePoints);
    QFETCH(QList<QPoint>, darkPoints);
    QFETCH(QList<QPoint>, clearPoints);
    QFETCH(int, height);
    QFETCH(QString, name);
    QFETCH(QPoint, nameCentre);

    QVERIFY(load(QStringLiteral("[PANEL]\nSIZE=100,50\n[LIST]\n") + list));
    const QImage image = mPanel->renderPreview();
    QCOMPARE(image.size(), QSize(100, height));
    for (const QPoint &p : qAsConst(orangePoints))
        QVERIFY2(pixel(image, p.x(), p.y()) == orange,
            qPrintable(QStringLiteral("orange at %1,%2").arg(p.x()).arg(p.y())));
    for (const QPoint &p : qAsConst(darkPoints))
        QVERIFY2(pixel(image, p.x(), p.y()) == dark,
            qPrintable(QStringLiteral("dark at %1,%2").arg(p.x()).arg(p.y())));
    for (const QPoint &p : qAsConst(clearPoints))
        QVERIFY2(isTransparent(image, p.x(), p.y()),
            qPrintable(QStringLiteral("clear at %1,%2").arg(p.x()).arg(p.y())));

    if (name.isEmpty())
        return;
    const QImage text = StylesManager::instance()->textImage(9, name, 0, false, 1.0);
    QVERIFY(!text.isNull());
    const QPoint at = nameCentre - QPoint(text.width() / 2, text.height() / 2);
    int shown = 0;
    for (int ty = 0; ty < text.height(); ++ty) {
        for (int tx = 0; tx < text.width(); ++tx) {
            const QPoint p = at + QPoint(tx, ty);
            if (qAlpha(text.pixel(tx, ty)) < 255 || !image.rect().contains(p))
                continue;
            ++shown;
            QVERIFY2(pixel(image, p.x(), p.y()) == black,
                qPrintable(QStringLiteral("name at %1,%2").arg(p.x()).arg(p.y())));
        }
    }
    QVERIFY2(shown > 0, "no fully covered pixel of the name lies in the image");
}

void TestPanelRenderer::listSelection()
{
    // gen.ini of panel-colors adds TYPE and CELL_SIZE to the LIST section.
    QVERIFY(
        load(QStringLiteral("[PANEL]\nSIZE=100,50\n[LIST]\nTYPE=0\nPOS=50,20\nLIST_NUM=2\nLIST_ORDER=1\n")));
    QSignalSpy name(mPanel, &Panel::currentSectionNameChanged);
    mPanel->setHighlightPointF(QPointF(0.2, 0.2));
    mPanel->renderPreview();
    QCOMPARE(name.count(), 0);

    mPanel->setHighlightPointF(QPointF(0.55, 0.45));
    mPanel->renderPreview();
    QCOMPARE(name.count(), 1);
    QCOMPARE(mPanel->currentSectionName(), QStringLiteral("LIST"));
    QCOMPARE(mPanel->currentSectionProperties(),
        (QStringList { "TYPE=0", "POS=50,20", "LIST_NUM=2", "LIST_ORDER=1", "CELL_SIZE=10,8" }));
}

void TestPanelRenderer::pickWithoutRender_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("currentKey");
    QTest::addColumn<QString>("section");

    // KEY1 10..29 across and down; KEY2 50..59, 20..29 under the list
    // (50..69, 20..27).
    QTest::newRow("one key") << QPointF(0.2, 0.4) << QStringList { "KEY1" } << "KEY1"
                             << "KEY1";
    QTest::newRow("a key under the list shows the list")
        << QPointF(0.55, 0.45) << QStringList { "KEY2" } << "KEY2"
        << "LIST";
    QTest::newRow("the list alone") << QPointF(0.65, 0.45) << QStringList() << ""
                                    << "LIST";
    QTest::newRow("nothing") << QPointF(0.9, 0.9) << QStringList() << ""
                             << "";
}

void TestPanelRenderer::pickWithoutRender()
{
    QFETCH(QPointF, point);
    QFETCH(QStringList, keys);
    QFETCH(QString, currentKey);
    QFETCH(QString, section);

    QVERIFY(load(QStringLiteral("[PANEL]\nSIZE=100,50\n[LIST]\nTYPE=0\nPOS=50,20\nLIST_NUM=2\nLIST_ORDER=1\n"
                                "[KEY1]\nVIEW_RECT=10,10,20,20\n[KEY2]\nVIEW_RECT=50,20,10,10\n")));
    QSignalSpy rendered(mPanel, &Panel::panelSizeChanged);
    QSignalSpy reloaded(mPanel, &Panel::panelReloaded);
    mPanel->setHighlightPointF(point);
    QCOMPARE(rendered.count(), 0);
    QCOMPARE(reloaded.count(), 1);
    QCOMPARE(mPanel->highlightedKeys(), keys);
    QCOMPARE(mPanel->currentKey(), currentKey);
    QCOMPARE(mPanel->currentSectionName(), section);
    if (section == QLatin1String("LIST"))
        QCOMPARE(mPanel->currentSectionProperties().first(), QStringLiteral("TYPE=0"));
}

void TestPanelRenderer::candidateArea_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QColor>("icon1");
    QTest::addColumn<QColor>("icon2");
    QTest::addColumn<QColor>("icon3");

    // icon1 PERSIST 1, icon2 PERSIST 2, icon3 PERSIST 3; white is the
    // candidate background showing where an icon is hidden.
    QTest::newRow("status 0") << 0 << cyan << white << dark;
    QTest::newRow("status 4") << 4 << white << magenta << dark;
    QTest::newRow("status 7: tip of icon1") << 7 << red << white << dark;
}

void TestPanelRenderer::candidateArea()
{
    QFETCH(int, status);
    QFETCH(QColor, icon1);
    QFETCH(QColor, icon2);
    QFETCH(QColor, icon3);

    const QString cnd = QStringLiteral(
        "[CAND]\nBACK_STYLE=8\n"
        "[ICON1]\nBACK_STYLE=4\nSIZE=10,10\nANCHOR_TYPE=1\nPOS=2,2\nPERSIST=1\nSTAT_STYLE=S7_1\n"
        "[ICON2]\nBACK_STYLE=5\nSIZE=10,10\nANCHOR_TYPE=3\nPOS=-12,2\nPERSIST=2\n"
        "[ICON3]\nBACK_STYLE=6\nSIZE=10,10\nANCHOR_TYPE=9\nPOS=-24,-12\nPERSIST=3\n"
        "[ICON4]\nBACK_STYLE=1\nSIZE=10,10\nANCHOR_TYPE=12\nPOS=40,10\nPERSIST=3\n"
        "[ICON5]\nBACK_STYLE=1\nSIZE=10,10\nANCHOR_TYPE=-1\nPOS=40,10\nPERSIST=3\n"
        "[ICON6]\nBACK_STYLE=1\nSIZE=10,10\nANCHOR_TYPE=1\nPOS=55,10\nPERSIST=0\n"
        "[TIP1]\nBACK_STYLE=1\n");
    // Type 2 shows the area above the panel in every status; the layout has
    // no cell or text style, so the strip of status 4 paints nothing.
    QVERIFY(load(QStringLiteral("[PANEL]\nSIZE=100,60\nBACK_STYLE=3\n"
                                "[CAND]\nTYPE=2\nVIEW_RECT=0,0,100,40\nLAYOUT_NAME=cand\n"),
        cnd));
    mPanel->setCurrentStatus(status);

    const QImage image = mPanel->renderPreview();
    const int top = mPanel->panelOrigin().y() - 40;
    QCOMPARE(top, status == 4 ? inputHeight() : 0);
    QCOMPARE(pixel(image, 6, top + 6), icon1);
    QCOMPARE(pixel(image, 91, top + 6), icon2);
    QCOMPARE(pixel(image, 80, top + 32), icon3);
    // Anchors outside 0..9 and PERSIST 0 draw nothing.
    QCOMPARE(pixel(image, 45, top + 15), white);
    QCOMPARE(pixel(image, 60, top + 15), white);
    QCOMPARE(pixel(image, 99, top + 39), white);
}

void TestPanelRenderer::candidateStrip()
{
    QVERIFY(load(QStringLiteral("[PANEL]\nSIZE=100,60\nBACK_STYLE=3\n"
                                "[CAND]\nTYPE=2\nVIEW_RECT=0,0,100,40\nLAYOUT_NAME=cand\n"),
        QStringLiteral("[CAND]\nBACK_STYLE=8\nFORE_STYLE=9\nCELL_STYLE=7\nFIRST_GAP=0\nCELL_W=20\n"
                       "PADDING=4,10,0,4\n")));
    mPanel->setCurrentStatus(4);
    const QImage image = mPanel->renderPreview();
    const int h = inputHeight();
    QCOMPARE(mPanel->panelOrigin(), QPoint(0, h + 40));
    QCOMPARE(image.height(), h + 100);
    // Strip top = 10 below the area's top, start x = 4; its bottom is
    // top + (40 - (10 - 4)) - 1: 33 rows, reaching 3 rows into the panel.
    QCOMPARE(pixel(image, 4, h + 10), orange);
    QCOMPARE(pixel(image, 3, h + 10), white);
    QCOMPARE(pixel(image, 4, h + 9), white);
    QCOMPARE(pixel(image, 4, h + 43), orange);
    QCOMPARE(pixel(image, 4, h + 44), grey);
    QCOMPARE(pixel(image, 3, h + 43), grey);
}

void TestPanelRenderer::missingLayoutFile()
{
    QVERIFY(load(QStringLiteral("[PANEL]\nSIZE=100,60\nBACK_STYLE=3\n"
                                "[CAND]\nTYPE=2\nVIEW_RECT=0,0,100,40\nLAYOUT_NAME=absent\n")));
    mPanel->setViewRectColor(Qt::red);
    const QImage image = mPanel->renderPreview();
    QCOMPARE(image.size(), QSize(100, 100));
    // Not even the outline is drawn.
    QVERIFY(isTransparent(image, 0, 0));
    QVERIFY(isTransparent(image, 50, 20));
    QVERIFY(isTransparent(image, 99, 39));
}

void TestPanelRenderer::brokenSizes_data()
{
    QTest::addColumn<QString>("panel");
    QTest::addColumn<int>("deviceResolution");
    QTest::addColumn<int>("status");
    QTest::addColumn<QSize>("imageSize"); // invalid: any image
    QTest::addColumn<QString>("log"); // the line that explains what was not drawn

    QTest::newRow("huge panel size") << "[PANEL]\nSIZE=100000,100000\nBACK_STYLE=3\n"
                                     << 0 << 0 << QSize(1, 1)
                                     << "panel image 100000 x 100000 is over the image size bound";
    QTest::newRow("huge panel fitted to the device") << "[PANEL]\nSIZE=100000,100000\nBACK_STYLE=3\n"
                                                     << 1000 << 0 << QSize(1000, 1000) << "";
    QTest::newRow("negative panel size") << "[PANEL]\nSIZE=-100,-50\nBACK_STYLE=3\n"
                                         << 0 << 0 << QSize(1, 1) << "panel size -100 x -50  is invalid!";
    QTest::newRow("zero width with a device") << "[PANEL]\nSIZE=0,50\n"
                                              << 1080 << 0 << QSize(1, 1) << "panel size 0 x 50  is invalid!";
    QTest::newRow("no panel size") << "[PANEL]\nBACK_STYLE=3\n"
                                   << 0 << 0 << QSize(1, 1) << "panel size -1 x -1  is invalid!";
    QTest::newRow("malformed panel size") << "[PANEL]\nSIZE=big\n"
                                          << 1080 << 0 << QSize(1, 1) << "panel size -1 x -1  is invalid!";
    QTest::newRow("huge candidate above")
        << "[PANEL]\nSIZE=100,50\n[CAND]\nTYPE=2\nVIEW_RECT=0,0,100,2000000000\n"
        << 0 << 0 << QSize(1, 1) << "panel image 100 x 2000000050 is over";
    QTest::newRow("negative candidate height")
        << "[PANEL]\nSIZE=100,50\n[CAND]\nTYPE=2\nVIEW_RECT=0,0,100,-500\n"
        << 0 << 0 << QSize(1, 1) << "panel size 100 x -450  is invalid!";
    QTest::newRow("huge candidate over the panel")
        << "[PANEL]\nSIZE=100,50\n[CAND]\nTYPE=1\nVIEW_RECT=-2147483648,0,2147483647,2147483647\nLAYOUT_NAME="
           "cand\n"
        << 0 << 4 << QSize() << "style image .* is over the image size bound";
    QTest::newRow("huge own strip") << "[PANEL]\nSIZE=100,50\n[LIST]\nTYPE=2\nCELL_SIZE=10,2147483647\n"
                                       "PADDING=2147483647,2147483647,2147483647,2147483647\n"
                                    << 0 << 0 << QSize(1, 1) << "is over the image size bound";
    QTest::newRow("huge list background")
        << "[PANEL]\nSIZE=100,50\n[LIST]\nTYPE=0\nCELL_SIZE=2147483647,8\n"
           "LIST_NUM=2147483647\nLIST_ORDER=1\nBACK_STYLE=6\n"
        << 0 << 0 << QSize(100, 50) << "style image .* is over the image size bound";
    QTest::newRow("huge keys")
        << "[PANEL]\nSIZE=100,50\n[KEY1]\nVIEW_RECT=1073741823,1073741823,1073741824,"
           "1073741824\nBACK_STYLE=1\nFORE_STYLE=1,2\nPOS_TYPE=1\n"
           "[KEY2]\nVIEW_RECT=-2147483648,-2147483648,2147483647,2147483647\nBACK_STYLE=2\n"
        << 1080 << 0 << QSize(1080, 540) << "style image .* is over the image size bound";
}

void TestPanelRenderer::brokenSizes()
{
    QFETCH(QString, panel);
    QFETCH(int, deviceResolution);
    QFETCH(int, status);
    QFETCH(QSize, imageSize);
    QFETCH(QString, log);

    QVERIFY(load(panel,
        QStringLiteral("[CAND]\nBACK_STYLE=8\nCELL_STYLE=7\nCELL_W=2147483647\n"
                       "PADDING=2147483647,-2147483648,2147483647,2147483647\n"
                       "[ICON1]\nBACK_STYLE=4\nSIZE=2147483647,2147483647\nANCHOR_TYPE=9\n"
                       "POS=2147483647,2147483647\nPERSIST=3\n")));
    mPanel->setDeviceResolution(deviceResolution);
    mPanel->setCurrentStatus(status);
    mPanel->setHighlightPointF(QPointF(0.5, 0.5));
    if (!log.isEmpty())
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(log));
    const QImage image = mPanel->renderPreview();
    QVERIFY(!image.isNull());
    QVERIFY(ImageLimits::allows(image.size()));
    if (imageSize.isValid())
        QCOMPARE(image.size(), imageSize);
}

void TestPanelRenderer::demoSkin_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("above");
    QTest::addColumn<bool>("input");

    // CAND type 2 (120 high) above; LIST type 3 over the panel in status 0
    // and a strip of CELL_SIZE height 78 in status 4, under the input line.
    QTest::newRow("status 0") << 0 << 120 << false;
    QTest::newRow("status 4") << 4 << 120 + 78 << true;
}

void TestPanelRenderer::demoSkin()
{
    QFETCH(int, status);
    QFETCH(int, above);
    QFETCH(bool, input);

    mPanel->setPanelFile(demoPanelFile());
    QVERIFY(!mPanel->loadFailed());
    mPanel->setDeviceResolution(1080);
    mPanel->setCurrentStatus(status);
    const QImage image = mPanel->renderPreview();
    const int inputUnits = input ? StylesManager::instance()
                                       ->textImage(mPanel->value(QStringLiteral("INPUT/FORE_STYLE")).toInt(),
                                           PanelRenderer::sampleInput(), 0, false, 1.0)
                                       .height()
                                 : 0;
    QCOMPARE(mPanel->scale(), 1.0);
    QCOMPARE(image.size(), QSize(1080, 624 + above + inputUnits));
    QCOMPARE(mPanel->panelOrigin(), QPoint(0, above + inputUnits));
    QVERIFY(mPanel->orderedKeys().size() >= 30);
    // The keyboard is drawn: the panel's middle is opaque.
    QCOMPARE(qAlpha(image.pixel(540, mPanel->panelOrigin().y() + 300)), 255);
}

void TestPanelRenderer::provider_data()
{
    QTest::addColumn<int>("deviceResolution");
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("reported");
    QTest::addColumn<QSize>("returned");

    QTest::newRow("no requested size") << 0 << QSize(0, 0) << QSize(100, 50) << QSize(100, 50);
    QTest::newRow("invalid requested size") << 0 << QSize(-1, -1) << QSize(100, 50) << QSize(100, 50);
    QTest::newRow("width only") << 0 << QSize(200, 0) << QSize(100, 50) << QSize(200, 50);
    QTest::newRow("height only") << 0 << QSize(0, 30) << QSize(100, 50) << QSize(100, 30);
    QTest::newRow("both, aspect ignored") << 0 << QSize(40, 40) << QSize(100, 50) << QSize(40, 40);
    QTest::newRow("device resolution") << 200 << QSize(50, -3) << QSize(200, 100) << QSize(50, 100);
    QTest::newRow("over the bound: unscaled")
        << 0 << QSize(100000, 100000) << QSize(100, 50) << QSize(100, 50);
}

void TestPanelRenderer::provider()
{
    QFETCH(int, deviceResolution);
    QFETCH(QSize, requested);
    QFETCH(QSize, reported);
    QFETCH(QSize, returned);

    QVERIFY(load(
        QStringLiteral("[PANEL]\nSIZE=100,50\nBACK_STYLE=3\n[KEY1]\nVIEW_RECT=0,0,50,50\nBACK_STYLE=1\n")));
    mPanel->setDeviceResolution(deviceResolution);
    PanelImageProvider provider;
    QCOMPARE(provider.imageType(), QQmlImageProviderBase::Image);
    QSize size;
    const QImage image = provider.requestImage(QString(), &size, requested);
    QCOMPARE(size, reported);
    QCOMPARE(image.size(), returned);
    QCOMPARE(pixel(image, 0, 0), red);
    QCOMPARE(pixel(image, image.width() - 1, image.height() - 1), grey);
}

void TestPanelRenderer::exportWritesThePreview()
{
    QVERIFY(load(
        QStringLiteral("[PANEL]\nSIZE=100,50\nBACK_STYLE=3\n[KEY1]\nVIEW_RECT=10,10,20,20\nBACK_STYLE=1\n")));
    mPanel->setDeviceResolution(150);
    mPanel->setViewRectColor(Qt::red);
    const QString path = mDir->path() + QStringLiteral("/preview.png");
    mPanel->exportAsImage(path);
    const QImage written(path);
    QVERIFY(!written.isNull());
    PanelImageProvider provider;
    QSize size;
    const QImage shown = provider.requestImage(QString(), &size, QSize());
    QCOMPARE(written.convertToFormat(QImage::Format_ARGB32_Premultiplied), shown);
}

void TestPanelRenderer::exportFailureKeepsFile()
{
    QVERIFY(load(QStringLiteral("[PANEL]\nSIZE=100,50\nBACK_STYLE=3\n")));
    const QString kept = mDir->path() + QStringLiteral("/keep.xyz");
    QVERIFY(writeText(kept, QStringLiteral("keep")));
    mPanel->exportAsImage(kept);
    mPanel->exportAsImage(mDir->path() + QStringLiteral("/missing/dir/out.png"));
    QFile file(kept);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("keep"));
    QVERIFY(!QFileInfo::exists(mDir->path() + QStringLiteral("/missing")));
    QVERIFY(!Panel::writeImage(QImage(), mDir->path() + QStringLiteral("/null.png")));
    QVERIFY(!QFileInfo::exists(mDir->path() + QStringLiteral("/null.png")));
}

QTEST_MAIN(TestPanelRenderer)
#include "tst_panelrenderer.moc"
