#include "skin/imagelimits.h"
#include "skin/tile.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

const QRgb Corner = qRgb(255, 0, 0);
const QRgb Edge = qRgb(0, 255, 0);
const QRgb Centre = qRgb(0, 0, 255);

// A 30x30 tile whose inner rectangle (10,10)-(19,19) is blue, the four
// corners red and the four edges green, so each nine-patch piece is known.
QImage ninePatchImage()
{
    QImage image(30, 30, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            const bool midX = x >= 10 && x < 20;
            const bool midY = y >= 10 && y < 20;
            image.setPixel(x, y, midX && midY ? Centre : (midX || midY ? Edge : Corner));
        }
    }
    return image;
}

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char c : data) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

} // namespace

class TestTile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir mDir;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = mDir.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
        return path;
    }

    // A 100x60 sheet: left half opaque white, right half opaque black.
    void writeSheet(const QString &name)
    {
        QImage sheet(100, 60, QImage::Format_ARGB32);
        sheet.fill(Qt::white);
        QPainter(&sheet).fillRect(50, 0, 50, 60, Qt::black);
        QVERIFY(sheet.save(mDir.filePath(name)));
    }

private slots:
    void initTestCase() { QVERIFY(mDir.isValid()); }

    void readTileFile_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QSize>("imageSize");
        QTest::addColumn<QRect>("innerRect");
        QTest::addColumn<QString>("message"); // a pattern of the expected info line; empty: none

        QTest::newRow("source and inner rect")
            << QByteArray("SOURCE_RECT=8,8,40,20\nINNER_RECT=10,10,20,5") << QSize(40, 20)
            << QRect(QPoint(2, 2), QPoint(21, 6)) << QString();
        QTest::newRow("no source rect: whole sheet")
            << QByteArray("X=1") << QSize(100, 60) << QRect() << QString();
        QTest::newRow("three fields: whole sheet")
            << QByteArray("SOURCE_RECT=1,2,3") << QSize(100, 60) << QRect() << QString();
        QTest::newRow("five fields: whole sheet")
            << QByteArray("SOURCE_RECT=1,2,3,4,5") << QSize(100, 60) << QRect() << QString();
        QTest::newRow("non-numeric fields: whole sheet")
            << QByteArray("SOURCE_RECT=a,b,c,d") << QSize(100, 60) << QRect() << QString();
        QTest::newRow("one side zero: no image")
            << QByteArray("SOURCE_RECT=0,0,10,0") << QSize(0, 0) << QRect() << QString();
        QTest::newRow("wider than the bound: no image, logged")
            << QByteArray("SOURCE_RECT=0,0,20000,10") << QSize(0, 0) << QRect()
            << QStringLiteral("key.bg.til\" : \"IMG007\"  SOURCE_RECT  \"0,0,20000,10\" "
                              " is over the image size bound!");
        QTest::newRow("more pixels than the bound: no image, logged")
            << QByteArray("SOURCE_RECT=5,5,10000,10000\nINNER_RECT=6,6,2,2") << QSize(0, 0)
            << QRect(QPoint(1, 1), QPoint(2, 2))
            << QStringLiteral("key.bg.til\" : \"IMG007\"  SOURCE_RECT  \"5,5,10000,10000\" "
                              " is over the image size bound!");
        // Moved into tile coordinates the inner rect would leave the int range.
        QTest::newRow("inner rect beyond the int range: none, logged")
            << QByteArray("SOURCE_RECT=-2147483648,0,10,10\nINNER_RECT=2147483000,0,5,5") << QSize(10, 10)
            << QRect() << QStringLiteral("key.bg.til\" : \"IMG007\"  INNER_RECT is invalid!");
        QTest::newRow("inner rect at the int range's end")
            << QByteArray("SOURCE_RECT=-100,-100,10,10\nINNER_RECT=2147483000,0,5,5") << QSize(10, 10)
            << QRect(QPoint(2147483100, 100), QPoint(2147483104, 104)) << QString();
    }

    void readTileFile()
    {
        QFETCH(QByteArray, section);
        QFETCH(QSize, imageSize);
        QFETCH(QRect, innerRect);
        QFETCH(QString, message);

        writeSheet(QStringLiteral("key.png"));
        const QString til
            = write(QStringLiteral("key.bg.til"), "[GLOBAL]\nUSE_ALPHA=1\n[IMG007]\n" + section + "\n");
        if (!message.isEmpty())
            QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QRegularExpression::escape(message)));
        const QList<Tile> tiles = ::readTileFile(til);
        QCOMPARE(tiles.size(), 1);
        QCOMPARE(tiles.first().name(), QStringLiteral("key"));
        QCOMPARE(tiles.first().number(), 7);
        QCOMPARE(tiles.first().key(), QStringLiteral("key,7"));
        QCOMPARE(tiles.first().image().size(), imageSize);
        QCOMPARE(tiles.first().innerRect().isValid(), innerRect.isValid());
        if (innerRect.isValid())
            QCOMPARE(tiles.first().innerRect(), innerRect);
    }

    void sectionsInDocumentOrder()
    {
        writeSheet(QStringLiteral("multi.png"));
        const QString til = write(QStringLiteral("multi.til"),
            "[IMG10]\nSOURCE_RECT=0,0,10,10\n[OTHER]\nA=1\n[IMG2]\nSOURCE_RECT=50,0,10,10\n"
            "[IMGX]\nSOURCE_RECT=90,50,20,20\n");
        const QList<Tile> tiles = ::readTileFile(til);
        QCOMPARE(tiles.size(), 3);
        QCOMPARE(tiles.at(0).number(), 10);
        QCOMPARE(tiles.at(1).number(), 2);
        QCOMPARE(tiles.at(2).number(), 0); // not a number
        QCOMPARE(tiles.at(0).image().pixel(5, 5), qRgb(255, 255, 255));
        QCOMPARE(tiles.at(1).image().pixel(5, 5), qRgb(0, 0, 0));
        // The part outside the 100x60 sheet comes out fully transparent.
        QCOMPARE(tiles.at(2).image().size(), QSize(20, 20));
        QCOMPARE(qAlpha(tiles.at(2).image().pixel(5, 5)), 255);
        QCOMPARE(qAlpha(tiles.at(2).image().pixel(15, 15)), 0);
    }

    void badFilesGiveNoTiles_data()
    {
        QTest::addColumn<QString>("tilName");
        QTest::addColumn<QByteArray>("pngBytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing tile file")
            << QStringLiteral("gone.til") << QByteArray() << QStringLiteral(" not exists!");
        QTest::newRow("missing image")
            << QStringLiteral("lonely.til") << QByteArray() << QStringLiteral(" not exists!");
        QTest::newRow("undecodable image") << QStringLiteral("broken.til") << QByteArray("not a png at all")
                                           << QStringLiteral(" is invalid!");
    }

    void badFilesGiveNoTiles()
    {
        QFETCH(QString, tilName);
        QFETCH(QByteArray, pngBytes);
        QFETCH(QString, message);
        const QString base = tilName.section(QLatin1Char('.'), 0, 0);
        if (!pngBytes.isEmpty())
            write(base + QStringLiteral(".png"), pngBytes);
        const QString til = tilName == QLatin1String("gone.til")
            ? mDir.filePath(tilName)
            : write(tilName, "[IMG1]\nSOURCE_RECT=0,0,1,1\n");
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QRegularExpression::escape(message)));
        QVERIFY(::readTileFile(til).isEmpty());
    }

    void sheetOverTheBoundIsRefusedBeforeDecoding()
    {
        // A valid 1x1 PNG whose header is rewritten to declare 20000x20000:
        // decoding it would allocate 1.6 GB.
        QImage one(1, 1, QImage::Format_ARGB32);
        one.fill(Qt::red);
        QByteArray png;
        {
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            QVERIFY(one.save(&buffer, "PNG"));
        }
        qToBigEndian<quint32>(20000, png.data() + 16);
        qToBigEndian<quint32>(20000, png.data() + 20);
        qToBigEndian<quint32>(crc32(png.mid(12, 17)), png.data() + 29);
        write(QStringLiteral("huge.png"), png);
        const QString til = write(QStringLiteral("huge.til"), "[IMG1]\nSOURCE_RECT=0,0,1,1\n");

        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("over the image size bound")));
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral(" is invalid!")));
        QVERIFY(::readTileFile(til).isEmpty());
    }

    void ninePatch_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QSize>("expectedSize");
        QTest::addColumn<int>("border"); // corner size in the result

        QTest::newRow("stretched") << QSize(60, 40) << 1.0 << QSize(60, 40) << 10;
        QTest::newRow("scale 2 keeps borders") << QSize(60, 40) << 2.0 << QSize(120, 80) << 10;
        QTest::newRow("half-pixel rounds up") << QSize(25, 25) << 1.5 << QSize(38, 38) << 10;
    }

    void ninePatch()
    {
        QFETCH(QSize, size);
        QFETCH(double, scale);
        QFETCH(QSize, expectedSize);
        QFETCH(int, border);

        const Tile tile(QStringLiteral("t"), 1, QRect(QPoint(10, 10), QPoint(19, 19)), ninePatchImage());
        const QImage image = tile.render(size, scale);
        QCOMPARE(image.size(), expectedSize);
        const int w = image.width();
        const int h = image.height();
        // Corners keep their pixel size, edges stretch one way, the centre both.
        QCOMPARE(image.pixel(0, 0), Corner);
        QCOMPARE(image.pixel(border - 1, border - 1), Corner);
        QCOMPARE(image.pixel(w - border, h - border), Corner);
        QCOMPARE(image.pixel(w - 1, 0), Corner);
        QCOMPARE(image.pixel(border, 0), Edge);
        QCOMPARE(image.pixel(w - border - 1, border - 1), Edge);
        QCOMPARE(image.pixel(0, h - border - 1), Edge);
        QCOMPARE(image.pixel(border, border), Centre);
        QCOMPARE(image.pixel(w - border - 1, h - border - 1), Centre);
    }

    void ninePatchSmallerThanBorders()
    {
        // 12x12 is below the 20x20 of the borders: painted at 20x20 with no
        // middle, then scaled down.
        const Tile tile(QStringLiteral("t"), 1, QRect(QPoint(10, 10), QPoint(19, 19)), ninePatchImage());
        const QImage image = tile.render(QSize(12, 12), 1.0);
        QCOMPARE(image.size(), QSize(12, 12));
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                QCOMPARE(image.pixel(x, y), Corner);
    }

    void plainScaling_data()
    {
        QTest::addColumn<QRect>("innerRect");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QSize>("expectedSize");

        const QRect inner(QPoint(10, 10), QPoint(19, 19));
        QTest::newRow("no inner rect") << QRect() << QSize(60, 40) << 1.0 << QSize(60, 40);
        QTest::newRow("full-size inner rect, offset")
            << QRect(5, 5, 30, 30) << QSize(60, 40) << 1.0 << QSize(60, 40);
        QTest::newRow("natural size") << inner << QSize(-1, -1) << 1.0 << QSize(30, 30);
        QTest::newRow("natural size scaled") << inner << QSize(-1, 5) << 1.5 << QSize(45, 45);
        QTest::newRow("zero side nine-patch") << inner << QSize(0, 40) << 1.0 << QSize();
        QTest::newRow("zero side plain") << QRect() << QSize(60, 0) << 1.0 << QSize();
        QTest::newRow("absurd size nine-patch") << inner << QSize(100000, 100000) << 1.0 << QSize();
        QTest::newRow("absurd size plain") << QRect() << QSize(100000, 100000) << 1.0 << QSize();
        // Borders beyond any image: no nine-patch, the tile is scaled plainly.
        QTest::newRow("inner rect far left of the tile")
            << QRect(QPoint(-2000000000, 10), QPoint(19, 19)) << QSize(60, 40) << 1.0 << QSize(60, 40);
        QTest::newRow("inner rect far below the tile")
            << QRect(QPoint(10, 10), QPoint(19, 2000000000)) << QSize(60, 40) << 1.0 << QSize(60, 40);
    }

    void plainScaling()
    {
        QFETCH(QRect, innerRect);
        QFETCH(QSize, size);
        QFETCH(double, scale);
        QFETCH(QSize, expectedSize);

        const Tile tile(QStringLiteral("t"), 1, innerRect, ninePatchImage());
        if (size.width() > ImageLimits::maxSide)
            QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("image size bound")));
        const bool farBorders = innerRect.isValid()
            && (innerRect.left() < -ImageLimits::maxSide || innerRect.bottom() > ImageLimits::maxSide);
        if (farBorders)
            QTest::ignoreMessage(
                QtInfoMsg, QRegularExpression(QStringLiteral("inner rect .* is invalid! scaled plainly")));
        const QImage image = tile.render(size, scale);
        QCOMPARE(image.size(), expectedSize.isValid() ? expectedSize : QSize(0, 0));
        QCOMPARE(image.isNull(), !expectedSize.isValid());
        if (!image.isNull() && (!innerRect.isValid() || farBorders)) // plain scaling stretches the centre too
            QCOMPARE(image.pixel(image.width() / 2, image.height() / 2), Centre);
    }

    void defaultTileRendersNothing()
    {
        QVERIFY(Tile().render(QSize(10, 10), 1.0).isNull());
        Tile tile;
        tile.setInnerRect(QRect(0, 0, 0, 0)); // invalid: ignored
        QVERIFY(!tile.innerRect().isValid());
        tile.setInnerRect(QRect(1, 1, 2, 2));
        QCOMPARE(tile.innerRect(), QRect(1, 1, 2, 2));
    }
};

QTEST_MAIN(TestTile)
#include "tst_tile.moc"
