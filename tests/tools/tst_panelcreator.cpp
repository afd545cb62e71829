#include "testpaths.h"

#include "skin/skinconfig.h"
#include "skin/valuetext.h"
#include "tools/panelcreator.h"
#include "tooltestfiles.h"

#include <QFile>
#include <QMetaProperty>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

using namespace ToolTestFiles;

namespace {

// A row as the dialog hands it over.
QVariant row(int keys, int height, int width, int spacing, int alignment)
{
    return QVariantMap { { QStringLiteral("keysNumber"), keys }, { QStringLiteral("rowHeight"), height },
        { QStringLiteral("keyWidth"), width }, { QStringLiteral("keySpacing"), spacing },
        { QStringLiteral("alignment"), alignment } };
}

QVariantList defaultDialogRows()
{
    return { row(10, -1, 100, -1, 0), row(6, 80, -1, 0, 0) };
}

QString rectsText(const QList<QRect> &rects)
{
    QStringList parts;
    for (const QRect &rect : rects)
        parts.append(ValueText::formatRect(rect));
    return parts.join(QLatin1Char(' '));
}

// Panel geometry in the order width, height, left, top, right, bottom, row spacing.
using Geometry = QVector<int>;

void applyGeometry(PanelCreator &creator, const Geometry &g)
{
    creator.setWidth(g.at(0));
    creator.setHeight(g.at(1));
    creator.setLeftPadding(g.at(2));
    creator.setTopPadding(g.at(3));
    creator.setRightPadding(g.at(4));
    creator.setBottomPadding(g.at(5));
    creator.setRowSpacing(g.at(6));
}

} // namespace

class TestPanelCreator : public QObject
{
    Q_OBJECT

private slots:
    void propertiesAndDefaults();
    void layout_data();
    void layout();
    void rowConversion_data();
    void rowConversion();
    void createBytes_data();
    void createBytes();
    void touchRect();
    void extraProperties_data();
    void extraProperties();
    void createReplacesAndRepeats();
    void createIntoMissingDirectory();
    void absurdKeyCount();
    void fromQml();
    void commandLine_data();
    void commandLine();
};

void TestPanelCreator::propertiesAndDefaults()
{
    PanelCreator creator;
    const QMetaObject *meta = creator.metaObject();
    const QList<QPair<const char *, QVariant>> expected = {
        { "width", 1080 },
        { "height", 680 },
        { "leftPadding", 0 },
        { "topPadding", 0 },
        { "rightPadding", 0 },
        { "bottomPadding", 0 },
        { "rowSpacing", 0 },
        { "includeTouchRect", false },
        { "touchRectLeftPadding", 0 },
        { "touchRectTopPadding", 0 },
        { "touchRectRightPadding", 0 },
        { "touchRectBottomPadding", 0 },
        { "extraProperties",
            QStringList { QStringLiteral("UP="), QStringLiteral("DOWN="), QStringLiteral("LEFT=") } },
    };
    for (const auto &property : expected) {
        const int index = meta->indexOfProperty(property.first);
        QVERIFY2(index >= 0, property.first);
        QVERIFY2(meta->property(index).isWritable(), property.first);
        QCOMPARE(creator.property(property.first), property.second);
    }
    // The rows can be handed over, never read back.
    const int rowsIndex = meta->indexOfProperty("rowPropertiesList");
    QVERIFY(rowsIndex >= 0);
    const QMetaProperty rows = meta->property(rowsIndex);
    QVERIFY(rows.isWritable());
    QVERIFY(!rows.isReadable());
    QVERIFY(creator.setProperty("rowPropertiesList", defaultDialogRows()));
    QCOMPARE(creator.rows().size(), 2);
    QVERIFY(meta->indexOfMethod("create(QString)") >= 0);

    QVERIFY(PanelCreator::instance());
    QCOMPARE(PanelCreator::instance(), PanelCreator::instance());
}

void TestPanelCreator::layout_data()
{
    QTest::addColumn<Geometry>("geometry");
    QTest::addColumn<QVariantList>("rows");
    QTest::addColumn<QString>("expected");

    const Geometry dialog { 1080, 680, 0, 0, 0, 0, 0 };
    QTest::newRow("dialog default two rows")
        << dialog << defaultDialogRows()
        << QStringLiteral(
               "0,0,100,600 108,0,100,600 216,0,100,600 324,0,100,600 432,0,100,600 540,0,100,600 "
               "648,0,100,600 756,0,100,600 864,0,100,600 972,0,100,600 "
               "0,600,180,80 180,600,180,80 360,600,180,80 540,600,180,80 720,600,180,80 900,600,180,80");
    QTest::newRow("no rows") << dialog << QVariantList() << QString();
    QTest::newRow("paddings and row spacing") << Geometry { 200, 100, 10, 20, 30, 40, 5 }
                                              << QVariantList { row(2, -1, -1, -1, 0), row(1, 10, -1, -1, 0) }
                                              << QStringLiteral("10,20,80,25 90,20,80,25 10,50,160,10");
    QTest::newRow("fixed height of a skipped row is still taken off")
        << dialog << QVariantList { row(0, 100, 50, 0, 0), row(2, -1, 50, 0, 0) }
        << QStringLiteral("0,0,50,580 50,0,50,580");
    QTest::newRow("skipped automatic row shares the automatic height")
        << dialog << QVariantList { row(0, -1, 50, 0, 0), row(2, -1, 50, 0, 0) }
        << QStringLiteral("0,0,50,340 50,0,50,340");
    QTest::newRow("skipped row takes no vertical space")
        << dialog << QVariantList { row(1, 30, 50, 0, 0), row(-3, 40, 50, 0, 0), row(1, 30, 50, 0, 0) }
        << QStringLiteral("0,0,50,30 0,30,50,30");
    QTest::newRow("right alignment shifts by the slack") << Geometry { 107, 10, 0, 0, 0, 0,
        0 } << QVariantList { row(2, 10, 50, 0, 2) } << QStringLiteral("7,0,50,10 57,0,50,10");
    QTest::newRow("centre alignment shifts by half the slack") << Geometry { 107, 10, 0, 0, 0, 0,
        0 } << QVariantList { row(2, 10, 50, 0, 1) } << QStringLiteral("3,0,50,10 53,0,50,10");
    QTest::newRow("unknown alignment is left")
        << Geometry { 107, 10, 0, 0, 0, 0, 0 } << QVariantList { row(2, 10, 50, 0, 7) }
        << QStringLiteral("0,0,50,10 50,0,50,10");
    QTest::newRow("centre of a negative slack truncates toward zero") << Geometry { 93, 10, 0, 0, 0, 0,
        0 } << QVariantList { row(2, 10, 50, 0, 1) } << QStringLiteral("-3,0,50,10 47,0,50,10");
    QTest::newRow("automatic width leaves the leftover at the right") << Geometry { 100, 10, 0, 0, 0, 0,
        0 } << QVariantList { row(3, 10, -1, -1, 0) } << QStringLiteral("0,0,33,10 33,0,33,10 66,0,33,10");
    QTest::newRow("automatic width still honours the alignment") << Geometry { 100, 10, 0, 0, 0, 0,
        0 } << QVariantList { row(3, 10, -1, -1, 2) } << QStringLiteral("1,0,33,10 34,0,33,10 67,0,33,10");
    QTest::newRow("automatic width with fixed spacing") << Geometry { 100, 10, 0, 0, 0, 0,
        0 } << QVariantList { row(3, 10, -1, 5, 0) } << QStringLiteral("0,0,30,10 35,0,30,10 70,0,30,10");
    QTest::newRow("automatic spacing truncates toward zero") << Geometry { 100, 10, 0, 0, 0, 0,
        0 } << QVariantList { row(3, 10, 51, -1, 0) } << QStringLiteral("0,0,51,10 25,0,51,10 50,0,51,10");
    QTest::newRow("same as last row after a skipped row")
        << Geometry { 400, 150, 0, 0, 0, 0, 0 }
        << QVariantList { row(2, 50, 120, 0, 0), row(0, 50, 300, 0, 0), row(3, 50, -2, 10, 0) }
        << QStringLiteral("0,0,120,50 120,0,120,50 0,50,120,50 130,50,120,50 260,50,120,50");
    QTest::newRow("same as last row with no earlier width") << Geometry { 400, 150, 0, 0, 0, 0,
        0 } << QVariantList { row(2, 50, -2, 10, 0) } << QStringLiteral("0,0,0,50 10,0,0,50");
    QTest::newRow("same as last row with automatic spacing shares the slack")
        << Geometry { 320, 100, 0, 0, 0, 0, 0 }
        << QVariantList { row(3, 50, 100, 0, 0), row(3, 50, -2, -1, 0) }
        << QStringLiteral("0,0,100,50 100,0,100,50 200,0,100,50 0,50,100,50 110,50,100,50 220,50,100,50");
    QTest::newRow("one key of fixed width with automatic spacing") << Geometry { 300, 50, 0, 0, 0, 0,
        0 } << QVariantList { row(1, 50, 200, -1, 1) } << QStringLiteral("50,0,200,50");
    QTest::newRow("one key, same as last row, automatic spacing")
        << Geometry { 300, 100, 0, 0, 0, 0, 0 }
        << QVariantList { row(2, 50, 100, 0, 0), row(1, 50, -2, -1, 2) }
        << QStringLiteral("0,0,100,50 100,0,100,50 200,50,100,50");
    QTest::newRow("fixed heights beyond the room give a negative automatic height")
        << Geometry { 100, 100, 0, 0, 0, 0, 0 }
        << QVariantList { row(1, 150, 100, 0, 0), row(1, -1, 100, 0, 0) }
        << QStringLiteral("0,0,100,150 0,150,100,-50");
}

void TestPanelCreator::layout()
{
    QFETCH(Geometry, geometry);
    QFETCH(QVariantList, rows);
    QFETCH(QString, expected);

    PanelCreator creator;
    applyGeometry(creator, geometry);
    creator.setRowPropertiesList(rows);
    creator.layoutKeys();
    QCOMPARE(rectsText(creator.keyRects()), expected);

    // keyRects is rebuilt, not appended to, on the next layout.
    creator.layoutKeys();
    QCOMPARE(rectsText(creator.keyRects()), expected);
}

void TestPanelCreator::rowConversion_data()
{
    QTest::addColumn<QVariant>("element");
    QTest::addColumn<QVector<int>>("expected");

    QTest::newRow("complete map") << row(3, 40, 90, 5, 2) << QVector<int> { 3, 40, 90, 5, 2 };
    QTest::newRow("missing entries count as 0")
        << QVariant(QVariantMap { { QStringLiteral("keysNumber"), 4 } }) << QVector<int> { 4, 0, 0, 0, 0 };
    QTest::newRow("text that is not a number counts as 0")
        << QVariant(QVariantMap { { QStringLiteral("keysNumber"), QStringLiteral("many") },
               { QStringLiteral("rowHeight"), QStringLiteral("12") } })
        << QVector<int> { 0, 12, 0, 0, 0 };
    QTest::newRow("element that is not a map")
        << QVariant(QStringLiteral("row")) << QVector<int> { 0, 0, 0, 0, 0 };
}

void TestPanelCreator::rowConversion()
{
    QFETCH(QVariant, element);
    QFETCH(QVector<int>, expected);

    PanelCreator creator;
    creator.setRowPropertiesList({ row(9, 9, 9, 9, 9), row(8, 8, 8, 8, 8) });
    creator.setRowPropertiesList({ element });
    QCOMPARE(creator.rows().size(), 1); // earlier rows are discarded
    const PanelCreator::RowProperties r = creator.rows().first();
    QCOMPARE((QVector<int> { r.keysNumber, r.rowHeight, r.keyWidth, r.keySpacing, r.alignment }), expected);
}

void TestPanelCreator::createBytes_data()
{
    QTest::addColumn<QVariantList>("rows");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("dialog default two rows")
        << defaultDialogRows()
        << readAll(QStringLiteral(QUILLMARK_TEST_DATA_DIR "/tools1-panelcreator/default-two-rows.ini"));
    QTest::newRow("no rows: only the panel size")
        << QVariantList() << QByteArray("[PANEL]\r\nSIZE=1080,680\r\n\r\n");
    QTest::newRow("only skipped rows")
        << QVariantList { row(0, -1, -1, -1, 0) } << QByteArray("[PANEL]\r\nSIZE=1080,680\r\n\r\n");
}

void TestPanelCreator::createBytes()
{
    QFETCH(QVariantList, rows);
    QFETCH(QByteArray, expected);
    QVERIFY(!expected.isEmpty());

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("py_26.ini"));
    PanelCreator creator;
    creator.setRowPropertiesList(rows);
    QVERIFY(creator.create(file));
    QCOMPARE(readAll(file), expected);
}

void TestPanelCreator::touchRect()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("touch.ini"));
    PanelCreator creator;
    creator.setRowPropertiesList(defaultDialogRows());
    creator.setIncludeTouchRect(true);
    creator.setTouchRectLeftPadding(5);
    creator.setTouchRectTopPadding(5);
    creator.setTouchRectRightPadding(5);
    creator.setTouchRectBottomPadding(5);
    QVERIFY(creator.create(file));

    const QByteArray bytes = readAll(file);
    QVERIFY(bytes.contains(
        "[KEY1]\r\nVIEW_RECT=0,0,100,600\r\nTOUCH_RECT=5,5,90,590\r\nUP=\r\nDOWN=\r\nLEFT=\r\n\r\n"));
    SkinConfig config(file);
    QCOMPARE(config.value(QStringLiteral("KEY16/TOUCH_RECT")), QStringLiteral("905,605,170,70"));

    // Uneven paddings go to their own sides.
    creator.setTouchRectLeftPadding(1);
    creator.setTouchRectTopPadding(2);
    creator.setTouchRectRightPadding(3);
    creator.setTouchRectBottomPadding(4);
    QVERIFY(creator.create(file));
    SkinConfig again(file);
    QCOMPARE(again.value(QStringLiteral("KEY2/TOUCH_RECT")), QStringLiteral("109,2,96,594"));
}

void TestPanelCreator::extraProperties_data()
{
    QTest::addColumn<QStringList>("extras");
    QTest::addColumn<QByteArray>("section");

    QTest::newRow("value keeps later equals signs")
        << QStringList { QStringLiteral("STYLE=3"), QStringLiteral("LABEL=a=b") }
        << QByteArray("[KEY1]\r\nVIEW_RECT=0,0,1080,680\r\nSTYLE=3\r\nLABEL=a=b\r\n\r\n");
    QTest::newRow("line without equals sign is a key with an empty value")
        << QStringList { QStringLiteral("RIGHT") }
        << QByteArray("[KEY1]\r\nVIEW_RECT=0,0,1080,680\r\nRIGHT=\r\n\r\n");
    QTest::newRow("empty keys are not written") << QStringList { QString(), QStringLiteral("=orphan"),
        QStringLiteral("UP=1") } << QByteArray("[KEY1]\r\nVIEW_RECT=0,0,1080,680\r\nUP=1\r\n\r\n");
    QTest::newRow("an extra VIEW_RECT overrides the computed one")
        << QStringList { QStringLiteral("VIEW_RECT=1,2,3,4") }
        << QByteArray("[KEY1]\r\nVIEW_RECT=1,2,3,4\r\n\r\n");
    QTest::newRow("a repeated key keeps its last value")
        << QStringList { QStringLiteral("UP=1"), QStringLiteral("DOWN="), QStringLiteral("UP=2") }
        << QByteArray("[KEY1]\r\nVIEW_RECT=0,0,1080,680\r\nUP=2\r\nDOWN=\r\n\r\n");
    QTest::newRow("nothing is trimmed") << QStringList { QStringLiteral(" UP = x ") }
                                        << QByteArray("[KEY1]\r\nVIEW_RECT=0,0,1080,680\r\n UP = x \r\n\r\n");
}

void TestPanelCreator::extraProperties()
{
    QFETCH(QStringList, extras);
    QFETCH(QByteArray, section);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("extras.ini"));
    PanelCreator creator;
    creator.setRowPropertiesList({ row(1, -1, -1, -1, 0) });
    creator.setExtraProperties(extras);
    QVERIFY(creator.create(file));
    QCOMPARE(readAll(file), QByteArray("[PANEL]\r\nSIZE=1080,680\r\n\r\n") + section);
}

void TestPanelCreator::createReplacesAndRepeats()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("old.ini"));
    {
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("[PANEL]\r\nSIZE=1,1\r\nBACK_STYLE=4\r\n\r\n[KEY99]\r\nVIEW_RECT=1,1,1,1\r\n\r\n");
    }
    PanelCreator creator;
    creator.setRowPropertiesList(defaultDialogRows());
    QVERIFY(creator.create(file));
    const QByteArray expected
        = readAll(QStringLiteral(QUILLMARK_TEST_DATA_DIR "/tools1-panelcreator/default-two-rows.ini"));
    QCOMPARE(readAll(file), expected);

    // Settings are kept between calls: the same file again.
    QVERIFY(creator.create(file));
    QCOMPARE(readAll(file), expected);
}

void TestPanelCreator::createIntoMissingDirectory()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("missing/py_26.ini"));
    PanelCreator creator;
    creator.setRowPropertiesList(defaultDialogRows());
    QTest::ignoreMessage(
        QtInfoMsg, QRegularExpression(QStringLiteral("can not open file: .*missing/py_26.ini")));
    QTest::ignoreMessage(
        QtInfoMsg, QRegularExpression(QStringLiteral("can not open file: .*missing/py_26.ini")));
    QVERIFY(!creator.create(file));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
}

void TestPanelCreator::absurdKeyCount()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("py_26.ini"));
    const QByteArray old("[PANEL]\r\nSIZE=1,1\r\n\r\n");
    QVERIFY(writeFile(file, old));
    PanelCreator creator;
    creator.setRowPropertiesList(
        { row(10, -1, -1, -1, 0), row(std::numeric_limits<int>::max(), -1, -1, -1, 0) });
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("rows ask for  2147483657  keys")));
    QVERIFY(!creator.create(file));
    QVERIFY(creator.keyRects().isEmpty());
    QCOMPARE(readAll(file), old);
}

void TestPanelCreator::fromQml()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("qml.ini"));
    PanelCreator creator;
    QString error;
    // What the dialog does: the scalars, the rows, the extra lines, create.
    const QString script = QStringLiteral(
        "creator.width = 300; creator.height = 100; creator.leftPadding = 10; creator.rightPadding = 10;"
        "creator.includeTouchRect = true; creator.touchRectLeftPadding = 2;"
        "creator.rowPropertiesList = [{keysNumber: 2, rowHeight: -1, keyWidth: -1, keySpacing: 20, "
        "alignment: 0}];"
        "creator.extraProperties = 'STYLE=1\\nLABEL=x'.split('\\n');"
        "creator.create('%1');")
                               .arg(file);
    QVERIFY2(runQml(QStringLiteral("creator"), &creator, script, &error), qPrintable(error));
    QCOMPARE(readAll(file),
        QByteArray(
            "[PANEL]\r\nSIZE=300,100\r\n\r\n"
            "[KEY1]\r\nVIEW_RECT=10,0,130,100\r\nTOUCH_RECT=12,0,128,100\r\nSTYLE=1\r\nLABEL=x\r\n\r\n"
            "[KEY2]\r\nVIEW_RECT=160,0,130,100\r\nTOUCH_RECT=162,0,128,100\r\nSTYLE=1\r\nLABEL=x\r\n\r\n"));
}

void TestPanelCreator::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("expectedContent"); // checked on success

    const QByteArray header("[PANEL]\r\nSIZE=1080,680\r\n\r\n");
    QTest::newRow("dialog default two rows")
        << words("create-panel OUT --size 1080,680 --row 10,-1,100,-1,0 --row 6,80,-1,0,0") << 0
        << readAll(QStringLiteral(QUILLMARK_TEST_DATA_DIR "/tools1-panelcreator/default-two-rows.ini"));
    QTest::newRow("touch padding turns on touch rectangles")
        << words(
               "create-panel OUT --size 1080,680 --row 1,-1,-1,-1,0 --touch-padding 5,5,5,5 --extra STYLE=2")
        << 0 << header + "[KEY1]\r\nVIEW_RECT=0,0,1080,680\r\nTOUCH_RECT=5,5,1070,670\r\nSTYLE=2\r\n\r\n";
    QTest::newRow("paddings, row spacing and no extra lines")
        << words("create-panel OUT --size 200,100 --padding 10,20,30,40 --row-spacing 5 --row 1,-1,-1,-1,0 "
                 "--row 1,10,-1,-1,0 --extra")
            + QStringList { QString() }
        << 0
        << QByteArray("[PANEL]\r\nSIZE=200,100\r\n\r\n[KEY1]\r\nVIEW_RECT=10,20,160,25\r\n\r\n"
                      "[KEY2]\r\nVIEW_RECT=10,50,160,10\r\n\r\n");
    const QByteArray none;
    QTest::newRow("missing size") << words("create-panel OUT --row 1,-1,-1,-1,0") << 2 << none;
    QTest::newRow("missing row") << words("create-panel OUT --size 1080,680") << 2 << none;
    QTest::newRow("row with four fields")
        << words("create-panel OUT --size 1080,680 --row 1,-1,-1,-1") << 2 << none;
    QTest::newRow("alignment 3") << words("create-panel OUT --size 1080,680 --row 1,-1,-1,-1,3") << 2 << none;
    QTest::newRow("width -3") << words("create-panel OUT --size 1080,680 --row 1,-1,-3,-1,0") << 2 << none;
    QTest::newRow("absurd key count")
        << words("create-panel OUT --size 1080,680 --row 99999999999,-1,-1,-1,0") << 2 << none;
    QTest::newRow("size not a number")
        << words("create-panel OUT --size wide,680 --row 1,-1,-1,-1,0") << 2 << none;
    QTest::newRow("size given twice")
        << words("create-panel OUT --size 1,1 --size 2,2 --row 1,-1,-1,-1,0") << 2 << none;
    QTest::newRow("unknown option") << words(
        "create-panel OUT --size 1080,680 --row 1,-1,-1,-1,0 --colour red")
                                    << 2 << none;
    QTest::newRow("option without value") << words("create-panel OUT --size 1080,680 --row") << 2 << none;
    QTest::newRow("output directory missing")
        << words("create-panel MISSING --size 1080,680 --row 1,-1,-1,-1,0") << 1 << none;
}

void TestPanelCreator::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, expectedContent);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("out.ini"));
    const CliResult result = runCli(withPaths(arguments,
        { { QStringLiteral("OUT"), out },
            { QStringLiteral("MISSING"), dir.filePath(QStringLiteral("no/such/dir/out.ini")) } }));
    QVERIFY2(result.exitCode == exitCode, result.err.constData());
    if (exitCode != 0) {
        QVERIFY2(result.err.contains("quillmark-cli create-panel: "), result.err.constData());
        QVERIFY(!QFileInfo::exists(out));
    } else {
        QCOMPARE(readAll(out), expectedContent);
    }
}

QTEST_GUILESS_MAIN(TestPanelCreator)
#include "tst_panelcreator.moc"
