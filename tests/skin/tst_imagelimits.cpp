#include "skin/imagelimits.h"

#include <QImage>
#include <QtTest>

// The aspect-keeping scaling of the image providers gives the sizes Qt's own
// scaledToWidth and scaledToHeight give.
class TestImageLimits : public QObject
{
    Q_OBJECT

private slots:
    void scaledKeepingAspect_data();
    void scaledKeepingAspect();
};

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
