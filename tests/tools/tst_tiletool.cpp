#include "syncfailure.h"
#include "testpaths.h"

#include "skin/skinconfig.h"
#include "tools/tiletool.h"
#include "tooltestfiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

using namespace ToolTestFiles;

namespace {

using Files = QMap<QString, QByteArray>;

// A w x h image of one colour with a marker pixel in its top-left corner,
// so that a tile cut from the wrong place shows.
QImage solid(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    image.setPixel(0, 0, qRgba(1, 2, 3, 255));
    return image;
}

bool savePng(const QImage &image, const QString &path)
{
    return image.save(path, "PNG");
}

QImage loaded(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Every file of a directory with its bytes, to show nothing was touched.
Files snapshot(const QString &dir)
{
    Files files;
    for (const QString &name : QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name))
        files.insert(name, readAll(dir + QLatin1Char('/') + name));
    return files;
}

// The sheet of the split tests: 10 x 30, red above y 10, blue below, with
// the marker pixels of `solid` at (0, 0) and (0, 10).
QImage splitSheet()
{
    QImage sheet(10, 30, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::transparent);
    const QImage top = solid(10, 10, qRgba(255, 0, 0, 255));
    const QImage bottom = solid(10, 20, qRgba(0, 0, 255, 255));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            sheet.setPixel(x, y, top.pixel(x, y));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 10; ++x)
            sheet.setPixel(x, y + 10, bottom.pixel(x, y));
    return sheet;
}

// A 4 x 3 sheet of distinct pixels, most of them colours that a
// premultiplied copy would change: low alpha, and colours under alpha 0.
QImage lowAlphaSheet()
{
    const QRgb pixels[]
        = { qRgba(100, 50, 200, 3), qRgba(7, 8, 9, 1), qRgba(255, 128, 0, 0), qRgba(10, 200, 30, 128),
              qRgba(1, 2, 3, 255), qRgba(90, 0, 90, 0), qRgba(200, 100, 50, 17), qRgba(100, 50, 200, 3),
              qRgba(255, 255, 255, 2), qRgba(60, 70, 80, 254), qRgba(33, 66, 99, 5), qRgba(250, 5, 5, 0) };
    QImage sheet(4, 3, QImage::Format_ARGB32);
    for (int i = 0; i < 12; ++i)
        sheet.setPixel(i % 4, i / 4, pixels[i]);
    return sheet;
}

} // namespace

class TestTileTool : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void splitNeverReplacesItsSheet();
    void splitKeepsSheetPixels_data();
    void splitKeepsSheetPixels();
    void splitRefusals_data();
    void splitRefusals();
    void join_data();
    void join();
    void joinKeepsTileFileContent();
    void joinDifferentWidthsLeavesTransparency();
    void joinRefusals_data();
    void joinRefusals();
    void roundTrip();
    void demoSkinKeySheetRoundTrip();
    void fromQml();
    void refusedSyncIsReported_data();
    void refusedSyncIsReported();
    void commandLine_data();
    void commandLine();
};

void TestTileTool::split_data()
{
    QTest::addColumn<QByteArray>("til");
    QTest::addColumn<QStringList>("expected"); // "file WxH" in file-name order

    QTest::newRow("two tiles") << QByteArray(
        "[IMG1]\r\nSOURCE_RECT=0,0,10,10\r\n[IMG2]\r\nSOURCE_RECT=0,10,10,20\r\n")
                               << QStringList { QStringLiteral("001.png 10x10"),
                                      QStringLiteral("002.png 10x20") };
    QTest::newRow("section without number")
        << QByteArray("[IMGx]\r\nSOURCE_RECT=0,0,4,4\r\n") << QStringList { QStringLiteral("000.png 4x4") };
    QTest::newRow("missing source rect copies the whole sheet")
        << QByteArray("[IMG7]\r\nINNER_RECT=1,1,2,2\r\n") << QStringList { QStringLiteral("007.png 10x30") };
    QTest::newRow("three-field source rect copies the whole sheet")
        << QByteArray("[IMG7]\r\nSOURCE_RECT=0,0,4\r\n") << QStringList { QStringLiteral("007.png 10x30") };
    QTest::newRow("four digits") << QByteArray("[IMG1234]\r\nSOURCE_RECT=0,0,2,2\r\n")
                                 << QStringList { QStringLiteral("1234.png 2x2") };
    QTest::newRow("same number twice, the later wins")
        << QByteArray("[IMG1]\r\nSOURCE_RECT=0,0,10,10\r\n[IMG01]\r\nSOURCE_RECT=0,10,10,20\r\n")
        << QStringList { QStringLiteral("001.png 10x20") };
    QTest::newRow("other sections are ignored") << QByteArray(
        "[GLOBAL]\r\nTILE_NUM=3\r\n[img2]\r\nSOURCE_RECT=0,0,3,3\r\n[TILE3]\r\nSOURCE_RECT=0,0,3,3\r\n"
        "[IMG3]\r\nSOURCE_RECT=0,0,3,3\r\n") << QStringList { QStringLiteral("003.png 3x3") };
    QTest::newRow("empty source rect writes nothing") << QByteArray(
        "[IMG1]\r\nSOURCE_RECT=0,0,0,5\r\n[IMG2]\r\nSOURCE_RECT=0,0,5,-1\r\n[IMG3]\r\nSOURCE_RECT=0,0,1,"
        "1\r\n") << QStringList { QStringLiteral("003.png 1x1") };
    QTest::newRow("source rect over the image bound writes nothing")
        << QByteArray("[IMG1]\r\nSOURCE_RECT=0,0,100000,100000\r\n[IMG2]\r\nSOURCE_RECT=0,0,2,2\r\n")
        << QStringList { QStringLiteral("002.png 2x2") };
    QTest::newRow("no tile sections") << QByteArray("[GLOBAL]\r\nUSE_ALPHA=1\r\n") << QStringList();
    QTest::newRow("binary garbage") << QByteArrayLiteral("\x00\xff\xfe\x01 junk\r\n\x89PNG") << QStringList();
    QTest::newRow("header without closing bracket still opens its section")
        << QByteArray("[IMG1\r\nSOURCE_RECT=0,0,2,2\r\n") << QStringList { QStringLiteral("001.png 2x2") };
}

void TestTileTool::split()
{
    QFETCH(QByteArray, til);
    QFETCH(QStringList, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString tilPath = dir.filePath(QStringLiteral("keys.hd.til"));
    QVERIFY(writeFile(tilPath, til));
    QVERIFY(savePng(splitSheet(), dir.filePath(QStringLiteral("keys.png"))));
    const QString target = dir.filePath(QStringLiteral("tiles"));
    QVERIFY(QDir().mkpath(target));
    // An existing tile image is overwritten.
    QVERIFY(writeFile(target + QStringLiteral("/001.png"), "old"));

    TileTool tool;
    QCOMPARE(tool.split(tilPath, target), expected.size());

    QStringList found;
    for (const QString &name : QDir(target).entryList(QDir::Files, QDir::Name)) {
        const QImage image(target + QLatin1Char('/') + name);
        if (name == QLatin1String("001.png") && image.isNull()
            && expected.filter(QStringLiteral("001.png")).isEmpty())
            continue; // the untouched stand-in
        found.append(QStringLiteral("%1 %2x%3").arg(name).arg(image.width()).arg(image.height()));
    }
    QCOMPARE(found, expected);
    QCOMPARE(readAll(tilPath), til); // the tile file is only read
}

void TestTileTool::splitNeverReplacesItsSheet()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString tilPath = dir.filePath(QStringLiteral("001.til"));
    QVERIFY(writeFile(tilPath, "[IMG1]\r\nSOURCE_RECT=0,0,10,10\r\n[IMG2]\r\nSOURCE_RECT=0,10,10,20\r\n"));
    const QString sheetPath = dir.filePath(QStringLiteral("001.png"));
    QVERIFY(savePng(splitSheet(), sheetPath));
    const QByteArray sheet = readAll(sheetPath);

    TileTool tool;
    QTest::ignoreMessage(QtInfoMsg,
        QRegularExpression(QStringLiteral("001.png\"  is the sheet itself; tile  1  not written!")));
    QCOMPARE(tool.split(tilPath, dir.path()), 1);
    QCOMPARE(readAll(sheetPath), sheet);
    QCOMPARE(QImage(dir.filePath(QStringLiteral("002.png"))).size(), QSize(10, 20));
}

void TestTileTool::splitKeepsSheetPixels_data()
{
    QTest::addColumn<QImage>("sheet");
    QTest::addColumn<int>("format"); // the format the saved sheet decodes to

    QImage palette(4, 3, QImage::Format_Indexed8);
    palette.setColorTable(
        { qRgba(100, 50, 200, 3), qRgba(255, 128, 0, 0), qRgb(10, 200, 30), qRgba(1, 2, 3, 128) });
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            palette.setPixel(x, y, uint((x + y) % 4));

    QTest::newRow("RGBA under low and zero alpha") << lowAlphaSheet() << int(QImage::Format_ARGB32);
    QTest::newRow("16-bit RGBA") << lowAlphaSheet().convertToFormat(QImage::Format_RGBA64)
                                 << int(QImage::Format_RGBA64);
    QTest::newRow("RGB") << lowAlphaSheet().convertToFormat(QImage::Format_RGB32)
                         << int(QImage::Format_RGB32);
    QTest::newRow("grey") << lowAlphaSheet().convertToFormat(QImage::Format_Grayscale8)
                          << int(QImage::Format_Grayscale8);
    QTest::newRow("palette with alpha") << palette << int(QImage::Format_Indexed8);
}

void TestTileTool::splitKeepsSheetPixels()
{
    QFETCH(QImage, sheet);
    QFETCH(int, format);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString tilPath = dir.filePath(QStringLiteral("keys.til"));
    QVERIFY(writeFile(tilPath, "[IMG1]\r\nSOURCE_RECT=1,1,3,2\r\n[IMG2]\r\nINNER_RECT=0,0,1,1\r\n"));
    const QString sheetPath = dir.filePath(QStringLiteral("keys.png"));
    QVERIFY(savePng(sheet, sheetPath));
    // The sheet as its file holds it, not converted in any way.
    const QImage raw(sheetPath);
    QCOMPARE(int(raw.format()), format);
    const QString target = dir.filePath(QStringLiteral("tiles"));
    QVERIFY(QDir().mkpath(target));

    TileTool tool;
    QCOMPARE(tool.split(tilPath, target), 2);
    const QList<QPair<QString, QRect>> tiles { { QStringLiteral("001.png"), QRect(1, 1, 3, 2) },
        { QStringLiteral("002.png"), sheet.rect() } };
    for (const auto &tile : tiles) {
        const QImage image(target + QLatin1Char('/') + tile.first);
        QVERIFY2(!image.isNull(), qPrintable(tile.first));
        // Same format, same bytes as the sheet's area...
        QCOMPARE(image.format(), raw.format());
        QCOMPARE(image, raw.copy(tile.second));
        // ...and, not premultiplied, the very colours the sheet was drawn with.
        QCOMPARE(image.convertToFormat(QImage::Format_ARGB32),
            sheet.convertToFormat(QImage::Format_ARGB32).copy(tile.second));
    }
}

void TestTileTool::splitRefusals_data()
{
    QTest::addColumn<bool>("withTil");
    QTest::addColumn<QByteArray>("sheet"); // empty: no sheet file
    QTest::addColumn<QString>("target"); // relative to the temporary directory
    QTest::addColumn<QString>("message");

    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        splitSheet().save(&buffer, "PNG");
    }
    QTest::newRow("missing tile file")
        << false << png << QStringLiteral("tiles") << QStringLiteral("til file: .*keys.til\" not exists!");
    QTest::newRow("missing sheet") << true << QByteArray() << QStringLiteral("tiles")
                                   << QStringLiteral("png file: .*keys.png\" not exists!");
    QTest::newRow("missing target directory") << true << png << QStringLiteral("no/such/dir")
                                              << QStringLiteral("target dir: .*no/such/dir\" not exists!");
    QTest::newRow("target is a file") << true << png << QStringLiteral("keys.til")
                                      << QStringLiteral("target dir: .*keys.til\" not exists!");
    QTest::newRow("undecodable sheet")
        << true << QByteArray("\x89PNG\r\n\x1a\nbroken") << QStringLiteral("tiles")
        << QStringLiteral("keys.png\"  is invalid!");
    // One pixel wider than the image bound allows: refused before decoding.
    QByteArray wide;
    {
        QImage image(16385, 1, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QBuffer buffer(&wide);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    QTest::newRow("sheet over the image bound")
        << true << wide << QStringLiteral("tiles")
        << QStringLiteral("keys.png\" declares QSize\\(16385, 1\\) which is over the image size bound!");
}

void TestTileTool::splitRefusals()
{
    QFETCH(bool, withTil);
    QFETCH(QByteArray, sheet);
    QFETCH(QString, target);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString tilPath = dir.filePath(QStringLiteral("keys.til"));
    if (withTil)
        QVERIFY(writeFile(tilPath, "[IMG1]\r\nSOURCE_RECT=0,0,10,10\r\n"));
    if (!sheet.isEmpty())
        QVERIFY(writeFile(dir.filePath(QStringLiteral("keys.png")), sheet));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("tiles"))));
    const Files before = snapshot(dir.path());

    TileTool tool;
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(message));
    QCOMPARE(tool.split(tilPath, dir.filePath(target)), -1);
    QCOMPARE(snapshot(dir.path()), before);
    QVERIFY(QDir(dir.filePath(QStringLiteral("tiles"))).isEmpty());
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("no"))));
}

void TestTileTool::join_data()
{
    QTest::addColumn<QStringList>("images"); // "file WxH"
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("start");
    QTest::addColumn<QSize>("sheetSize");
    QTest::addColumn<QByteArray>("til");

    const QStringList pair { QStringLiteral("001.png 10x10"), QStringLiteral("002.png 10x20") };
    QTest::newRow("vertical") << pair << true << 1 << QSize(10, 30)
                              << QByteArray("[GLOBAL]\r\nUSE_ALPHA=1\r\nTILE_NUM=2\r\n\r\n"
                                            "[IMG1]\r\nSOURCE_RECT=0,0,10,10\r\n\r\n"
                                            "[IMG2]\r\nSOURCE_RECT=0,10,10,20\r\n\r\n");
    QTest::newRow("horizontal") << pair << false << 1 << QSize(20, 20)
                                << QByteArray("[GLOBAL]\r\nUSE_ALPHA=1\r\nTILE_NUM=2\r\n\r\n"
                                              "[IMG1]\r\nSOURCE_RECT=0,0,10,10\r\n\r\n"
                                              "[IMG2]\r\nSOURCE_RECT=10,0,10,20\r\n\r\n");
    QTest::newRow("starting number 0") << pair << true << 0 << QSize(10, 30)
                                       << QByteArray("[GLOBAL]\r\nUSE_ALPHA=1\r\nTILE_NUM=2\r\n\r\n"
                                                     "[IMG0]\r\nSOURCE_RECT=0,0,10,10\r\n\r\n"
                                                     "[IMG1]\r\nSOURCE_RECT=0,10,10,20\r\n\r\n");
    QTest::newRow("name order is text order ignoring case")
        << QStringList { QStringLiteral("2.png 2x2"), QStringLiteral("10.png 1x1"),
               QStringLiteral("B.png 3x3"), QStringLiteral("a.png 4x4") }
        << true << 1 << QSize(4, 10)
        << QByteArray("[GLOBAL]\r\nUSE_ALPHA=1\r\nTILE_NUM=4\r\n\r\n"
                      "[IMG1]\r\nSOURCE_RECT=0,0,1,1\r\n\r\n[IMG2]\r\nSOURCE_RECT=0,1,2,2\r\n\r\n"
                      "[IMG3]\r\nSOURCE_RECT=0,3,4,4\r\n\r\n[IMG4]\r\nSOURCE_RECT=0,7,3,3\r\n\r\n");
    QTest::newRow("upper-case suffix and other files are ignored")
        << QStringList { QStringLiteral("001.png 5x5"), QStringLiteral("002.PNG 6x6"),
               QStringLiteral("003.png.txt 7x7"), QStringLiteral("sub/004.png 8x8") }
        << true << 1 << QSize(5, 5)
        << QByteArray("[GLOBAL]\r\nUSE_ALPHA=1\r\nTILE_NUM=1\r\n\r\n[IMG1]\r\nSOURCE_RECT=0,0,5,5\r\n\r\n");
    QTest::newRow("undecodable png still counts")
        << QStringList { QStringLiteral("001.png 5x5"), QStringLiteral("002.png broken"),
               QStringLiteral("003.png 5x5") }
        << true << 1 << QSize(5, 10)
        << QByteArray("[GLOBAL]\r\nUSE_ALPHA=1\r\nTILE_NUM=3\r\n\r\n[IMG1]\r\nSOURCE_RECT=0,0,5,5\r\n\r\n"
                      "[IMG2]\r\nSOURCE_RECT=0,5,0,0\r\n\r\n[IMG3]\r\nSOURCE_RECT=0,5,5,5\r\n\r\n");
    QTest::newRow("no png files: counts written, no sheet")
        << QStringList { QStringLiteral("readme.txt 1x1") } << true << 1 << QSize()
        << QByteArray("[GLOBAL]\r\nUSE_ALPHA=1\r\nTILE_NUM=0\r\n\r\n");
}

void TestTileTool::join()
{
    QFETCH(QStringList, images);
    QFETCH(bool, vertical);
    QFETCH(int, start);
    QFETCH(QSize, sheetSize);
    QFETCH(QByteArray, til);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("tiles"));
    QVERIFY(QDir().mkpath(source + QStringLiteral("/sub")));
    int pngs = 0;
    for (const QString &entry : images) {
        const QString name = entry.section(QLatin1Char(' '), 0, 0);
        const QString size = entry.section(QLatin1Char(' '), 1, 1);
        const QString path = source + QLatin1Char('/') + name;
        if (size == QLatin1String("broken")) {
            QVERIFY(writeFile(path, "\x89PNG\r\n\x1a\nnot really"));
        } else {
            const QStringList wh = size.split(QLatin1Char('x'));
            QVERIFY(savePng(solid(wh.at(0).toInt(), wh.at(1).toInt(), qRgba(0, 128, 0, 255)), path));
        }
        if (name.endsWith(QLatin1String(".png")) && !name.contains(QLatin1Char('/')))
            ++pngs;
    }
    const QString tilPath = dir.filePath(QStringLiteral("sheet.til"));

    TileTool tool;
    QCOMPARE(tool.join(source, tilPath, vertical, start), pngs);
    QCOMPARE(readAll(tilPath), til);
    const QString sheetPath = dir.filePath(QStringLiteral("sheet.png"));
    QCOMPARE(QFileInfo::exists(sheetPath), sheetSize.isValid());
    if (sheetSize.isValid())
        QCOMPARE(QImage(sheetPath).size(), sheetSize);
}

void TestTileTool::joinKeepsTileFileContent()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("tiles"));
    QVERIFY(QDir().mkpath(source));
    QVERIFY(savePng(solid(4, 4, qRgba(9, 9, 9, 255)), source + QStringLiteral("/001.png")));
    QVERIFY(savePng(solid(4, 6, qRgba(9, 9, 9, 255)), source + QStringLiteral("/002.png")));
    const QString tilPath = dir.filePath(QStringLiteral("keys.til"));
    QVERIFY(writeFile(tilPath,
        "[GLOBAL]\r\nTILE_NUM=5\r\nNOTE=kept\r\n\r\n[IMG2]\r\nSOURCE_RECT=9,9,9,9\r\n"
        "INNER_RECT=1,5,2,2\r\n\r\n[IMG5]\r\nSOURCE_RECT=0,0,1,1\r\n\r\n"));

    TileTool tool;
    QCOMPARE(tool.join(source, tilPath), 2);
    QCOMPARE(readAll(tilPath),
        QByteArray("[GLOBAL]\r\nTILE_NUM=2\r\nNOTE=kept\r\nUSE_ALPHA=1\r\n\r\n"
                   "[IMG2]\r\nSOURCE_RECT=0,4,4,6\r\nINNER_RECT=1,5,2,2\r\n\r\n"
                   "[IMG5]\r\nSOURCE_RECT=0,0,1,1\r\n\r\n"
                   "[IMG1]\r\nSOURCE_RECT=0,0,4,4\r\n\r\n"));
}

void TestTileTool::joinDifferentWidthsLeavesTransparency()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("tiles"));
    QVERIFY(QDir().mkpath(source));
    QVERIFY(savePng(solid(4, 3, qRgba(255, 0, 0, 255)), source + QStringLiteral("/001.png")));
    QVERIFY(savePng(solid(10, 2, qRgba(0, 0, 255, 255)), source + QStringLiteral("/002.png")));
    const QString tilPath = dir.filePath(QStringLiteral("mixed.til"));

    TileTool tool;
    QCOMPARE(tool.join(source, tilPath), 2);
    const QImage sheet = loaded(dir.filePath(QStringLiteral("mixed.png")));
    QCOMPARE(sheet.size(), QSize(10, 5));
    QCOMPARE(sheet.pixel(0, 0), qRgba(1, 2, 3, 255));
    QCOMPARE(sheet.pixel(3, 2), qRgba(255, 0, 0, 255));
    QCOMPARE(qAlpha(sheet.pixel(4, 0)), 0);
    QCOMPARE(qAlpha(sheet.pixel(9, 2)), 0);
    QCOMPARE(sheet.pixel(0, 3), qRgba(1, 2, 3, 255));
    QCOMPARE(sheet.pixel(9, 4), qRgba(0, 0, 255, 255));
}

void TestTileTool::joinRefusals_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing source directory")
        << QStringLiteral("missing source") << QStringLiteral("source dir: .*missing\" not exists!");
    QTest::newRow("sheet over the image bound")
        << QStringLiteral("over bound") << QStringLiteral("over the image size bound; nothing written!");
    QTest::newRow("directory of the tile file missing")
        << QStringLiteral("missing til dir") << QStringLiteral("is not a directory!");
    QTest::newRow("starting number too large")
        << QStringLiteral("huge start") << QStringLiteral("starting number .* is too large");
    // The sheet's place is taken by a directory: the tile file beside it
    // must not be rewritten for a sheet that was never written.
    QTest::newRow("sheet cannot be written")
        << QStringLiteral("sheet blocked") << QStringLiteral("can not open file: .*keys.png");
    // Recorded as 0,0,0,0 it would read as the whole sheet.
    QTest::newRow("one image over the bound") << QStringLiteral(
        "image over bound") << QStringLiteral("002.png.*over the image size bound; nothing written!");
}

void TestTileTool::joinRefusals()
{
    QFETCH(QString, situation);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("tiles"));
    QVERIFY(QDir().mkpath(source));
    // Three images of 1 x 6000 stack to 18000 pixels, beyond the bound.
    const int height = situation == QLatin1String("over bound") ? 6000 : 5;
    for (int i = 1; i <= 3; ++i)
        QVERIFY(savePng(solid(1, height, qRgba(0, 0, 0, 255)), source + QStringLiteral("/%1.png").arg(i)));
    if (situation == QLatin1String("image over bound"))
        QVERIFY(savePng(solid(20000, 1, qRgba(0, 0, 0, 255)), source + QStringLiteral("/002.png")));
    // A sheet and tile file from before: they must survive a refused join.
    const QString tilPath = situation == QLatin1String("missing til dir")
        ? dir.filePath(QStringLiteral("gone/keys.til"))
        : dir.filePath(QStringLiteral("keys.til"));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("keys.til")), "[IMG1]\r\nSOURCE_RECT=0,0,2,2\r\n\r\n"));
    if (situation == QLatin1String("sheet blocked"))
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("keys.png"))));
    else
        QVERIFY(savePng(solid(2, 2, qRgba(5, 5, 5, 255)), dir.filePath(QStringLiteral("keys.png"))));
    const Files before = snapshot(dir.path());

    TileTool tool;
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(message));
    const QString from
        = situation == QLatin1String("missing source") ? dir.filePath(QStringLiteral("missing")) : source;
    const int start = situation == QLatin1String("huge start") ? std::numeric_limits<int>::max() - 1 : 1;
    QCOMPARE(tool.join(from, tilPath, true, start), -1);
    QCOMPARE(snapshot(dir.path()), before);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("gone"))));
}

void TestTileTool::roundTrip()
{
    // A sheet with semi-transparent pixels, split and joined back.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QImage sheet(12, 30, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::transparent);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < (y < 10 ? 12 : 7); ++x)
            sheet.setPixel(x, y, qPremultiply(qRgba(x * 20, y * 8, 200, 40 + y * 7)));
    const QString tilPath = dir.filePath(QStringLiteral("art.til"));
    QVERIFY(savePng(sheet, dir.filePath(QStringLiteral("art.png"))));
    const QByteArray til(
        "[GLOBAL]\r\nUSE_ALPHA=1\r\nTILE_NUM=3\r\n\r\n[IMG1]\r\nSOURCE_RECT=0,0,12,10\r\n\r\n"
        "[IMG2]\r\nSOURCE_RECT=0,10,7,12\r\nINNER_RECT=2,12,3,3\r\n\r\n[IMG3]\r\nSOURCE_RECT=0,22,7,"
        "8\r\n\r\n");
    QVERIFY(writeFile(tilPath, til));
    const QString tiles = dir.filePath(QStringLiteral("tiles"));
    QVERIFY(QDir().mkpath(tiles));

    TileTool tool;
    QCOMPARE(tool.split(tilPath, tiles), 3);
    QCOMPARE(QDir(tiles).entryList(QDir::Files, QDir::Name),
        (QStringList { QStringLiteral("001.png"), QStringLiteral("002.png"), QStringLiteral("003.png") }));
    QCOMPARE(loaded(tiles + QStringLiteral("/002.png")),
        loaded(dir.filePath(QStringLiteral("art.png"))).copy(0, 10, 7, 12));
    QCOMPARE(tool.join(tiles, tilPath), 3);
    QCOMPARE(readAll(tilPath), til);
    QCOMPARE(loaded(dir.filePath(QStringLiteral("art.png"))), sheet);
}

void TestTileTool::demoSkinKeySheetRoundTrip()
{
    const QString res = QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo/res");
    QVERIFY(QFileInfo::exists(res + QStringLiteral("/keys.til")));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString tilPath = dir.filePath(QStringLiteral("keys.til"));
    QVERIFY(QFile::copy(res + QStringLiteral("/keys.til"), tilPath));
    QVERIFY(QFile::copy(res + QStringLiteral("/keys.png"), dir.filePath(QStringLiteral("keys.png"))));
    const QString tiles = dir.filePath(QStringLiteral("tiles"));
    QVERIFY(QDir().mkpath(tiles));

    const int sections
        = SkinConfig(tilPath).childGroups().filter(QRegularExpression(QStringLiteral("^IMG"))).size();
    QVERIFY(sections > 1);
    QCOMPARE(runCli({ QStringLiteral("split"), tilPath, tiles }).exitCode, 0);
    QCOMPARE(QDir(tiles).entryList(QDir::Files).size(), sections);
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("keys.png"))));
    QCOMPARE(runCli({ QStringLiteral("join"), tiles, tilPath }).exitCode, 0);

    // The same tile file and, pixel for pixel, the same sheet.
    QCOMPARE(readAll(tilPath), readAll(res + QStringLiteral("/keys.til")));
    const QImage original = loaded(res + QStringLiteral("/keys.png"));
    const QImage joined = loaded(dir.filePath(QStringLiteral("keys.png")));
    QVERIFY(!original.isNull());
    QCOMPARE(joined.size(), original.size());
    QCOMPARE(joined, original);
}

void TestTileTool::fromQml()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeFile(dir.filePath(QStringLiteral("keys.til")),
        "[IMG1]\r\nSOURCE_RECT=0,0,10,10\r\n[IMG2]\r\nSOURCE_RECT=0,10,10,20\r\n"));
    QVERIFY(savePng(splitSheet(), dir.filePath(QStringLiteral("keys.png"))));
    const QString tiles = dir.filePath(QStringLiteral("tiles"));
    QVERIFY(QDir().mkpath(tiles));
    TileTool tool;
    QString error;
    // split, join with its defaults, and join with all four arguments.
    QVERIFY2(runQml(QStringLiteral("tileTool"), &tool,
                 QStringLiteral("tileTool.split('%1', '%2');"
                                "tileTool.join('%2', '%3');"
                                "tileTool.join('%2', '%4', false, 0);")
                     .arg(dir.filePath(QStringLiteral("keys.til")), tiles,
                         dir.filePath(QStringLiteral("v.til")), dir.filePath(QStringLiteral("h.til"))),
                 &error),
        qPrintable(error));
    QCOMPARE(QDir(tiles).entryList(QDir::Files, QDir::Name),
        (QStringList { QStringLiteral("001.png"), QStringLiteral("002.png") }));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("v.til"))),
        QByteArray("[GLOBAL]\r\nUSE_ALPHA=1\r\nTILE_NUM=2\r\n\r\n[IMG1]\r\nSOURCE_RECT=0,0,10,10\r\n\r\n"
                   "[IMG2]\r\nSOURCE_RECT=0,10,10,20\r\n\r\n"));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("h.til"))),
        QByteArray("[GLOBAL]\r\nUSE_ALPHA=1\r\nTILE_NUM=2\r\n\r\n[IMG0]\r\nSOURCE_RECT=0,0,10,10\r\n\r\n"
                   "[IMG1]\r\nSOURCE_RECT=10,0,10,20\r\n\r\n"));
    QCOMPARE(QImage(dir.filePath(QStringLiteral("v.png"))).size(), QSize(10, 30));
    QCOMPARE(QImage(dir.filePath(QStringLiteral("h.png"))).size(), QSize(20, 20));
}

void TestTileTool::refusedSyncIsReported_data()
{
    QTest::addColumn<bool>("split");

    QTest::newRow("split") << true;
    QTest::newRow("join") << false;
}

// The window learns of a sync the disk refused at the end of the run as of
// any other failure, with the files that may be lost.
void TestTileTool::refusedSyncIsReported()
{
    QFETCH(bool, split);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeFile(dir.filePath(QStringLiteral("keys.til")), "[IMG1]\r\nSOURCE_RECT=0,0,10,10\r\n"));
    QVERIFY(savePng(splitSheet(), dir.filePath(QStringLiteral("keys.png"))));
    const QString tiles = dir.filePath(QStringLiteral("tiles"));
    QVERIFY(QDir().mkpath(tiles));
    QVERIFY(savePng(solid(4, 4, qRgba(0, 255, 0, 255)), tiles + QStringLiteral("/009.png")));
    TileTool tool;
    QSignalSpy reported(&tool, &TileTool::reported);
    int result = 0;
    {
        SyncFailure refused;
        result = split ? tool.split(dir.filePath(QStringLiteral("keys.til")), tiles)
                       : tool.join(tiles, dir.filePath(QStringLiteral("joined.til")));
    }
    QCOMPARE(result, -1);
    QCOMPARE(reported.size(), 1);
    const auto report = reported.first().first().value<OperationResult>();
    QVERIFY(!report.ok);
    QVERIFY2(report.message.endsWith(QStringLiteral("may not have reached the disk: Input/output error.")),
        qPrintable(report.message));
    QVERIFY(!tool.failedFiles().isEmpty());
}

void TestTileTool::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("check"); // a file that must exist afterwards

    QTest::newRow("split") << words("split TIL OUT") << 0 << QStringLiteral("OUT/002.png");
    QTest::newRow("split without target directory") << words("split TIL MISSING") << 1 << QString();
    QTest::newRow("split of a missing tile file") << words("split MISSING OUT") << 1 << QString();
    QTest::newRow("split with one argument") << words("split TIL") << 2 << QString();
    QTest::newRow("join") << words("join TILES NEWTIL") << 0 << QStringLiteral("new.png");
    QTest::newRow("join horizontal from 0")
        << words("join TILES NEWTIL --horizontal --start 0") << 0 << QStringLiteral("new.png");
    QTest::newRow("join of a missing directory") << words("join MISSING NEWTIL") << 1 << QString();
    QTest::newRow("join of a directory without png files") << words("join OUT NEWTIL") << 1 << QString();
    QTest::newRow("join with a negative start") << words("join TILES NEWTIL --start -1") << 2 << QString();
    QTest::newRow("join with a start that is not a number")
        << words("join TILES NEWTIL --start one") << 2 << QString();
    QTest::newRow("join with an unknown option") << words("join TILES NEWTIL --vertical") << 2 << QString();
}

void TestTileTool::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, check);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeFile(dir.filePath(QStringLiteral("keys.til")),
        "[IMG1]\r\nSOURCE_RECT=0,0,10,10\r\n[IMG2]\r\nSOURCE_RECT=0,10,10,20\r\n"));
    QVERIFY(savePng(splitSheet(), dir.filePath(QStringLiteral("keys.png"))));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("OUT"))));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("tiles"))));
    QVERIFY(savePng(solid(3, 3, qRgba(0, 0, 0, 255)), dir.filePath(QStringLiteral("tiles/a.png"))));
    QVERIFY(savePng(solid(3, 4, qRgba(0, 0, 0, 255)), dir.filePath(QStringLiteral("tiles/b.png"))));
    const CliResult result = runCli(withPaths(arguments,
        { { QStringLiteral("TIL"), dir.filePath(QStringLiteral("keys.til")) },
            { QStringLiteral("OUT"), dir.filePath(QStringLiteral("OUT")) },
            { QStringLiteral("MISSING"), dir.filePath(QStringLiteral("missing")) },
            { QStringLiteral("TILES"), dir.filePath(QStringLiteral("tiles")) },
            { QStringLiteral("NEWTIL"), dir.filePath(QStringLiteral("new.til")) } }));
    QVERIFY2(result.exitCode == exitCode, result.err.constData());
    if (exitCode != 0)
        QVERIFY2(result.err.contains("quillmark-cli " + arguments.first().toUtf8() + ": "),
            result.err.constData());
    if (!check.isEmpty())
        QVERIFY(QFileInfo::exists(dir.filePath(check)));
    if (exitCode == 2)
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("new.til"))));
}

QTEST_GUILESS_MAIN(TestTileTool)
#include "tst_tiletool.moc"
