#include "skin/imagelimits.h"
#include "testpaths.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

// Reading an image file, and the aspect-keeping scaling of the image
// providers (the sizes Qt's own scaledToWidth and scaledToHeight give).
class TestImageLimits : public QObject
{
    Q_OBJECT

private slots:
    void loadsWithoutPlugins_data();
    void loadsWithoutPlugins();
    void scaledKeepingAspect_data();
    void scaledKeepingAspect();
};

namespace {

bool pluginsMapped()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

} // namespace

void TestImageLimits::loadsWithoutPlugins_data()
{
    QTest::addColumn<bool>("png");
    // (in this order: the first image read is a PNG file)
    QTest::newRow("a PNG file") << true;
    QTest::newRow("a BMP file named .png") << false;
}

// A PNG file is read by the built-in reader without asking every image
// format plug-in first; another file under a .png name is still found out
// by its contents.
void TestImageLimits::loadsWithoutPlugins()
{
    QFETCH(bool, png);
    QString path = QStringLiteral(QUILLMARK_TEST_DATA_DIR "/panel-colors/res/tiles.png");
    QTemporaryDir dir;
    if (!png) {
        path = dir.filePath(QStringLiteral("sheet.png"));
        QImage bitmap(7, 3, QImage::Format_RGB32);
        bitmap.fill(Qt::red);
        QVERIFY(bitmap.save(path, "BMP"));
    } else {
        QVERIFY(!pluginsMapped());
    }
    const QImage image = ImageLimits::load(path);
    QVERIFY(!image.isNull());
    QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
    if (png)
        QVERIFY(!pluginsMapped());
    else
        QCOMPARE(image.pixel(6, 2), qRgb(255, 0, 0));
}

void TestImageLimits::scaledKeepingAspect_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    QTest::newRow("100x34 to width 30") << QSize(100, 34) << 30 << 0;
    QTest::newRow("34x100 to height 30") << QSize(34, 100) << 0 << 30;
    QTest::newRow("exact half") << QSize(100, 50) << 50 << 0;
    QTest::newRow("rounds up past a half") << QSize(100, 37) << 30 << 0;
    QTest::newRow("enlarging") << QSize(7, 3) << 100 << 0;
    QTest::newRow("enlarging by height") << QSize(3, 7) << 0 << 100;
    QTest::newRow("odd ratio") << QSize(333, 111) << 101 << 0;
}

void TestImageLimits::scaledKeepingAspect()
{
    QFETCH(QSize, source);
    QFETCH(int, width);
    QFETCH(int, height);

    QImage image(source, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    const QImage expected = width > 0 ? image.scaledToWidth(width) : image.scaledToHeight(height);
    QCOMPARE(ImageLimits::scaledKeepingAspect(image, width, height).size(), expected.size());
}

QTEST_GUILESS_MAIN(TestImageLimits)
#include "tst_imagelimits.moc"
