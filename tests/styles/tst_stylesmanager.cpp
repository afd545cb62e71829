#include "stylesfixture.h"

#include "styles/stylesmanager.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QtTest>

#include <limits>

using namespace StylesFixture;

namespace {

// True when every painted pixel is `rgb` at some coverage (as antialiased
// text in one colour is) and at least one pixel has full coverage.
bool paintedOnlyIn(const QImage &image, QRgb rgb, QString *failure)
{
    bool full = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int a = qAlpha(p);
            if (a == 0)
                continue;
            const auto near
                = [a](int channel, int expected) { return qAbs(channel - expected * a / 255) <= 2; };
            if (!near(qRed(p), qRed(rgb)) || !near(qGreen(p), qGreen(rgb)) || !near(qBlue(p), qBlue(rgb))) {
                *failure = QStringLiteral("pixel %1,%2 is %3").arg(x).arg(y).arg(p, 8, 16);
                return false;
            }
            full = full || a == 255;
        }
    }
    if (!full)
        *failure = QStringLiteral("no pixel is fully covered");
    return full;
}

// Rows holding pixels of mostly the given opaque colour (white or black),
// from the top.
QList<int> rowsOf(const QImage &image, bool white)
{
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) < 250)
                continue;
            if (white ? qGray(p) > 240 : qGray(p) < 15) {
                rows.append(y);
                break;
            }
        }
    }
    return rows;
}

QFont labelFont(const QString &family, int pixelSize)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

class TestStylesManager : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir mDir;
    StylesManager *mManager = nullptr;

private slots:
    void initTestCase()
    {
        QVERIFY(prepare(mDir));
        mManager = StylesManager::instance();
    }

    // Every test starts from a freshly loaded table: the label cache is empty.
    void init() { loadTable(mManager, mDir); }

    void builtInFonts()
    {
        QCOMPARE(mManager->defaultInputFamily(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(mManager->defaultFamily(), QStringLiteral("Noto Sans CJK SC"));
        // The input font falls back to the CJK font for what it lacks.
        QVERIFY(QFont::substitutes(mManager->defaultInputFamily())
                    .contains(mManager->defaultFamily(), Qt::CaseInsensitive));
    }

    void styleImage_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("highlighted");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QSize>("expectedSize");
        QTest::addColumn<QList<QPoint>>("probes");
        QTest::addColumn<QVector<QRgb>>("colors");

        const QRgb clear = 0;
        QTest::newRow("tile stretched, borders kept")
            << 1 << QSize(60, 40) << false << 1.0 << QSize(60, 40)
            << QList<QPoint> { { 0, 0 }, { 9, 9 }, { 30, 0 }, { 30, 20 }, { 5, 20 }, { 59, 39 }, { 50, 30 } }
            << QVector<QRgb> { Red, Red, Green, Blue, Green, Red, Red };
        QTest::newRow("tile at scale 2: corners stay 10 px")
            << 1 << QSize(60, 40) << false << 2.0 << QSize(120, 80)
            << QList<QPoint> { { 9, 9 }, { 10, 10 }, { 109, 69 }, { 110, 70 } }
            << QVector<QRgb> { Red, Blue, Blue, Red };
        QTest::newRow("tile at natural size") << 1 << QSize(-1, -1) << false << 1.0 << QSize(30, 30)
                                              << QList<QPoint> { { 15, 15 } } << QVector<QRgb> { Blue };
        QTest::newRow("highlighted tile")
            << 1 << QSize(60, 40) << true << 1.0 << QSize(60, 40) << QList<QPoint> { { 0, 0 }, { 30, 20 } }
            << QVector<QRgb> { Yellow, Yellow };
        QTest::newRow("tile without inner rect scales plainly")
            << 11 << QSize(10, 7) << false << 1.0 << QSize(10, 7) << QList<QPoint> { { 9, 6 } }
            << QVector<QRgb> { Magenta };
        QTest::newRow("no highlighted image, no text: colour")
            << 11 << QSize(10, 10) << true << 1.0 << QSize(10, 10) << QList<QPoint> { { 5, 5 } }
            << QVector<QRgb> { clear };
        QTest::newRow("colour at natural size")
            << 5 << QSize(-1, -1) << false << 1.0 << QSize(30, 30) << QList<QPoint> { { 0, 0 }, { 29, 29 } }
            << QVector<QRgb> { qPremultiply(qRgba(255, 0, 0, 0x80)), qPremultiply(qRgba(255, 0, 0, 0x80)) };
        QTest::newRow("colour scaled")
            << 5 << QSize(50, 20) << false << 2.0 << QSize(100, 40) << QList<QPoint> { { 99, 39 } }
            << QVector<QRgb> { qPremultiply(qRgba(255, 0, 0, 0x80)) };
        QTest::newRow("colour scaled, halves round up")
            << 5 << QSize(5, 3) << false << 1.5 << QSize(8, 5) << QList<QPoint> { { 7, 4 } }
            << QVector<QRgb> { qPremultiply(qRgba(255, 0, 0, 0x80)) };
        QTest::newRow("highlighted colour") << 5 << QSize(50, 20) << true << 1.0 << QSize(50, 20)
                                            << QList<QPoint> { { 10, 10 } } << QVector<QRgb> { Green };
        QTest::newRow("nothing to draw: transparent")
            << 10 << QSize(50, 20) << false << 1.0 << QSize(50, 20) << QList<QPoint> { { 0, 0 }, { 49, 19 } }
            << QVector<QRgb> { clear, clear };
        QTest::newRow("unknown style at natural size")
            << 999 << QSize(-1, -1) << false << 1.0 << QSize(30, 30) << QList<QPoint> { { 15, 15 } }
            << QVector<QRgb> { clear };
        QTest::newRow("STYLE007 is not style 7") << 7 << QSize(4, 4) << false << 1.0 << QSize(4, 4)
                                                 << QList<QPoint> { { 1, 1 } } << QVector<QRgb> { clear };
        QTest::newRow("zero width: nothing")
            << 5 << QSize(0, 20) << false << 1.0 << QSize() << QList<QPoint> {} << QVector<QRgb> {};
        QTest::newRow("tile with zero height: colour fallback is empty too")
            << 11 << QSize(20, 0) << false << 1.0 << QSize() << QList<QPoint> {} << QVector<QRgb> {};
    }

    void styleImage()
    {
        QFETCH(int, number);
        QFETCH(QSize, size);
        QFETCH(bool, highlighted);
        QFETCH(double, scale);
        QFETCH(QSize, expectedSize);
        QFETCH(QList<QPoint>, probes);
        QFETCH(QVector<QRgb>, colors);

        const QImage image = mManager->styleImage(number, size, highlighted, scale);
        QCOMPARE(image.isNull(), expectedSize.isEmpty());
        if (image.isNull())
            return;
        QCOMPARE(image.size(), expectedSize);
        QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
        for (int i = 0; i < probes.size(); ++i)
            QCOMPARE(QString::number(image.pixel(probes.at(i)), 16), QString::number(colors.at(i), 16));
    }

    void labelPath_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("highlighted");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QRgb>("color");

        QTest::newRow("missing tile falls back to SHOW") << 2 << false << "A" << 20 << "DejaVu Sans" << Red;
        QTest::newRow("missing tile, highlighted") << 2 << true << "A" << 20 << "DejaVu Sans" << Blue;
        QTest::newRow("font style, default text, unregistered font")
            << 3 << false << "ABC" << 20 << "DejaVu Sans" << Red;
        QTest::newRow("style 0") << 0 << true << "Z" << 16 << "DejaVu Sans" << Blue;
        QTest::newRow("skin font") << 4 << false << "I" << 25 << "Noto Mono" << qRgb(255, 255, 255);
    }

    void labelPath()
    {
        QFETCH(int, number);
        QFETCH(bool, highlighted);
        QFETCH(QString, text);
        QFETCH(int, pixelSize);
        QFETCH(QString, family);
        QFETCH(QRgb, color);

        // The size asked for plays no part in a label.
        const QImage image = mManager->styleImage(number, QSize(300, 300), highlighted, 1.0);
        QVERIFY(!image.isNull());
        const QFontMetrics metrics(labelFont(family, pixelSize));
        QCOMPARE(image.size(), QSize(metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent()));
        if (number != 4) { // style 4 has a black shadow
            QString failure;
            QVERIFY2(paintedOnlyIn(image, color, &failure), qPrintable(failure));
        }
    }

    void labelCacheKeepsFirstPainting()
    {
        const QImage first = mManager->styleImage(3, QSize(-1, -1), false, 1.0);
        const QImage again = mManager->styleImage(3, QSize(80, 80), false, 2.0);
        QCOMPARE(again, first);

        // Reloading the styles empties the cache: now scale 2 is painted.
        loadTable(mManager, mDir);
        const QImage doubled = mManager->styleImage(3, QSize(-1, -1), false, 2.0);
        QVERIFY(doubled.height() > first.height() * 3 / 2);
        QVERIFY(doubled.width() > first.width() * 3 / 2);
        QCOMPARE(mManager->styleImage(3, QSize(-1, -1), false, 1.0), doubled);
    }

    void labelCacheKeyedByState_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("style 3") << 3;
        QTest::newRow("style 0") << 0;
    }

    void labelCacheKeyedByState()
    {
        QFETCH(int, number);
        QString failure;
        const QImage normal = mManager->styleImage(number, QSize(-1, -1), false, 1.0);
        QVERIFY2(paintedOnlyIn(normal, Red, &failure), qPrintable(failure));
        const QImage highlighted = mManager->styleImage(number, QSize(-1, -1), true, 1.0);
        QVERIFY2(paintedOnlyIn(highlighted, Blue, &failure), qPrintable(failure));
        QCOMPARE(mManager->styleImage(number, QSize(-1, -1), false, 1.0), normal);
        // Another style's label is not served from this entry.
        QVERIFY(mManager->styleImage(number == 0 ? 3 : 0, QSize(-1, -1), false, 1.0) != normal);
    }

    // One stretched tile per (tile, size, scale); a tile added again is drawn
    // afresh, and a reload starts empty.
    void tileCache()
    {
        QCOMPARE(mManager->cachedTileCount(), 0);
        const QImage first = mManager->styleImage(1, QSize(60, 40), false, 1.0);
        QCOMPARE(mManager->styleImage(1, QSize(60, 40), false, 1.0), first);
        QCOMPARE(mManager->cachedTileCount(), 1);
        QCOMPARE(mManager->styleImage(1, QSize(60, 40), false, 2.0).size(), QSize(120, 80));
        QCOMPARE(mManager->styleImage(1, QSize(61, 40), false, 1.0).size(), QSize(61, 40));
        QCOMPARE(mManager->styleImage(1, QSize(60, 40), true, 1.0).pixel(0, 0), Yellow);
        QCOMPARE(mManager->cachedTileCount(), 4);

        const Tile old = mManager->tile(QStringLiteral("keys,1"));
        QImage cyan(old.image().size(), QImage::Format_ARGB32_Premultiplied);
        cyan.fill(QColor(0, 255, 255));
        mManager->addTile(Tile(old.name(), old.number(), old.innerRect(), cyan));
        QCOMPARE(mManager->styleImage(1, QSize(60, 40), false, 1.0).pixel(30, 20), QColor(0, 255, 255).rgb());

        loadTable(mManager, mDir);
        QCOMPARE(mManager->cachedTileCount(), 0);
        QCOMPARE(mManager->styleImage(1, QSize(60, 40), false, 1.0), first);
    }

    void clearEmptiesEverything()
    {
        QVERIFY(!mManager->styleImage(3, QSize(-1, -1), false, 1.0).isNull());
        QVERIFY(!mManager->tile(QStringLiteral("keys,1")).image().isNull());
        mManager->clear();
        QVERIFY(mManager->styleNumbers().isEmpty());
        QVERIFY(mManager->tile(QStringLiteral("keys,1")).image().isNull());
        QCOMPARE(mManager->style(3).kind, QStringLiteral("other"));
        // No label left behind: style 3 is now an unknown, transparent style.
        const QImage image = mManager->styleImage(3, QSize(-1, -1), false, 1.0);
        QCOMPARE(image.size(), QSize(30, 30));
        QCOMPARE(image.pixel(15, 15), QRgb(0));
        // The built-in fonts still paint.
        QCOMPARE(mManager->fontFamily(QString()), QStringLiteral("DejaVu Sans"));
        QVERIFY(!mManager->paintLabel(QStringLiteral("A"), 12, Qt::red, QString(), QColor(), 0).isNull());
    }

    void textImagePixelSize_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("fontSize");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("pixelSize");

        QTest::newRow("style size times scale") << 3 << 0 << 1.5 << 30;
        QTest::newRow("fraction truncated") << 4 << 0 << 1.5 << 37;
        QTest::newRow("given size wins") << 3 << 11 << 1.0 << 11;
        QTest::newRow("given size scaled and truncated") << 3 << 11 << 1.9 << 20;
        QTest::newRow("negative given size takes the style's") << 3 << -4 << 1.0 << 20;
        QTest::newRow("unknown style, given size") << 999 << 14 << 1.0 << 14;
    }

    void textImagePixelSize()
    {
        QFETCH(int, number);
        QFETCH(int, fontSize);
        QFETCH(double, scale);
        QFETCH(int, pixelSize);

        const QString text = QStringLiteral("Wide text 42");
        const Style style = mManager->style(number);
        const QImage image = mManager->textImage(number, text, fontSize, false, scale);
        const auto label = [&](int size) {
            return mManager->paintLabel(
                text, size, style.normalColor, style.fontPath, style.borderColor, style.borderSize);
        };
        QVERIFY(!image.isNull());
        // The neighbouring sizes must look different for the check to mean anything.
        QVERIFY(label(pixelSize + 1).size() != label(pixelSize).size());
        QCOMPARE(image, label(pixelSize));
        // Never cached: a second call at another scale follows the scale.
        QVERIFY(mManager->textImage(number, text, fontSize, false, scale * 2).width() > image.width());
    }

    void textImageUsesStateColour()
    {
        QString failure;
        const QString text = QStringLiteral("ok");
        QVERIFY2(
            paintedOnlyIn(mManager->textImage(3, text, 0, false, 1.0), Red, &failure), qPrintable(failure));
        QVERIFY2(
            paintedOnlyIn(mManager->textImage(3, text, 0, true, 1.0), Blue, &failure), qPrintable(failure));
    }

    void borderShadow_data()
    {
        QTest::addColumn<int>("borderSize");
        QTest::newRow("2 px below") << 2;
        QTest::newRow("3 px below") << 3;
        QTest::newRow("negative: 2 px above") << -2;
    }

    void borderShadow()
    {
        QFETCH(int, borderSize);
        const QString text = QStringLiteral("I");
        const QImage plain = mManager->paintLabel(text, 40, Qt::white, QString(), QColor(0, 0, 0, 0), 0);
        const QImage shadowed = mManager->paintLabel(text, 40, Qt::white, QString(), Qt::black, borderSize);
        QVERIFY(!plain.isNull());
        // The shadow does not enlarge the label.
        QCOMPARE(shadowed.size(), plain.size());
        QVERIFY(rowsOf(plain, false).isEmpty());

        const QList<int> whiteRows = rowsOf(shadowed, true);
        const QList<int> blackRows = rowsOf(shadowed, false);
        QVERIFY(!whiteRows.isEmpty());
        QVERIFY(!blackRows.isEmpty());
        // The text is drawn over its shadow, which shows only where it sticks out.
        if (borderSize > 0) {
            QCOMPARE(blackRows.last() - whiteRows.last(), borderSize);
            QVERIFY(blackRows.first() > whiteRows.first());
        } else {
            QCOMPARE(blackRows.first() - whiteRows.first(), borderSize);
            QVERIFY(blackRows.last() < whiteRows.last());
        }
        QCOMPARE(rowsOf(plain, true), whiteRows);
    }

    // A shadow moved past the label's height cannot show; absurd sizes from a
    // broken style table paint the plain label.
    void shadowBeyondTheLabel_data()
    {
        QTest::addColumn<int>("borderSize");
        QTest::newRow("largest int") << std::numeric_limits<int>::max();
        QTest::newRow("smallest int") << std::numeric_limits<int>::min();
        QTest::newRow("a few label heights below") << 200;
    }

    void shadowBeyondTheLabel()
    {
        QFETCH(int, borderSize);
        const QString text = QStringLiteral("I");
        const QImage plain = mManager->paintLabel(text, 40, Qt::white, QString(), QColor(0, 0, 0, 0), 0);
        const QImage shadowed = mManager->paintLabel(text, 40, Qt::white, QString(), Qt::black, borderSize);
        QVERIFY(!plain.isNull());
        QCOMPARE(shadowed, plain);
    }

    void borderFromStyle()
    {
        // Style 4: white "I" with BORDER_COLOR=ff000000 and BORDER_SIZE=2.
        const QImage image = mManager->styleImage(4, QSize(-1, -1), false, 1.0);
        const QList<int> whiteRows = rowsOf(image, true);
        const QList<int> blackRows = rowsOf(image, false);
        QVERIFY(!whiteRows.isEmpty() && !blackRows.isEmpty());
        QCOMPARE(blackRows.last() - whiteRows.last(), 2);
    }

    void invalidBorderColourDrawsNoShadow()
    {
        const QImage image = mManager->paintLabel(QStringLiteral("I"), 40, Qt::white, QString(), QColor(), 3);
        QVERIFY(!image.isNull());
        QString failure;
        QVERIFY2(paintedOnlyIn(image, qRgb(255, 255, 255), &failure), qPrintable(failure));
    }

    void fontFamily_data()
    {
        QTest::addColumn<QString>("fontPath");
        QTest::addColumn<QString>("family");

        QTest::newRow("registered skin font") << "fonts/own.ttf"
                                              << "Noto Mono";
        QTest::newRow("empty path") << ""
                                    << "DejaVu Sans";
        QTest::newRow("never registered") << "fonts/global.ttf"
                                          << "DejaVu Sans";
        QTest::newRow("absolute path is not the key")
            << mDir.filePath(QStringLiteral("fonts/own.ttf")) << "DejaVu Sans";
        QTest::newRow("case matters") << "FONTS/OWN.TTF"
                                      << "DejaVu Sans";
    }

    void fontFamily()
    {
        QFETCH(QString, fontPath);
        QTEST(mManager->fontFamily(fontPath), "family");
    }

    void brokenFontFile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = writeFile(dir, QStringLiteral("bad.ttf"), "this is no font");

        LogCapture log;
        mManager->addFont(path, QStringLiteral("bad.ttf"));
        QCOMPARE(log.count(QStringLiteral("can not add application font: ")), 1);
        QVERIFY(log.lines().last().contains(QStringLiteral("\"bad.ttf\"")));
        QCOMPARE(mManager->fontFamily(QStringLiteral("bad.ttf")), QStringLiteral("DejaVu Sans"));
        QVERIFY(!mManager->textImage(3, QStringLiteral("x"), 0, false, 1.0).isNull());
        // The file itself is left alone.
        QCOMPARE(QFileInfo(path).size(), qint64(15));
    }

    void laterFontReplacesMappingUntilClear()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString awesome = dir.filePath(QStringLiteral("awesome.ttf"));
        QVERIFY(QFile::copy(QStringLiteral(":/fontawesome/Font Awesome 5 Free-Solid-900.otf"), awesome));
        const QString awesomeFamily = QStringLiteral("Font Awesome 5 Free");
        QVERIFY(!QFontDatabase().families().contains(awesomeFamily));

        mManager->addFont(awesome, QStringLiteral("fonts/own.ttf"));
        QCOMPARE(mManager->fontFamily(QStringLiteral("fonts/own.ttf")), awesomeFamily);
        QVERIFY(QFontDatabase().families().contains(awesomeFamily));
        QVERIFY(QFont::substitutes(awesomeFamily)
                    .contains(QStringLiteral("Noto Sans CJK SC"), Qt::CaseInsensitive));

        mManager->clear();
        QVERIFY(!QFontDatabase().families().contains(awesomeFamily));
        QCOMPARE(mManager->fontFamily(QStringLiteral("fonts/own.ttf")), QStringLiteral("DejaVu Sans"));
    }

    void absurdSizes_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("fontSize");

        QTest::newRow("colour 100000x100000") << 5 << QSize(100000, 100000) << 1.0 << "" << 0;
        QTest::newRow("colour 20000x1") << 5 << QSize(20000, 1) << 1.0 << "" << 0;
        QTest::newRow("colour times a huge scale") << 5 << QSize(50, 20) << 1e12 << "" << 0;
        QTest::newRow("colour times an infinite scale")
            << 5 << QSize(50, 20) << std::numeric_limits<double>::infinity() << "" << 0;
        QTest::newRow("colour times a NaN scale")
            << 5 << QSize(50, 20) << std::numeric_limits<double>::quiet_NaN() << "" << 0;
        QTest::newRow("plain tile 100000x100000") << 11 << QSize(100000, 100000) << 1.0 << "" << 0;
        QTest::newRow("label font size 100000") << 3 << QSize() << 1.0 << "A" << 100000;
        QTest::newRow("label scaled beyond int") << 3 << QSize() << 1e15 << "A" << 20;
        QTest::newRow("label text far too wide")
            << 3 << QSize() << 1.0 << QString(20000, QLatin1Char('W')) << 100;
    }

    void absurdSizes()
    {
        QFETCH(int, number);
        QFETCH(QSize, size);
        QFETCH(double, scale);
        QFETCH(QString, text);
        QFETCH(int, fontSize);

        LogCapture log;
        const QImage image = text.isEmpty() ? mManager->styleImage(number, size, false, scale)
                                            : mManager->textImage(number, text, fontSize, false, scale);
        QVERIFY(image.isNull());
        QCOMPARE(log.lines().size(), 1);
        const QString why
            = qIsFinite(scale) ? QStringLiteral("image size bound") : QStringLiteral("not a finite number");
        QVERIFY2(log.lines().first().contains(why), qPrintable(log.lines().first()));
    }

    void oversizedTileFallsBackToLabel()
    {
        // Style 1 has a nine-patch tile and SHOW=X: a tile that cannot be
        // painted at that size leaves the label, which has no size to refuse.
        LogCapture log;
        const QImage image = mManager->styleImage(1, QSize(100000, 100000), false, 1.0);
        QCOMPARE(image, mManager->paintLabel(QStringLiteral("X"), 20, Red, QString(), QColor(0, 0, 0, 0), 0));
        QVERIFY(log.lines().isEmpty());
    }

    void absurdLabelStyleFromTable()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString table = writeFile(
            dir, QStringLiteral("default.css"), "[STYLE1]\r\nFONT_SIZE=100000\r\nNM_COLOR=ff0000\r\n");
        mManager->clear();
        mManager->readStyleTable(table);

        LogCapture log;
        QVERIFY(mManager->styleImage(1, QSize(-1, -1), false, 1.0).isNull());
        QVERIFY(mManager->styleImage(1, QSize(-1, -1), false, 1.0).isNull());
        // Nothing is cached for a label that could not be painted, and each
        // attempt says why once.
        QCOMPARE(log.count(QStringLiteral("image size bound")), 2);
        QCOMPARE(log.lines().size(), 2);
    }
};

QTEST_MAIN(TestStylesManager)
#include "tst_stylesmanager.moc"
