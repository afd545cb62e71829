// Loading, state and file watching of the panel model.

#include "panelfixture.h"

#include "skin/skinconfig.h"
#include "styles/stylesmanager.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

using namespace PanelFixture;

class TestPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void searchOrder_data();
    void searchOrder();
    void resourcesLoadedFromEveryDirectory();
    void linkLoopInResourcesEnds();

    void missingFileChangesNothing();
    void switchWithinAndAcrossDirectories();
    void sameFileAgainOnlyDetects();
    void basicInformation();
    void offsetTable_data();
    void offsetTable();
    void valueFallsBackToGen();
    void missingGenIniActsAsEmpty();

    void currentKey();
    void currentKeyWithoutPanel();
    void currentStatus();
    void resolutionReloads();
    void reloadWithoutPanel();
    void resolutionWithoutPanelWaitsForTheLoad();
    void clean();
    void keyOrder_data();
    void keyOrder();

    void metaObjectInterface();
    void qmlWritesPlainMembers();

    void watching_data();
    void watching();
    void watchesOnlyWhenAsked();
    void intervalIsClamped_data();
    void intervalIsClamped();
    void openLoadsOnceAndOwnSavesAreNoChange();
    void resourceChangeShownOnPanelSwitch();
    void reloadKeepsWhatDidNotChange_data();
    void reloadKeepsWhatDidNotChange();

private:
    QString copyColors(QTemporaryDir &dir);
    Panel *mPanel = nullptr;
    // The panel as it came, before any test set it up.
    bool mFreshTimerActive = true;
    int mFreshInterval = 0;
    QColor mFreshViewRectColor;
    QColor mFreshTouchRectColor;
};

QString TestPanel::copyColors(QTemporaryDir &dir)
{
    const QString root = dir.path() + QStringLiteral("/skin");
    if (!copyTree(dataPath(QStringLiteral("panel-colors")), root))
        return QString();
    return root;
}

void TestPanel::initTestCase()
{
    mPanel = Panel::instance();
    QVERIFY(mPanel);
    mFreshTimerActive = mPanel->autoReloadTimer()->isActive();
    mFreshInterval = mPanel->autoReloadTimer()->interval();
    mFreshViewRectColor = mPanel->viewRectColor();
    mFreshTouchRectColor = mPanel->touchRectColor();
}

void TestPanel::init()
{
    resetPanel(mPanel);
}

void TestPanel::searchOrder_data()
{
    QTest::addColumn<int>("resolution");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("directories");

    const QStringList everyTableA
        = { QStringLiteral("skin/1080/port/res/default.css"), QStringLiteral("skin/1080/res/default.css"),
              QStringLiteral("skin/port/res/default.css"), QStringLiteral("skin/res/default.css") };
    QTest::newRow("resolution directory: own res first")
        << 1080 << "skin/1080/port/py_26.ini" << everyTableA << "skin/1080/port/res/default.css"
        << QStringList { "skin/1080/port/res", "skin/1080/res", "skin/res" };
    QTest::newRow("resolution directory: the resolution's res")
        << 1080 << "skin/1080/port/py_26.ini" << QStringList(everyTableA.mid(1))
        << "skin/1080/res/default.css" << QStringList { "skin/1080/res", "skin/res" };
    QTest::newRow("resolution directory: same-named panel directory of the skin")
        << 1080 << "skin/1080/port/py_26.ini" << QStringList(everyTableA.mid(2))
        << "skin/port/res/default.css" << QStringList { "skin/res" };
    QTest::newRow("resolution directory: skin res last")
        << 1080 << "skin/1080/port/py_26.ini" << QStringList(everyTableA.mid(3)) << "skin/res/default.css"
        << QStringList { "skin/res" };
    QTest::newRow("resolution directory: nothing found")
        << 1080 << "skin/1080/port/py_26.ini" << QStringList() << "" << QStringList();

    const QStringList everyTableB
        = { QStringLiteral("skin/1080/res/default.css"), QStringLiteral("skin/1080/port/res/default.css"),
              QStringLiteral("skin/port/res/default.css"), QStringLiteral("skin/res/default.css") };
    QTest::newRow("plain panel directory: resolution res first")
        << 1080 << "skin/port/py_26.ini" << everyTableB << "skin/1080/res/default.css"
        << QStringList { "skin/1080/res", "skin/port/res", "skin/res" };
    QTest::newRow("plain panel directory: resolution and panel name")
        << 1080 << "skin/port/py_26.ini" << QStringList(everyTableB.mid(1))
        << "skin/1080/port/res/default.css" << QStringList { "skin/port/res", "skin/res" };
    QTest::newRow("plain panel directory: own res")
        << 1080 << "skin/port/py_26.ini" << QStringList(everyTableB.mid(2)) << "skin/port/res/default.css"
        << QStringList { "skin/port/res", "skin/res" };
    QTest::newRow("plain panel directory: skin res")
        << 1080 << "skin/port/py_26.ini" << QStringList(everyTableB.mid(3)) << "skin/res/default.css"
        << QStringList { "skin/res" };
    QTest::newRow("no resolution: the 0 directory is still tried")
        << 0 << "skin/port/py_26.ini"
        << QStringList { "skin/0/port/res/default.css", "skin/0/res/default.css",
               "skin/port/res/default.css" }
        << "skin/0/port/res/default.css" << QStringList { "skin/port/res" };
    QTest::newRow("other resolution than the directory's")
        << 720 << "skin/1080/port/py_26.ini"
        << QStringList { "skin/1080/720/res/default.css", "skin/1080/port/res/default.css" }
        << "skin/1080/720/res/default.css" << QStringList { "skin/1080/720/res", "skin/1080/port/res" };
    QTest::newRow("a directory named like the table does not count")
        << 0 << "skin/port/py_26.ini" << QStringList { "skin/port/res/default.css/", "skin/res/default.css" }
        << "skin/res/default.css" << QStringList { "skin/port/res", "skin/res" };
}

void TestPanel::searchOrder()
{
    QFETCH(int, resolution);
    QFETCH(QString, panel);
    QFETCH(QStringList, files);
    QFETCH(QString, table);
    QFETCH(QStringList, directories);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString root = dir.path() + QLatin1Char('/');
    QVERIFY(writeText(root + panel, QStringLiteral("[PANEL]\nSIZE=10,10\n")));
    for (const QString &file : qAsConst(files)) {
        if (file.endsWith(QLatin1Char('/')))
            QVERIFY(QDir().mkpath(root + file));
        else
            QVERIFY(writeText(root + file, QStringLiteral("[STYLE1]\nNM_COLOR=ff0000\n")));
    }

    mPanel->setResolution(resolution);
    mPanel->setPanelFile(root + panel);
    QVERIFY(!mPanel->loadFailed());
    QCOMPARE(mPanel->styleTablePath(), table.isEmpty() ? QString() : root + table);
    QStringList expected;
    for (const QString &directory : qAsConst(directories))
        expected.append(root + directory);
    QCOMPARE(mPanel->resourceDirectories(), expected);
}

void TestPanel::resourcesLoadedFromEveryDirectory()
{
    QTemporaryDir dir;
    const QString root = copyColors(dir);
    QVERIFY(!root.isEmpty());
    mPanel->setPanelFile(root + QStringLiteral("/port/panel.ini"));
    QCOMPARE(mPanel->resourceDirectories(), QStringList { root + QStringLiteral("/res") });
    QCOMPARE(mPanel->styleNumbers(), (QStringList { "1", "2", "3", "4", "5", "6", "7", "8", "9", "10" }));
    // The tile file of the res directory was read: style 10 paints its tile.
    const QImage tile = StylesManager::instance()->styleImage(10, QSize(-1, -1), false, 1.0);
    QCOMPARE(tile.size(), QSize(4, 4));
    QCOMPARE(pixel(tile, 0, 0), QColor(10, 200, 30));
}

void TestPanel::linkLoopInResourcesEnds()
{
    QTemporaryDir dir;
    const QString root = copyColors(dir);
    QVERIFY(QFile::link(root + QStringLiteral("/res"), root + QStringLiteral("/res/sub/loop")));
    mPanel->setPanelFile(root + QStringLiteral("/port/panel.ini"));
    QVERIFY(!mPanel->loadFailed());
    QCOMPARE(mPanel->styleNumbers().size(), 10);
}

void TestPanel::missingFileChangesNothing()
{
    QTemporaryDir dir;
    const QString root = copyColors(dir);
    const QString file = root + QStringLiteral("/port/panel.ini");
    mPanel->setPanelFile(file);
    const QString information = mPanel->basicInfomation();

    QSignalSpy reloaded(mPanel, &Panel::panelReloaded);
    QSignalSpy fileChanged(mPanel, &Panel::currentPanelFileChanged);
    const QString missing = root + QStringLiteral("/port/missing.ini");
    QTest::ignoreMessage(
        QtInfoMsg, QRegularExpression(QStringLiteral("^file: .*missing\\.ini.*not exists!$")));
    mPanel->setPanelFile(missing);
    QVERIFY(mPanel->loadFailed());
    QCOMPARE(reloaded.count(), 0);
    QCOMPARE(fileChanged.count(), 0);
    QCOMPARE(mPanel->currentPanelFile(), file);
    QCOMPARE(mPanel->basicInfomation(), information);

    // A directory is not a panel file either.
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^file: .*/port.*not exists!$")));
    mPanel->setPanelFile(root + QStringLiteral("/port"));
    QCOMPARE(reloaded.count(), 0);
    QCOMPARE(mPanel->currentPanelFile(), file);

    // A failed load shows nothing until a file loads again.
    QCOMPARE(mPanel->renderPreview().size(), QSize(1, 1));
    mPanel->setPanelFile(file);
    QVERIFY(!mPanel->loadFailed());
    QCOMPARE(mPanel->renderPreview().size(), QSize(100, 50));
}

void TestPanel::switchWithinAndAcrossDirectories()
{
    QTemporaryDir dir;
    const QString root = copyColors(dir);
    mPanel->setPanelFile(root + QStringLiteral("/port/panel.ini"));

    QSignalSpy styles(mPanel, &Panel::styleNumbersChanged);
    QSignalSpy fileChanged(mPanel, &Panel::currentPanelFileChanged);
    mPanel->setPanelFile(root + QStringLiteral("/port/second.ini"));
    QCOMPARE(styles.count(), 0);
    QCOMPARE(fileChanged.count(), 1);
    QCOMPARE(mPanel->currentPanelFile(), root + QStringLiteral("/port/second.ini"));
    QCOMPARE(mPanel->value(QStringLiteral("PANEL/SIZE")), QStringLiteral("80,40"));

    mPanel->setPanelFile(root + QStringLiteral("/other/panel.ini"));
    QCOMPARE(styles.count(), 1);
    QCOMPARE(fileChanged.count(), 2);
    QCOMPARE(mPanel->resourceDirectories(), QStringList { root + QStringLiteral("/res") });
    QCOMPARE(mPanel->value(QStringLiteral("PANEL/SIZE")), QStringLiteral("60,30"));

    // A skin without a style table lists no styles, not the previous ones.
    QTemporaryDir bare;
    QVERIFY(writeText(bare.path() + QStringLiteral("/port/p.ini"), QStringLiteral("[PANEL]\nSIZE=10,10\n")));
    mPanel->setPanelFile(bare.path() + QStringLiteral("/port/p.ini"));
    QCOMPARE(styles.count(), 2);
    QCOMPARE(mPanel->styleNumbers(), QStringList());
    QCOMPARE(mPanel->styleTablePath(), QString());
}

void TestPanel::sameFileAgainOnlyDetects()
{
    QTemporaryDir dir;
    const QString root = copyColors(dir);
    const QString file = root + QStringLiteral("/port/panel.ini");
    mPanel->setPanelFile(file);
    QSignalSpy reloaded(mPanel, &Panel::panelReloaded);
    QSignalSpy styles(mPanel, &Panel::styleNumbersChanged);
    QSignalSpy information(mPanel, &Panel::basicInfomationChanged);
    QSignalSpy fileChanged(mPanel, &Panel::currentPanelFileChanged);
    mPanel->setPanelFile(file);
    QCOMPARE(reloaded.count(), 1);
    QCOMPARE(styles.count(), 0);
    QCOMPARE(information.count(), 0);
    QCOMPARE(fileChanged.count(), 0);
}

void TestPanel::basicInformation()
{
    QTemporaryDir dir;
    const QString root = copyColors(dir);
    mPanel->setPanelFile(root + QStringLiteral("/port/panel.ini"));
    QCOMPARE(mPanel->basicInfomation(),
        QStringLiteral("[PANEL]\nSIZE=100,50\nBACK_STYLE=3\n\n"
                       "[CAND]\nTYPE=0\nVIEW_RECT=0,0,100,20\n\n"
                       "[HINT]\n\n"));
}

void TestPanel::offsetTable_data()
{
    QTest::addColumn<QString>("gen");
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<QList<QPoint>>("points");

    QTest::newRow("offset 3 only") << "[OFFSET3]\nPOS=5,-2\n"
                                   << QList<int> { 0, 3 } << QList<QPoint> { QPoint(0, 0), QPoint(5, -2) };
    QTest::newRow("OFFSET0 replaces the built-in zero") << "[OFFSET0]\nPOS=1,1\n"
                                                        << QList<int> { 0 } << QList<QPoint> { QPoint(1, 1) };
    QTest::newRow("later section of the same number wins")
        << "[OFFSET1]\nPOS=1,2\n[OFFSET01]\nPOS=3,4\n"
        << QList<int> { 0, 1 } << QList<QPoint> { QPoint(0, 0), QPoint(3, 4) };
    QTest::newRow("malformed point and number read as 0")
        << "[OFFSETX]\nPOS=7\n[OFFSET2]\nPOS=a,b\n"
        << QList<int> { 0, 2 } << QList<QPoint> { QPoint(0, 0), QPoint(0, 0) };
    QTest::newRow("other sections ignored") << "[LIST]\nPOS=9,9\n[OFFSE4]\nPOS=1,1\n"
                                            << QList<int> { 0 } << QList<QPoint> { QPoint(0, 0) };
}

void TestPanel::offsetTable()
{
    QFETCH(QString, gen);
    QFETCH(QList<int>, numbers);
    QFETCH(QList<QPoint>, points);

    QTemporaryDir dir;
    QVERIFY(writeText(dir.path() + QStringLiteral("/port/p.ini"), QStringLiteral("[PANEL]\nSIZE=10,10\n")));
    QVERIFY(writeText(dir.path() + QStringLiteral("/port/gen.ini"), gen));
    mPanel->setPanelFile(dir.path() + QStringLiteral("/port/p.ini"));
    const QMap<int, QPoint> table = mPanel->offsetTable();
    QCOMPARE(table.keys(), numbers);
    QCOMPARE(table.values(), points);
}

void TestPanel::valueFallsBackToGen()
{
    QTemporaryDir dir;
    const QString root = copyColors(dir);
    mPanel->setPanelFile(root + QStringLiteral("/port/panel.ini"));
    QCOMPARE(mPanel->value(QStringLiteral("CAND/TYPE")), QStringLiteral("0"));
    QCOMPARE(mPanel->value(QStringLiteral("LIST/CELL_SIZE")), QStringLiteral("10,8"));
    QCOMPARE(mPanel->value(QStringLiteral("INPUT/FORE_STYLE")), QStringLiteral("9"));
    QCOMPARE(mPanel->value(QStringLiteral("LIST/NAMES")), QString());

    // An empty value in the panel file still counts as the panel's own.
    QVERIFY(writeText(root + QStringLiteral("/port/empty.ini"),
        QStringLiteral("[PANEL]\nSIZE=10,10\n[LIST]\nCELL_SIZE=\n")));
    mPanel->setPanelFile(root + QStringLiteral("/port/empty.ini"));
    QCOMPARE(mPanel->value(QStringLiteral("LIST/CELL_SIZE")), QString());
    QCOMPARE(mPanel->value(QStringLiteral("LIST/TYPE")), QStringLiteral("0"));
}

void TestPanel::missingGenIniActsAsEmpty()
{
    QTemporaryDir dir;
    const QString root = copyColors(dir);
    mPanel->setPanelFile(root + QStringLiteral("/port/panel.ini"));
    QCOMPARE(mPanel->offsetTable().size(), 3);

    // The other directory has no gen.ini: nothing of port/gen.ini may remain.
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("other/gen\\.ini.*not exists!")));
    mPanel->setPanelFile(root + QStringLiteral("/other/panel.ini"));
    QVERIFY(!mPanel->genConfig());
    QCOMPARE(mPanel->value(QStringLiteral("LIST/CELL_SIZE")), QString());
    QCOMPARE(mPanel->offsetTable().keys(), QList<int> { 0 });
    QVERIFY(mPanel->basicInfomation().startsWith(QStringLiteral("[PANEL]\nSIZE=60,30\n")));

    const QImage image = mPanel->renderPreview();
    QCOMPARE(image.size(), QSize(60, 30));
    QCOMPARE(pixel(image, 30, 20), QColor(255, 0, 255));
}

void TestPanel::currentKey()
{
    QTemporaryDir dir;
    const QString root = copyColors(dir);
    mPanel->setPanelFile(root + QStringLiteral("/port/panel.ini"));

    QSignalSpy key(mPanel, &Panel::currentKeyChanged);
    QSignalSpy name(mPanel, &Panel::currentSectionNameChanged);
    QSignalSpy properties(mPanel, &Panel::currentSectionPropertiesChanged);
    mPanel->setCurrentKey(QStringLiteral("KEY2"));
    QCOMPARE(mPanel->currentKey(), QStringLiteral("KEY2"));
    QCOMPARE(mPanel->currentSectionName(), QStringLiteral("KEY2"));
    QCOMPARE(mPanel->currentSectionProperties(),
        (QStringList {
            "VIEW_RECT=40,10,20,20", "TOUCH_RECT=35,5,30,30", "BACK_STYLE=2", "STAT_STYLE=S4_1|S5_2" }));
    QCOMPARE(key.count(), 1);
    QCOMPARE(name.count(), 1);
    QCOMPARE(properties.count(), 1);

    // The same name again: only the key signal.
    mPanel->setCurrentKey(QStringLiteral("KEY2"));
    QCOMPARE(key.count(), 2);
    QCOMPARE(name.count(), 1);
    QCOMPARE(properties.count(), 1);

    // A section the file lacks has no properties.
    mPanel->setCurrentKey(QStringLiteral("KEY99"));
    QCOMPARE(mPanel->currentSectionName(), QStringLiteral("KEY99"));
    QCOMPARE(mPanel->currentSectionProperties(), QStringList());
}

void TestPanel::currentKeyWithoutPanel()
{
    QSignalSpy key(mPanel, &Panel::currentKeyChanged);
    QSignalSpy name(mPanel, &Panel::currentSectionNameChanged);
    mPanel->setCurrentKey(QStringLiteral("KEY7"));
    QCOMPARE(mPanel->currentKey(), QStringLiteral("KEY7"));
    QCOMPARE(key.count(), 1);
    QCOMPARE(name.count(), 0);
}

void TestPanel::currentStatus()
{
    QStringList order;
    auto status = connect(
        mPanel, &Panel::currentStatusChanged, this, [&order]() { order.append(QStringLiteral("status")); });
    auto reloaded = connect(
        mPanel, &Panel::panelReloaded, this, [&order]() { order.append(QStringLiteral("reloaded")); });
    mPanel->setCurrentStatus(4);
    mPanel->setCurrentStatus(4);
    mPanel->setCurrentStatus(5);
    disconnect(status);
    disconnect(reloaded);
    QCOMPARE(order, (QStringList { "status", "reloaded", "status", "reloaded" }));
    QCOMPARE(mPanel->currentStatus(), 5);
    QCOMPARE(mPanel->property("currentStatus").toInt(), 5);
}

void TestPanel::resolutionReloads()
{
    QTemporaryDir dir;
    const QString root = copyColors(dir);
    QVERIFY(writeText(
        root + QStringLiteral("/1080/res/default.css"), QStringLiteral("[STYLE42]\nNM_COLOR=123\n")));
    const QString file = root + QStringLiteral("/port/panel.ini");
    mPanel->setPanelFile(file);

    QSignalSpy resolution(mPanel, &Panel::resolutionChanged);
    QSignalSpy reloaded(mPanel, &Panel::panelReloaded);
    mPanel->setResolution(0);
    QCOMPARE(resolution.count(), 0);
    QCOMPARE(reloaded.count(), 0);

    mPanel->setResolution(1080);
    QCOMPARE(resolution.count(), 1);
    // One load, one signal.
    QCOMPARE(reloaded.count(), 1);
    QCOMPARE(mPanel->currentPanelFile(), file);
    QCOMPARE(mPanel->styleTablePath(), root + QStringLiteral("/1080/res/default.css"));
    QCOMPARE(mPanel->styleNumbers(), QStringList { "42" });

    QSignalSpy device(mPanel, &Panel::deviceResolutionChanged);
    mPanel->setDeviceResolution(720);
    mPanel->setDeviceResolution(720);
    QCOMPARE(device.count(), 1);
    QCOMPARE(mPanel->deviceResolution(), 720);
}

void TestPanel::reloadWithoutPanel()
{
    QSignalSpy reloaded(mPanel, &Panel::panelReloaded);
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^file: .*not exists!$")));
    mPanel->reload();
    QVERIFY(mPanel->loadFailed());
    QCOMPARE(reloaded.count(), 1);
    QCOMPARE(mPanel->currentPanelFile(), QString());
}

// Setting the resolutions before the panel file (as the command line does)
// reads nothing until the file is given, and the file once.
void TestPanel::resolutionWithoutPanelWaitsForTheLoad()
{
    QTemporaryDir dir;
    const QString root = copyColors(dir);
    QVERIFY(writeText(
        root + QStringLiteral("/1080/res/default.css"), QStringLiteral("[STYLE42]\nNM_COLOR=123\n")));
    QSignalSpy reloaded(mPanel, &Panel::panelReloaded);
    QSignalSpy information(mPanel, &Panel::basicInfomationChanged);
    mPanel->setResolution(1080);
    mPanel->setDeviceResolution(540);
    QCOMPARE(reloaded.count(), 0);
    QCOMPARE(mPanel->resolution(), 1080);
    mPanel->setPanelFile(root + QStringLiteral("/port/panel.ini"));
    QCOMPARE(information.count(), 1);
    QCOMPARE(mPanel->styleTablePath(), root + QStringLiteral("/1080/res/default.css"));
    mPanel->setResolution(0);
    mPanel->setDeviceResolution(0);
}

void TestPanel::clean()
{
    QTemporaryDir dir;
    const QString root = copyColors(dir);
    mPanel->setPanelFile(root + QStringLiteral("/port/panel.ini"));
    mPanel->setHighlightPointF(QPointF(0.5, 0.5));

    QSignalSpy reloaded(mPanel, &Panel::panelReloaded);
    QSignalSpy fileChanged(mPanel, &Panel::currentPanelFileChanged);
    mPanel->clean();
    QCOMPARE(reloaded.count(), 1);
    QCOMPARE(fileChanged.count(), 1);
    QCOMPARE(mPanel->currentPanelFile(), QString());
    QCOMPARE(mPanel->highlightPointF(), QPointF(0, 0));
    QVERIFY(!mPanel->panelConfig());
    QVERIFY(!mPanel->genConfig());
    QVERIFY(mPanel->resourceDirectories().isEmpty());
    QVERIFY(StylesManager::instance()->styleNumbers().isEmpty());
    const QImage image = mPanel->renderPreview();
    QCOMPARE(image.size(), QSize(1, 1));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);

    // Loading the same file again after clean rescans everything.
    mPanel->setPanelFile(root + QStringLiteral("/port/panel.ini"));
    QCOMPARE(mPanel->styleNumbers().size(), 10);
}

void TestPanel::keyOrder_data()
{
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QStringList>("keys");

    QTest::newRow("plain ascending, status keys descending")
        << "[KEY10]\nVIEW_RECT=0,0,1,1\n[KEY3]\nSTAT_STYLE=S4_1\n[KEY2]\nVIEW_RECT=0,0,1,1\n[KEY7]\nSTAT_"
           "STYLE=S4_1\n"
        << QStringList { "KEY2", "KEY10", "KEY7", "KEY3" };
    QTest::newRow("numbers, not text order") << "[KEY100]\n[KEY9]\n[KEY10]\n"
                                             << QStringList { "KEY9", "KEY10", "KEY100" };
    QTest::newRow("non-numeric suffix counts as 0") << "[KEY5]\n[KEYA]\n[KEY]\n"
                                                    << QStringList { "KEYA", "KEY", "KEY5" };
    QTest::newRow("case-sensitive prefix") << "[key1]\n[Key2]\n[KEY3]\n[KEYBOARD]\n"
                                           << QStringList { "KEYBOARD", "KEY3" };
    QTest::newRow("an empty STAT_STYLE still counts") << "[KEY1]\nSTAT_STYLE=\n[KEY2]\n"
                                                      << QStringList { "KEY2", "KEY1" };
    QTest::newRow("no keys") << "[PANEL]\nSIZE=1,1\n" << QStringList();
}

void TestPanel::keyOrder()
{
    QFETCH(QString, panel);
    QFETCH(QStringList, keys);
    QTemporaryDir dir;
    QVERIFY(writeText(dir.path() + QStringLiteral("/p.ini"), panel));
    mPanel->setPanelFile(dir.path() + QStringLiteral("/p.ini"));
    QCOMPARE(mPanel->orderedKeys(), keys);
}

void TestPanel::metaObjectInterface()
{
    const QMetaObject *meta = mPanel->metaObject();
    QStringList properties;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        QVERIFY2(
            property.isReadable() && property.isWritable() && property.hasNotifySignal(), property.name());
        QCOMPARE(QString::fromLatin1(property.notifySignal().name()),
            QString::fromLatin1(property.name()) + QStringLiteral("Changed"));
        properties.append(QString::fromLatin1(property.name()));
    }
    QCOMPARE(properties,
        (QStringList { "currentPanelFile", "basicInfomation", "highlightedKeys", "currentKey",
            "currentSectionName", "currentSectionProperties", "currentStatus", "canUndo", "canRedo",
            "styleNumbers", "panelOrigin", "panelSize", "scale", "resolution", "deviceResolution" }));

    QStringList signalNames;
    QStringList publicSlots;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() == QMetaMethod::Signal)
            signalNames.append(QString::fromLatin1(method.name()));
        else if (method.methodType() == QMetaMethod::Slot && method.access() == QMetaMethod::Public)
            publicSlots.append(QString::fromLatin1(method.methodSignature()));
    }
    // Signals added later follow those the scene was built on.
    QCOMPARE(signalNames.mid(0, 17),
        (QStringList { "panelReloaded", "hasCandiateChanged", "currentPanelFileChanged",
            "basicInfomationChanged", "highlightedKeysChanged", "currentKeyChanged",
            "currentSectionNameChanged", "currentSectionPropertiesChanged", "canUndoChanged",
            "canRedoChanged", "currentStatusChanged", "styleNumbersChanged", "panelOriginChanged",
            "panelSizeChanged", "scaleChanged", "resolutionChanged", "deviceResolutionChanged" }));

    // The editing slots may or may not be there; those present keep the
    // order QML relies on, and the panel's own are all present.
    const QStringList slotOrder = { "clean()", "reload()", "getNewKey()", "setViewRectColor(QColor)",
        "setTouchRectColor(QColor)", "setHighlightPointF(QPointF)", "setPanelFile(QString)",
        "exportAsImage(QString)", "edit(QMap<QString,QString>)", "recordAndEdit(QMap<QString,QString>)",
        "exchangeKeys(QString,QString)", "moveKeys(QStringList,int,int)",
        "adjustKeys(QStringList,int,int,int,int,int,int,int,int)", "editSection(QString,QStringList)",
        "removeKeys(QStringList)", "alignKeys(QStringList,Panel::KeyAlignType)", "undo()", "redo()" };
    QStringList expected;
    for (const QString &slot : slotOrder) {
        if (publicSlots.contains(slot))
            expected.append(slot);
    }
    QCOMPARE(publicSlots.mid(0, expected.size()), expected);
    for (const char *own : { "clean()", "reload()", "setViewRectColor(QColor)", "setTouchRectColor(QColor)",
             "setHighlightPointF(QPointF)", "setPanelFile(QString)", "exportAsImage(QString)" })
        QVERIFY2(publicSlots.contains(QLatin1String(own)), own);

    const int detect = meta->indexOfSlot("detectFilesUpdate()");
    QVERIFY(detect >= 0);
    QCOMPARE(meta->method(detect).access(), QMetaMethod::Private);

    const QMetaEnum align = QMetaEnum::fromType<Panel::KeyAlignType>();
    QCOMPARE(align.keyCount(), 8);
    const char *names[] = { "AlignLeft", "AlignTop", "AlignRight", "AlignBottom", "AlignVCenter",
        "AlignHCenter", "AlignVDistrubution", "AlignHDistrubution" };
    for (int i = 0; i < 8; ++i)
        QCOMPARE(align.keyToValue(names[i]), i);
}

void TestPanel::qmlWritesPlainMembers()
{
    QSignalSpy scale(mPanel, &Panel::scaleChanged);
    QSignalSpy keys(mPanel, &Panel::highlightedKeysChanged);
    QVERIFY(mPanel->setProperty("scale", 2.0));
    QVERIFY(mPanel->setProperty("scale", 2.0));
    QVERIFY(mPanel->setProperty("highlightedKeys", QStringList { "KEY1", "KEY2" }));
    QCOMPARE(scale.count(), 1);
    QCOMPARE(mPanel->scale(), 2.0);
    QCOMPARE(keys.count(), 1);
    QCOMPARE(mPanel->highlightedKeys(), (QStringList { "KEY1", "KEY2" }));

    // A render recomputes the scale without announcing it.
    QTemporaryDir dir;
    const QString root = copyColors(dir);
    mPanel->setPanelFile(root + QStringLiteral("/port/panel.ini"));
    mPanel->renderPreview();
    QCOMPARE(mPanel->scale(), 1.0);
    QCOMPARE(scale.count(), 1);
}

void TestPanel::watching_data()
{
    QTest::addColumn<QStringList>("touched");
    QTest::addColumn<int>("resourceReloads");
    QTest::addColumn<int>("panelReloads");
    QTest::addColumn<int>("reloadedSignals");

    QTest::newRow("nothing touched") << QStringList() << 0 << 0 << 0;
    QTest::newRow("panel file") << QStringList { "port/panel.ini" } << 0 << 1 << 1;
    QTest::newRow("gen.ini") << QStringList { "port/gen.ini" } << 0 << 1 << 1;
    QTest::newRow("png in res") << QStringList { "res/tiles.png" } << 1 << 0 << 1;
    QTest::newRow("style table") << QStringList { "res/default.css" } << 1 << 0 << 1;
    QTest::newRow("file in a sub-directory of res") << QStringList { "res/sub/notes.txt" } << 0 << 0 << 0;
    QTest::newRow("panel file and a resource")
        << QStringList { "port/panel.ini", "res/tiles.til" } << 1 << 1 << 1;
    QTest::newRow("another panel of the directory") << QStringList { "port/second.ini" } << 0 << 0 << 0;
}

void TestPanel::watching()
{
    QFETCH(QStringList, touched);
    QFETCH(int, resourceReloads);
    QFETCH(int, panelReloads);
    QFETCH(int, reloadedSignals);

    QTemporaryDir dir;
    const QString root = copyColors(dir);
    mPanel->setPanelFile(root + QStringLiteral("/port/panel.ini"));

    for (const QString &file : qAsConst(touched))
        QVERIFY(touch(root + QLatin1Char('/') + file));

    // styleNumbersChanged comes only from reading the styles again, and
    // basicInfomationChanged only from reading the panel again.
    QSignalSpy styles(mPanel, &Panel::styleNumbersChanged);
    QSignalSpy information(mPanel, &Panel::basicInfomationChanged);
    QSignalSpy reloaded(mPanel, &Panel::panelReloaded);
    QVERIFY(QMetaObject::invokeMethod(mPanel, "detectFilesUpdate"));
    QCOMPARE(styles.count(), resourceReloads);
    QCOMPARE(information.count(), panelReloads);
    QCOMPARE(reloaded.count(), reloadedSignals);

    // The new times are recorded: the next pass finds nothing.
    QVERIFY(QMetaObject::invokeMethod(mPanel, "detectFilesUpdate"));
    QCOMPARE(styles.count(), resourceReloads);
    QCOMPARE(information.count(), panelReloads);
    QCOMPARE(reloaded.count(), reloadedSignals);
}

void TestPanel::watchesOnlyWhenAsked()
{
    // Without the editor nobody reads its settings: no polling, the
    // settings' default interval and outline colours.
    QVERIFY(!mFreshTimerActive);
    QCOMPARE(mFreshInterval, 3000);
    QCOMPARE(mFreshViewRectColor, QColor(0xd6, 0x27, 0x28, 0xff));
    QCOMPARE(mFreshTouchRectColor, QColor(0x1f, 0x77, 0xb4, 0xff));

    QTimer *timer = mPanel->autoReloadTimer();
    QVERIFY(timer);
    QCOMPARE(timer->parent(), mPanel);
    const int interval = timer->interval();
    mPanel->setAutoReloadInterval(1234);
    QCOMPARE(timer->interval(), 1234);
    QVERIFY(!timer->isActive());
    mPanel->setAutoReload(true);
    QVERIFY(timer->isActive());
    QVERIFY(mPanel->autoReload());
    mPanel->setAutoReload(false);
    QVERIFY(!timer->isActive());
    mPanel->setAutoReloadInterval(interval);
}

void TestPanel::intervalIsClamped_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("taken");
    QTest::newRow("zero would poll without pause") << 0 << 500;
    QTest::newRow("negative would stop silently") << -1 << 500;
    QTest::newRow("just below") << 499 << 500;
    QTest::newRow("default") << 3000 << 3000;
    QTest::newRow("above the bound") << 10001 << 10000;
    QTest::newRow("absurd") << std::numeric_limits<int>::max() << 10000;
}

void TestPanel::intervalIsClamped()
{
    QFETCH(int, interval);
    QFETCH(int, taken);
    QTimer *timer = mPanel->autoReloadTimer();
    const int before = timer->interval();
    mPanel->setAutoReload(true);
    mPanel->setAutoReloadInterval(interval);
    QCOMPARE(timer->interval(), taken);
    QCOMPARE(mPanel->autoReloadInterval(), taken);
    QVERIFY(timer->isActive());
    mPanel->setAutoReload(false);
    QVERIFY(!timer->isActive());
    mPanel->setAutoReloadInterval(before);
}

void TestPanel::openLoadsOnceAndOwnSavesAreNoChange()
{
    QTemporaryDir dir;
    const QString root = copyColors(dir);
    // basicInfomationChanged comes once per reading of the panel file.
    QSignalSpy information(mPanel, &Panel::basicInfomationChanged);
    QSignalSpy reloaded(mPanel, &Panel::panelReloaded);
    mPanel->setPanelFile(root + QStringLiteral("/port/panel.ini"));
    QCOMPARE(information.count(), 1);
    QCOMPARE(reloaded.count(), 1);
    mPanel->setPanelFile(root + QStringLiteral("/port/second.ini"));
    QCOMPARE(information.count(), 2);
    QCOMPARE(reloaded.count(), 2);

    mPanel->moveKeys({}, 1, 1);
    QCOMPARE(reloaded.count(), 3);
    QVERIFY(QMetaObject::invokeMethod(mPanel, "detectFilesUpdate"));
    QCOMPARE(information.count(), 2);
    QCOMPARE(reloaded.count(), 3);
}

void TestPanel::resourceChangeShownOnPanelSwitch()
{
    QTemporaryDir dir;
    const QString root = copyColors(dir);
    mPanel->setPanelFile(root + QStringLiteral("/port/panel.ini"));
    QVERIFY(!mPanel->styleNumbers().contains(QStringLiteral("77")));
    QFile table(root + QStringLiteral("/res/default.css"));
    QVERIFY(table.open(QIODevice::Append));
    table.write("\r\n[STYLE77]\r\nNM_COLOR=ff0000\r\n");
    table.close();
    mPanel->setPanelFile(root + QStringLiteral("/port/second.ini"));
    QVERIFY(mPanel->styleNumbers().contains(QStringLiteral("77")));
}

void TestPanel::reloadKeepsWhatDidNotChange_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("fontsRebuilt");
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("sheetRead");

    QTest::newRow("nothing") << "" << false << "DejaVu Sans" << false;
    QTest::newRow("font replaced") << "font" << true << "Font Awesome 5 Free" << false;
    QTest::newRow("font removed") << "no font" << true << "" << false;
    QTest::newRow("sheet rewritten") << "sheet" << false << "DejaVu Sans" << true;
    QTest::newRow("tile file edited") << "tile file" << false << "DejaVu Sans" << true;
}

// A reload registers the skin's fonts and decodes its sheets again only
// where their files changed: a font removed and added again makes Qt build
// its font database and every font engine anew.
void TestPanel::reloadKeepsWhatDidNotChange()
{
    QFETCH(QString, change);
    QFETCH(bool, fontsRebuilt);
    QFETCH(QString, family);
    QFETCH(bool, sheetRead);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString root = dir.path() + QStringLiteral("/demo");
    QVERIFY(copyTree(QFileInfo(demoPanelFile()).absolutePath() + QStringLiteral("/.."), root));
    mPanel->setPanelFile(root + QStringLiteral("/port/py_26.ini"));
    QVERIFY(!mPanel->loadFailed());
    StylesManager *styles = StylesManager::instance();
    const QString font = root + QStringLiteral("/res/DejaVuSans.ttf");
    QCOMPARE(styles->fontFamily(QStringLiteral("DejaVuSans.ttf")), QStringLiteral("DejaVu Sans"));
    const qint64 sheetKey = styles->tile(QStringLiteral("keys,1")).image().cacheKey();

    if (change == QLatin1String("font")) {
        QVERIFY(QFile::remove(font));
        QVERIFY(QFile::copy(QStringLiteral(":/fontawesome/Font Awesome 5 Free-Solid-900.otf"), font));
    } else if (change == QLatin1String("no font")) {
        QVERIFY(QFile::remove(font));
    } else if (change == QLatin1String("sheet")) {
        QImage sheet(root + QStringLiteral("/res/keys.png"));
        sheet.fill(Qt::red);
        QVERIFY(sheet.save(root + QStringLiteral("/res/keys.png")));
    } else if (change == QLatin1String("tile file")) {
        QFile tiles(root + QStringLiteral("/res/keys.til"));
        QVERIFY(tiles.open(QIODevice::Append));
        tiles.write("\r\n");
    }
    QSignalSpy rebuilt(qGuiApp, &QGuiApplication::fontDatabaseChanged);
    mPanel->reload();
    QVERIFY(!mPanel->loadFailed());

    QCOMPARE(!rebuilt.isEmpty(), fontsRebuilt);
    QCOMPARE(styles->fontFamily(QStringLiteral("DejaVuSans.ttf")),
        family.isEmpty() ? styles->defaultInputFamily() : family);
    const QImage tile = styles->tile(QStringLiteral("keys,1")).image();
    QCOMPARE(tile.cacheKey() != sheetKey, sheetRead);
    QCOMPARE(pixel(tile, 30, 30) == QColor(Qt::red), change == QLatin1String("sheet"));
    // Opening nothing lets go of the skin's fonts as before.
    if (family == QLatin1String("Font Awesome 5 Free")) {
        mPanel->clean();
        QVERIFY(!QFontDatabase().families().contains(family));
    }
}

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
