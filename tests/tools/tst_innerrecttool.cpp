#include "testpaths.h"
#include "tooltestfiles.h"

#include "skin/skinconfig.h"
#include "skin/valuetext.h"
#include "tools/innerrecttool.h"
#include "tools/innerrecttoolimageprovider.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using ToolTestFiles::readAll;

void writeText(const QString &path, const QByteArray &text)
{
    QVERIFY2(ToolTestFiles::writeFile(path, text), qPrintable(path));
}

// A 200x120 sheet: red everywhere, a blue frame of 10 pixels around the
// area 100,40,60,60 so that stretching shows where the borders went.
void writeSheet(const QString &path)
{
    QImage sheet(200, 120, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::red);
    QPainter painter(&sheet);
    painter.fillRect(100, 40, 60, 60, Qt::blue);
    painter.fillRect(110, 50, 40, 40, Qt::green);
    painter.end();
    QVERIFY(sheet.save(path));
}

InnerRectTool *tool()
{
    return InnerRectTool::instance();
}

// Leaves the process-wide tool without a tile file.
void unload()
{
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("not exists!")));
    QVERIFY(!tool()->setTilFile(QStringLiteral("/nonexistent/none.til")));
}

} // namespace

class TestInnerRectTool : public QObject
{
    Q_OBJECT

private slots:
    void interface();
    void fromQml();
    void imgListInNumericOrder();
    void saveInSheetCoordinates_data();
    void saveInSheetCoordinates();
    void duplicateNumbers();
    void onlyZeroPaddedSection();
    void absurdSourceRect();
    void lowestIntRects_data();
    void lowestIntRects();
    void saveRefusesSheetCoordinatesOutOfRange_data();
    void saveRefusesSheetCoordinatesOutOfRange();
    void previewRefusesEdgesOutOfRange();
    void choosingTiles();
    void previewKeepsOtherTilesInMemory();
    void resetGoesBackToTheDocument();
    void currentImgIdWrite();
    void failedLoad_data();
    void failedLoad();
    void provider_data();
    void provider();
    void providerStretchesWithPreview();
    void cli_data();
    void cli();
};

void TestInnerRectTool::interface()
{
    const QMetaObject *meta = tool()->metaObject();
    QStringList methods;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
        methods.append(QString::fromLatin1(meta->method(i).methodSignature()));
    QCOMPARE(methods,
        (QStringList { "loaded()", "imgListChanged()", "currentImgIdChanged()", "currentInnerRectChanged()",
            "reported(OperationResult)", "setTilFile(QString)", "setCurrentImg(QString)", "setCurrentInnerRect(int,int,int,int)",
            "reset()", "save()" }));
    QVERIFY(!meta->property(meta->indexOfProperty("imgList")).isWritable());
    QVERIFY(meta->property(meta->indexOfProperty("currentImgId")).isWritable());
    QCOMPARE(meta->property(meta->indexOfProperty("currentInnerRect")).type(), QVariant::Rect);
}

void TestInnerRectTool::fromQml()
{
    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("keys.til"));
    writeText(til, "[IMG3]\r\nSOURCE_RECT=100,40,60,60\r\nINNER_RECT=110,50,40,40\r\n");
    writeSheet(dir.filePath(QStringLiteral("keys.png")));
    // What the dialog does: load, read the rectangle's corners, preview a
    // rectangle from the handles, save.
    const QString script = QStringLiteral(
        "innerRectTool.setTilFile('%1');"
        "var r = innerRectTool.currentInnerRect;"
        "if (innerRectTool.imgList[0] !== '3' || r.x !== 10 || r.width !== 40) throw new Error('read ' + r);"
        "innerRectTool.setCurrentInnerRect(r.x - 5, r.y - 5, r.width + 10, r.height + 10);"
        "innerRectTool.save();"
        "innerRectTool.currentImgId = 'mine/1';")
                               .arg(til);
    QString error;
    QVERIFY2(
        ToolTestFiles::runQml(QStringLiteral("innerRectTool"), tool(), script, &error), qPrintable(error));
    QCOMPARE(SkinConfig(til).value(QStringLiteral("IMG3/INNER_RECT")), QStringLiteral("105,45,50,50"));
    QCOMPARE(tool()->currentImgId(), QStringLiteral("mine/1"));
}

void TestInnerRectTool::imgListInNumericOrder()
{
    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("keys.til"));
    writeText(til,
        "[IMG10]\r\nSOURCE_RECT=0,0,10,10\r\n[GLOBAL]\r\nTILE_NUM=3\r\n[IMG2]\r\nSOURCE_RECT=10,0,10,10\r\n"
        "[IMG1]\r\nSOURCE_RECT=20,0,10,10\r\n[img5]\r\nSOURCE_RECT=0,0,1,1\r\n");
    writeSheet(dir.filePath(QStringLiteral("keys.png")));

    QSignalSpy loaded(tool(), &InnerRectTool::loaded);
    QSignalSpy listChanged(tool(), &InnerRectTool::imgListChanged);
    QVERIFY(tool()->setTilFile(til));
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(listChanged.count(), 2); // cleared, then filled
    QCOMPARE(tool()->imgList(), (QStringList { "1", "2", "10" }));
    QCOMPARE(tool()->currentImg(), QStringLiteral("1"));
    QVERIFY(tool()->currentImgId().startsWith(QLatin1String("1/")));
    QCOMPARE(tool()->tile(QStringLiteral("1")).image().pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(tool()->tile(QStringLiteral("10")).image().size(), QSize(10, 10));
    QCOMPARE(tool()->tile(QStringLiteral("1")).name(), QStringLiteral("keys"));
}

void TestInnerRectTool::saveInSheetCoordinates_data()
{
    QTest::addColumn<QByteArray>("inner");
    QTest::addColumn<QRect>("current");
    QTest::addColumn<QRect>("preview");
    QTest::addColumn<QString>("saved"); // empty: no INNER_RECT in the file

    const QRect none;
    QTest::newRow("stored, previewed")
        << QByteArray("110,50,40,40") << QRect(10, 10, 40, 40) << QRect(5, 5, 50, 50) << "105,45,50,50";
    QTest::newRow("stored, untouched")
        << QByteArray("110,50,40,40") << QRect(10, 10, 40, 40) << none << "110,50,40,40";
    QTest::newRow("absent, untouched") << QByteArray() << QRect(0, 0, 60, 60) << none << QString();
    QTest::newRow("absent, previewed")
        << QByteArray() << QRect(0, 0, 60, 60) << QRect(1, 1, 58, 58) << "101,41,58,58";
    QTest::newRow("absent, previewed whole tile")
        << QByteArray() << QRect(0, 0, 60, 60) << QRect(0, 0, 60, 60) << QString();
    QTest::newRow("stored whole tile")
        << QByteArray("100,40,60,60") << QRect(0, 0, 60, 60) << none << "100,40,60,60";
    QTest::newRow("zero width, untouched")
        << QByteArray("110,50,0,40") << QRect(0, 0, 60, 60) << none << "110,50,0,40";
    QTest::newRow("three fields, previewed")
        << QByteArray("110,50,40") << QRect(0, 0, 60, 60) << QRect(2, 3, 4, 5) << "102,43,4,5";
    QTest::newRow("letters, untouched") << QByteArray("a,b,c,d") << QRect(0, 0, 60, 60) << none << "a,b,c,d";
    QTest::newRow("negative preview kept as given")
        << QByteArray() << QRect(0, 0, 60, 60) << QRect(-5, -5, 70, 70) << "95,35,70,70";
}

void TestInnerRectTool::saveInSheetCoordinates()
{
    QFETCH(QByteArray, inner);
    QFETCH(QRect, current);
    QFETCH(QRect, preview);
    QFETCH(QString, saved);

    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("keys.til"));
    QByteArray text = "[IMG1]\r\nSOURCE_RECT=0,0,10,10\r\n[IMG3]\r\nSOURCE_RECT=100,40,60,60\r\n";
    if (!inner.isNull())
        text += "INNER_RECT=" + inner + "\r\n";
    writeText(til, text);
    writeSheet(dir.filePath(QStringLiteral("keys.png")));

    QVERIFY(tool()->setTilFile(til));
    tool()->setCurrentImg(QStringLiteral("3"));
    QCOMPARE(tool()->currentInnerRect(), current);
    if (!preview.isNull()) {
        tool()->setCurrentInnerRect(preview.x(), preview.y(), preview.width(), preview.height());
        QCOMPARE(tool()->currentInnerRect(), preview);
        // Nothing reaches the file before save.
        QCOMPARE(readAll(til), text);
    }
    QVERIFY(tool()->save());
    SkinConfig config(til);
    if (saved.isEmpty()) {
        QVERIFY(!config.contains(QStringLiteral("IMG3/INNER_RECT")));
    } else {
        QCOMPARE(config.value(QStringLiteral("IMG3/INNER_RECT")), saved);
    }
    QCOMPARE(config.value(QStringLiteral("IMG3/SOURCE_RECT")), QStringLiteral("100,40,60,60"));
    QVERIFY(!config.contains(QStringLiteral("IMG1/INNER_RECT")));
}

void TestInnerRectTool::duplicateNumbers()
{
    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("keys.til"));
    writeText(til, "[IMG01]\r\nSOURCE_RECT=0,0,10,10\r\n[IMG1]\r\nSOURCE_RECT=100,40,60,60\r\n");
    writeSheet(dir.filePath(QStringLiteral("keys.png")));
    QVERIFY(tool()->setTilFile(til));
    QCOMPARE(tool()->imgList(), QStringList { QStringLiteral("1") });
    QCOMPARE(tool()->tile(QStringLiteral("1")).image().size(), QSize(60, 60)); // the later section wins
    tool()->setCurrentInnerRect(10, 10, 40, 40);
    QVERIFY(tool()->save());
    SkinConfig config(til);
    QCOMPARE(config.value(QStringLiteral("IMG1/INNER_RECT")), QStringLiteral("110,50,40,40"));
    QVERIFY(!config.contains(QStringLiteral("IMG01/INNER_RECT")));
}

void TestInnerRectTool::onlyZeroPaddedSection()
{
    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("keys.til"));
    writeText(til, "[IMG01]\r\nSOURCE_RECT=100,40,60,60\r\n");
    writeSheet(dir.filePath(QStringLiteral("keys.png")));
    QVERIFY(tool()->setTilFile(til));
    tool()->setCurrentInnerRect(10, 10, 40, 40);
    QVERIFY(tool()->save());
    SkinConfig config(til);
    QCOMPARE(config.childGroups(), (QStringList { "IMG01", "IMG1" }));
    QCOMPARE(config.value(QStringLiteral("IMG1/INNER_RECT")), QStringLiteral("10,10,40,40"));
    QVERIFY(!config.contains(QStringLiteral("IMG1/SOURCE_RECT")));
    QVERIFY(!config.contains(QStringLiteral("IMG01/INNER_RECT")));
}

void TestInnerRectTool::absurdSourceRect()
{
    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("keys.til"));
    const QByteArray text = "[IMG1]\r\nSOURCE_RECT=0,0,100000,100000\r\nINNER_RECT=10,10,20,20\r\n";
    writeText(til, text);
    writeSheet(dir.filePath(QStringLiteral("keys.png")));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("over the image size bound")));
    QVERIFY(tool()->setTilFile(til));
    QCOMPARE(tool()->imgList(), QStringList { QStringLiteral("1") });
    QVERIFY(tool()->tile(QStringLiteral("1")).image().isNull());
    QCOMPARE(tool()->currentInnerRect(), QRect(10, 10, 20, 20));
    InnerRectToolImageProvider provider;
    QSize reported;
    QCOMPARE(provider.requestImage(tool()->currentImgId(), &reported, QSize(30, 30)).size(), QSize(30, 30));
    QCOMPARE(reported, QSize(30, 30));
    QVERIFY(tool()->save());
    QCOMPARE(SkinConfig(til).value(QStringLiteral("IMG1/INNER_RECT")), QStringLiteral("10,10,20,20"));
}

// Edges at the lowest int: relative positions are worked out without
// overflow, and an inner rectangle that cannot be held relative to its tile
// stands for the whole tile.
void TestInnerRectTool::lowestIntRects_data()
{
    QTest::addColumn<QByteArray>("rects");
    QTest::addColumn<QRect>("loaded");
    QTest::addColumn<QString>("saved");

    QTest::newRow("inner at the lowest int")
        << QByteArray("SOURCE_RECT=5,0,60,72\r\nINNER_RECT=-2147483648,0,10,10\r\n") << QRect(0, 0, 60, 72)
        << "6,1,2,2";
    QTest::newRow("source at the lowest int")
        << QByteArray("SOURCE_RECT=-2147483648,0,60,72\r\n") << QRect(0, 0, 60, 72) << "-2147483647,1,2,2";
    QTest::newRow("both at the lowest int")
        << QByteArray("SOURCE_RECT=-2147483648,0,60,72\r\nINNER_RECT=-2147483648,3,10,10\r\n")
        << QRect(0, 3, 10, 10) << "-2147483647,1,2,2";
}

void TestInnerRectTool::lowestIntRects()
{
    QFETCH(QByteArray, rects);
    QFETCH(QRect, loaded);
    QFETCH(QString, saved);

    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("keys.til"));
    writeText(til, "[IMG1]\r\n" + rects);
    writeSheet(dir.filePath(QStringLiteral("keys.png")));
    QVERIFY(tool()->setTilFile(til));
    QCOMPARE(tool()->currentInnerRect(), loaded);
    tool()->setCurrentInnerRect(1, 1, 2, 2);
    QVERIFY(tool()->save());
    QCOMPARE(SkinConfig(til).value(QStringLiteral("IMG1/INNER_RECT")), saved);
}

void TestInnerRectTool::saveRefusesSheetCoordinatesOutOfRange_data()
{
    QTest::addColumn<QByteArray>("sourceRect");
    QTest::addColumn<QRect>("preview"); // relative to the tile
    QTest::addColumn<bool>("saved");

    // 2147483647 is the largest int.
    QTest::newRow("left past the range")
        << QByteArray("100,40,60,60") << QRect(2147483600, 5, 40, 50) << false;
    QTest::newRow("right edge past the range")
        << QByteArray("100,40,60,60") << QRect(2147483000, 5, 600, 50) << false;
    QTest::newRow("bottom edge past the range")
        << QByteArray("100,40,60,60") << QRect(5, 2147483000, 50, 620) << false;
    QTest::newRow("left below the range")
        << QByteArray("-100,40,60,60") << QRect(-2147483600, 5, 40, 50) << false;
    QTest::newRow("right edge just inside")
        << QByteArray("100,40,60,60") << QRect(2147483000, 5, 548, 50) << true;
}

void TestInnerRectTool::saveRefusesSheetCoordinatesOutOfRange()
{
    QFETCH(QByteArray, sourceRect);
    QFETCH(QRect, preview);
    QFETCH(bool, saved);

    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("keys.til"));
    const QByteArray text = "[IMG3]\r\nSOURCE_RECT=" + sourceRect + "\r\nINNER_RECT=110,50,40,40\r\n";
    writeText(til, text);
    writeSheet(dir.filePath(QStringLiteral("keys.png")));
    QVERIFY(tool()->setTilFile(til));
    tool()->setCurrentImg(QStringLiteral("3"));
    tool()->setCurrentInnerRect(preview.x(), preview.y(), preview.width(), preview.height());
    QCOMPARE(tool()->currentInnerRect(), preview);
    QCOMPARE(
        tool()->fitsSheetCoordinates(preview.x(), preview.y(), preview.width(), preview.height()), saved);
    if (!saved) {
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("integer range .*not saved!")));
        QVERIFY(!tool()->save());
        QCOMPARE(readAll(til), text);
        return;
    }
    QVERIFY(tool()->save());
    const QRect source = ValueText::parseRect(QString::fromLatin1(sourceRect));
    QCOMPARE(SkinConfig(til).value(QStringLiteral("IMG3/INNER_RECT")),
        QStringLiteral("%1,%2,%3,%4")
            .arg(qint64(source.x()) + preview.x())
            .arg(qint64(source.y()) + preview.y())
            .arg(preview.width())
            .arg(preview.height()));
}

void TestInnerRectTool::previewRefusesEdgesOutOfRange()
{
    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("keys.til"));
    writeText(til, "[IMG3]\r\nSOURCE_RECT=100,40,60,60\r\nINNER_RECT=110,50,40,40\r\n");
    writeSheet(dir.filePath(QStringLiteral("keys.png")));
    QVERIFY(tool()->setTilFile(til));
    tool()->setCurrentImg(QStringLiteral("3"));
    QSignalSpy changed(tool(), &InnerRectTool::currentInnerRectChanged);
    // Its right edge, 2147483600 + 2147483000 - 1, is no int: the rectangle
    // cannot even be held, so it is refused and the tile keeps its own.
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("inner rect .* is invalid!")));
    tool()->setCurrentInnerRect(2147483600, 5, 2147483000, 50);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(tool()->currentInnerRect(), QRect(10, 10, 40, 40));
    QCOMPARE(tool()->tile(QStringLiteral("3")).innerRect(), QRect(10, 10, 40, 40));
    QVERIFY(!tool()->fitsSheetCoordinates(2147483600, 5, 2147483000, 50));
}

void TestInnerRectTool::choosingTiles()
{
    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("keys.til"));
    writeText(til,
        "[IMG1]\r\nSOURCE_RECT=0,0,10,10\r\n[IMG3]\r\nSOURCE_RECT=100,40,60,60\r\nINNER_RECT=110,50,40,"
        "40\r\n");
    writeSheet(dir.filePath(QStringLiteral("keys.png")));
    QVERIFY(tool()->setTilFile(til));

    QSignalSpy idChanged(tool(), &InnerRectTool::currentImgIdChanged);
    QSignalSpy rectChanged(tool(), &InnerRectTool::currentInnerRectChanged);
    tool()->setCurrentImg(QStringLiteral("1"));
    tool()->setCurrentImg(QStringLiteral("7"));
    tool()->setCurrentImg(QStringLiteral("01"));
    QCOMPARE(idChanged.count(), 0);
    QCOMPARE(rectChanged.count(), 0);
    QCOMPARE(tool()->currentImg(), QStringLiteral("1"));

    tool()->setCurrentImg(QStringLiteral("3"));
    QCOMPARE(idChanged.count(), 1);
    QCOMPARE(rectChanged.count(), 1);
    QVERIFY(tool()->currentImgId().startsWith(QLatin1String("3/")));
    QCOMPARE(tool()->currentInnerRect(), QRect(10, 10, 40, 40));
}

void TestInnerRectTool::previewKeepsOtherTilesInMemory()
{
    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("keys.til"));
    const QByteArray text = "[IMG1]\r\nSOURCE_RECT=0,0,10,10\r\n[IMG3]\r\nSOURCE_RECT=100,40,60,60\r\n";
    writeText(til, text);
    writeSheet(dir.filePath(QStringLiteral("keys.png")));
    QVERIFY(tool()->setTilFile(til));

    QSignalSpy idChanged(tool(), &InnerRectTool::currentImgIdChanged);
    tool()->setCurrentInnerRect(2, 2, 6, 6);
    const QString firstId = tool()->currentImgId();
    tool()->setCurrentInnerRect(2, 2, 6, 6); // same rectangle: the images are still asked again
    QCOMPARE(idChanged.count(), 2);
    QVERIFY(tool()->currentImgId().startsWith(QLatin1String("1/")));
    QVERIFY(tool()->currentImgId() != firstId);

    tool()->setCurrentImg(QStringLiteral("3"));
    QVERIFY(tool()->save()); // writes tile 3 only, and it was not changed
    QCOMPARE(SkinConfig(til).value(QStringLiteral("IMG1/INNER_RECT")), QString());
    tool()->setCurrentImg(QStringLiteral("1"));
    QCOMPARE(tool()->currentInnerRect(), QRect(2, 2, 6, 6));
}

void TestInnerRectTool::resetGoesBackToTheDocument()
{
    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("keys.til"));
    writeText(til, "[IMG3]\r\nSOURCE_RECT=100,40,60,60\r\nINNER_RECT=110,50,40,40\r\n");
    writeSheet(dir.filePath(QStringLiteral("keys.png")));
    QVERIFY(tool()->setTilFile(til));

    tool()->setCurrentInnerRect(1, 2, 3, 4);
    QSignalSpy idChanged(tool(), &InnerRectTool::currentImgIdChanged);
    QSignalSpy rectChanged(tool(), &InnerRectTool::currentInnerRectChanged);
    tool()->reset();
    QCOMPARE(idChanged.count(), 1);
    QCOMPARE(rectChanged.count(), 1);
    QCOMPARE(tool()->currentInnerRect(), QRect(10, 10, 40, 40));
    QCOMPARE(tool()->tile(QStringLiteral("3")).innerRect(), QRect(10, 10, 40, 40));

    tool()->setCurrentInnerRect(5, 5, 50, 50);
    QVERIFY(tool()->save());
    // The document is not reread: an edit on disk after loading is not seen.
    writeText(til, "[IMG3]\r\nSOURCE_RECT=100,40,60,60\r\nINNER_RECT=101,41,1,1\r\n");
    tool()->setCurrentInnerRect(0, 0, 9, 9);
    tool()->reset();
    QCOMPARE(tool()->currentInnerRect(), QRect(5, 5, 50, 50));
}

void TestInnerRectTool::currentImgIdWrite()
{
    QSignalSpy idChanged(tool(), &InnerRectTool::currentImgIdChanged);
    tool()->setCurrentImgId(QStringLiteral("x/1"));
    tool()->setCurrentImgId(QStringLiteral("x/1"));
    QCOMPARE(idChanged.count(), 1);
    QCOMPARE(tool()->property("currentImgId").toString(), QStringLiteral("x/1"));
}

void TestInnerRectTool::failedLoad_data()
{
    QTest::addColumn<QString>("tilName");
    QTest::addColumn<QString>("sheetFixture"); // empty: no sheet
    QTest::addColumn<QString>("message");
    QTest::newRow("missing tile file") << "missing.til" << QString() << "missing.til\"  not exists!";
    QTest::newRow("missing sheet") << "bad.til" << QString() << "bad.png\"  not exists!";
    QTest::newRow("sheet not a PNG") << "bad.til"
                                     << "tools2-images/garbage.png"
                                     << "bad.png\"  is invalid!";
    QTest::newRow("sheet over the bound") << "bad.til"
                                          << "tools2-images/huge.png"
                                          << "bad.png\"  is invalid!";
}

void TestInnerRectTool::failedLoad()
{
    QFETCH(QString, tilName);
    QFETCH(QString, sheetFixture);
    QFETCH(QString, message);

    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("keys.til"));
    const QByteArray goodText = "[IMG3]\r\nSOURCE_RECT=100,40,60,60\r\n";
    writeText(good, goodText);
    writeSheet(dir.filePath(QStringLiteral("keys.png")));
    writeText(dir.filePath(QStringLiteral("bad.til")), "[IMG1]\r\nSOURCE_RECT=0,0,5,5\r\n");
    if (!sheetFixture.isEmpty())
        QVERIFY(QFile::copy(QStringLiteral(QUILLMARK_TEST_DATA_DIR "/") + sheetFixture,
            dir.filePath(QStringLiteral("bad.png"))));

    QVERIFY(tool()->setTilFile(good));
    tool()->setCurrentInnerRect(1, 1, 2, 2);

    QSignalSpy loaded(tool(), &InnerRectTool::loaded);
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QRegularExpression::escape(message)));
    QVERIFY(!tool()->setTilFile(dir.filePath(tilName)));
    QCOMPARE(loaded.count(), 0);
    QCOMPARE(tool()->imgList(), QStringList());
    QCOMPARE(tool()->currentImgId(), QStringLiteral("1/1"));
    QCOMPARE(tool()->currentInnerRect(), QRect(0, 0, 1, 1));
    QVERIFY(tool()->tile(QStringLiteral("3")).image().isNull());

    // The previous file is out of reach now.
    QVERIFY(!tool()->save());
    tool()->reset();
    QCOMPARE(readAll(good), goodText);
    QCOMPARE(tool()->currentInnerRect(), QRect(0, 0, 1, 1));
}

void TestInnerRectTool::provider_data()
{
    QTest::addColumn<bool>("load");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("expected");
    QTest::addColumn<bool>("placeholder");

    QTest::newRow("nothing loaded") << false << "1/1" << QSize(-1, -1) << QSize(1, 1) << true;
    QTest::newRow("nothing loaded, sized") << false << "1/1" << QSize(5, 7) << QSize(5, 7) << true;
    QTest::newRow("no slash") << true << "3" << QSize(-1, -1) << QSize(1, 1) << true;
    QTest::newRow("unknown tile") << true << "9/42" << QSize(10, 10) << QSize(10, 10) << true;
    QTest::newRow("natural size") << true << "3/42" << QSize(-1, -1) << QSize(60, 60) << false;
    QTest::newRow("stretched") << true << "3/42" << QSize(60, 120) << QSize(60, 120) << false;
    QTest::newRow("one side zero") << true << "3/42" << QSize(0, 120) << QSize(1, 1) << true;
    QTest::newRow("absurd size") << true << "3/42" << QSize(100000, 100000) << QSize(1, 1) << true;
    QTest::newRow("placeholder absurd size")
        << false << "1/1" << QSize(100000, 100000) << QSize(1, 1) << true;
}

void TestInnerRectTool::provider()
{
    QFETCH(bool, load);
    QFETCH(QString, id);
    QFETCH(QSize, requested);
    QFETCH(QSize, expected);
    QFETCH(bool, placeholder);

    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("keys.til"));
    writeText(til, "[IMG3]\r\nSOURCE_RECT=100,40,60,60\r\nINNER_RECT=110,50,40,40\r\n");
    writeSheet(dir.filePath(QStringLiteral("keys.png")));
    if (load)
        QVERIFY(tool()->setTilFile(til));
    else
        unload();

    InnerRectToolImageProvider provider;
    QCOMPARE(provider.imageType(), QQmlImageProviderBase::Image);
    QSize reported;
    const QImage image = provider.requestImage(id, &reported, requested);
    QCOMPARE(image.size(), expected);
    QCOMPARE(reported, expected);
    QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
    if (placeholder) {
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
    } else {
        const QImage rendered = tool()->tile(QStringLiteral("3")).render(requested, 1);
        QCOMPARE(image, rendered);
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::blue));
        QCOMPARE(image.pixelColor(30, expected.height() / 2), QColor(Qt::green));
    }
}

void TestInnerRectTool::providerStretchesWithPreview()
{
    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("keys.til"));
    writeText(til, "[IMG3]\r\nSOURCE_RECT=100,40,60,60\r\nINNER_RECT=110,50,40,40\r\n");
    writeSheet(dir.filePath(QStringLiteral("keys.png")));
    QVERIFY(tool()->setTilFile(til));
    InnerRectToolImageProvider provider(tool());
    QSize reported;
    // Border 10 at the top: row 15 of a 60x120 rendering is green inside.
    QCOMPARE(provider.requestImage(tool()->currentImgId(), &reported, QSize(60, 120)).pixelColor(30, 15),
        QColor(Qt::green));
    // Stretching only the two blue top rows pushes the green down to row
    // 62 + 8 (tile row 10).
    tool()->setCurrentInnerRect(0, 0, 60, 2);
    const QImage stretched = provider.requestImage(tool()->currentImgId(), &reported, QSize(60, 120));
    QCOMPARE(stretched.pixelColor(30, 15), QColor(Qt::blue));
    QCOMPARE(stretched.pixelColor(30, 69), QColor(Qt::blue));
    QCOMPARE(stretched.pixelColor(30, 70), QColor(Qt::green));
}

void TestInnerRectTool::cli_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("saved");

    QTest::newRow("sets") << QStringList { "keys.til", "3", "5,5,50,50" } << 0 << "105,45,50,50";
    QTest::newRow("zero-padded tile") << QStringList { "keys.til", "03", "5,5,50,50" } << 0 << "105,45,50,50";
    QTest::newRow("unknown tile") << QStringList { "keys.til", "4", "5,5,50,50" } << 1 << "110,50,40,40";
    QTest::newRow("missing file") << QStringList { "none.til", "3", "5,5,50,50" } << 1 << "110,50,40,40";
    QTest::newRow("three fields") << QStringList { "keys.til", "3", "5,5,50" } << 2 << "110,50,40,40";
    QTest::newRow("zero width") << QStringList { "keys.til", "3", "5,5,0,50" } << 2 << "110,50,40,40";
    QTest::newRow("letters") << QStringList { "keys.til", "3", "a,5,50,50" } << 2 << "110,50,40,40";
    QTest::newRow("tile not a number") << QStringList { "keys.til", "x", "5,5,50,50" } << 2 << "110,50,40,40";
    QTest::newRow("too few arguments") << QStringList { "keys.til", "3" } << 2 << "110,50,40,40";
    QTest::newRow("unknown option") << QStringList { "keys.til", "3", "5,5,50,50", "--now" } << 2
                                    << "110,50,40,40";
    // Tile 3 lies at 100,40 on its sheet; 2147483647 is the largest int.
    QTest::newRow("sheet left past the int range")
        << QStringList { "keys.til", "3", "2147483600,5,40,50" } << 2 << "110,50,40,40";
    QTest::newRow("right edge past the int range")
        << QStringList { "keys.til", "3", "2147483600,5,2147483000,50" } << 2 << "110,50,40,40";
    QTest::newRow("sheet bottom edge past the int range")
        << QStringList { "keys.til", "3", "5,2147483000,50,620" } << 2 << "110,50,40,40";
    QTest::newRow("sheet right edge at the int limit")
        << QStringList { "keys.til", "3", "2147483000,5,548,50" } << 0 << "2147483100,45,548,50";
}

void TestInnerRectTool::cli()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, saved);

    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("keys.til"));
    const QByteArray text = "[IMG3]\r\nSOURCE_RECT=100,40,60,60\r\nINNER_RECT=110,50,40,40\r\n";
    writeText(til, text);
    writeSheet(dir.filePath(QStringLiteral("keys.png")));

    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(QUILLMARK_CLI_PATH), QStringList { QStringLiteral("inner-rect") } + args);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), exitCode);
    if (exitCode != 0) {
        QVERIFY(process.readAllStandardError().contains("quillmark-cli inner-rect: "));
        QCOMPARE(readAll(til), text); // a refused command leaves the file as it was
    }
    QCOMPARE(SkinConfig(til).value(QStringLiteral("IMG3/INNER_RECT")), saved);
}

QTEST_GUILESS_MAIN(TestInnerRectTool)
#include "tst_innerrecttool.moc"
