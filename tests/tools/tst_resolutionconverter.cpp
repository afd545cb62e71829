#include "testfiles.h"
#include "testpaths.h"
#include "tooltestfiles.h"

#include "skin/skinconfig.h"
#include "skin/tile.h"
#include "skin/valuetext.h"
#include "tools/resolutionconverter.h"
#include "writesteps.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using ToolTestFiles::readAll;

void writeText(const QString &path, const QByteArray &text)
{
    QVERIFY2(ToolTestFiles::writeFile(path, text), qPrintable(path));
}

void writePng(const QString &path, const QSize &size, QColor color = Qt::red)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    QVERIFY2(image.save(path), qPrintable(path));
}

// A tile file with one tile at 30,30,30,30 (and an INNER_RECT when asked) and
// its 60 x 60 sheet.
void writeTilePair(const QString &dir, const QString &base, bool innerRect)
{
    const QString stem = dir + QLatin1Char('/') + base;
    writeText(stem + QStringLiteral(".til"),
        QByteArray("[IMG1]\r\nSOURCE_RECT=30,30,30,30\r\n") + (innerRect ? "INNER_RECT=33,33,9,9\r\n" : ""));
    writePng(stem + QStringLiteral(".png"), QSize(60, 60));
}

// The partial-write cases: SRC holds a.til without and k.til with an
// INNER_RECT, each with its sheet, and, when asked, lone.til without one; OUT
// holds directories where the files named in `blocked` should go.
void writeBlockedCase(const QString &src, const QString &out, bool loneTil, const QStringList &blocked)
{
    QVERIFY(QDir().mkpath(src));
    QVERIFY(QDir().mkpath(out));
    writeTilePair(src, QStringLiteral("a"), false);
    writeTilePair(src, QStringLiteral("k"), true);
    if (loneTil)
        writeText(src + QStringLiteral("/lone.til"), "[IMG1]\r\nSOURCE_RECT=30,30,30,30\r\n");
    for (const QString &name : blocked)
        QVERIFY(QDir().mkpath(out + QLatin1Char('/') + name));
}

QString value(const QString &file, const QString &path)
{
    return SkinConfig(file).value(path);
}

int render(const QString &panelFile, const QString &png)
{
    QProcess process;
    process.start(QStringLiteral(QUILLMARK_CLI_PATH),
        { QStringLiteral("render"), panelFile, QStringLiteral("-o"), png });
    if (!process.waitForFinished(60000))
        return -1;
    return process.exitCode();
}

QRegularExpression logLine(const QString &path, const QString &text)
{
    return QRegularExpression(
        QRegularExpression::escape(path) + QStringLiteral(".*") + QRegularExpression::escape(text));
}

} // namespace

class TestResolutionConverter : public QObject
{
    Q_OBJECT

private slots:
    void rectangles_data();
    void rectangles();
    void imageSize_data();
    void imageSize();
    void onlyInnerRect_data();
    void onlyInnerRect();
    void callableWithFourArguments();
    void sectionWithoutSourceRectGetsNone();
    void imageNamedAfterFirstDot();
    void onlyTileFilesOfTheDirectoryItself();
    void existingTargetKeptAndEdited();
    void inPlace();
    void pairsReplacedBackToBack();
    void missingSourceDirectoryCreatesNothing();
    void badResolution_data();
    void badResolution();
    void zeroSideImageNotWritten();
    void unproducibleSheetLeavesPairUntouched_data();
    void unproducibleSheetLeavesPairUntouched();
    void failedSheetPutsTileFileBack_data();
    void failedSheetPutsTileFileBack();
    void resultCountsWhatWasWritten_data();
    void resultCountsWhatWasWritten();
    void badImage_data();
    void badImage();
    void cli_data();
    void cli();
    void cliIncomplete_data();
    void cliIncomplete();
    void demoSkin();
};

void TestResolutionConverter::rectangles_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("rect");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("inner");

    QTest::newRow("1080 to 720") << 1080 << 720 << "10,20,100,50"
                                 << "6,13,66,33"
                                 << "7,14,66,33";
    QTest::newRow("720 to 1080, halves") << 720 << 1080 << "11,21,101,51"
                                         << "16,31,151,76"
                                         << "17,32,151,76";
    QTest::newRow("negative origin") << 1080 << 720 << "-10,-20,100,50"
                                     << "-6,-13,66,33"
                                     << "-6,-13,66,33";
    QTest::newRow("negative size") << 1080 << 720 << "0,0,-10,-20"
                                   << "0,0,-6,-13"
                                   << "0,0,-7,-14";
    QTest::newRow("exact") << 1000 << 500 << "10,20,30,40"
                           << "5,10,15,20"
                           << "5,10,15,20";
    QTest::newRow("three fields") << 1080 << 720 << "10,20,100"
                                  << "0,0,0,0"
                                  << "0,0,0,0";
    QTest::newRow("five fields") << 1080 << 720 << "1,2,3,4,5"
                                 << "0,0,0,0"
                                 << "0,0,0,0";
    QTest::newRow("not numbers") << 1080 << 720 << "a,b,30,c"
                                 << "0,0,20,0"
                                 << "0,0,20,0";
    QTest::newRow("empty") << 1080 << 720 << ""
                           << "0,0,0,0"
                           << "0,0,0,0";
    // 100 × 828 / 720 is exactly 115, which a double factor misses.
    QTest::newRow("exact product") << 720 << 828 << "100,100,100,100"
                                   << "115,115,115,115"
                                   << "115,115,115,115";
    QTest::newRow("large values") << 1080 << 720 << "1000000000,0,1000000000,5"
                                  << "666666666,0,666666666,3"
                                  << "666666667,0,666666666,3";
}

void TestResolutionConverter::rectangles()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, rect);
    QFETCH(QString, source);
    QFETCH(QString, inner);

    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("src"));
    const QString dst = dir.filePath(QStringLiteral("dst"));
    QDir().mkpath(src);
    writeText(src + QStringLiteral("/keys.til"),
        "[GLOBAL]\r\nTILE_NUM=1\r\n\r\n[IMG1]\r\nSOURCE_RECT=" + rect.toUtf8()
            + "\r\nINNER_RECT=" + rect.toUtf8() + "\r\n");
    writePng(src + QStringLiteral("/keys.png"), QSize(120, 90));

    QCOMPARE(ResolutionConverter::instance()->convert(src, dst, from, to), 1);
    const QString out = dst + QStringLiteral("/keys.til");
    QCOMPARE(value(out, QStringLiteral("IMG1/SOURCE_RECT")), source);
    QCOMPARE(value(out, QStringLiteral("IMG1/INNER_RECT")), inner);
    QCOMPARE(value(out, QStringLiteral("GLOBAL/TILE_NUM")), QStringLiteral("1"));
}

void TestResolutionConverter::imageSize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("300x150") << QSize(300, 150) << QSize(200, 100);
    QTest::newRow("truncated") << QSize(512, 511) << QSize(341, 340);
    QTest::newRow("aspect ignored") << QSize(2, 300) << QSize(1, 200);
}

void TestResolutionConverter::imageSize()
{
    QFETCH(QSize, size);
    QFETCH(QSize, expected);
    QTemporaryDir dir;
    writeText(dir.filePath(QStringLiteral("a.til")), "[IMG1]\r\nSOURCE_RECT=0,0,1,1\r\n");
    writePng(dir.filePath(QStringLiteral("a.png")), size, Qt::blue);
    ResolutionConverter::instance()->convert(dir.path(), dir.filePath(QStringLiteral("out")), 1080, 720);
    const QImage image(dir.filePath(QStringLiteral("out/a.png")));
    QCOMPARE(image.size(), expected);
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::blue)); // nearest pixel: no blending
}

void TestResolutionConverter::onlyInnerRect_data()
{
    QTest::addColumn<QByteArray>("til");
    QTest::addColumn<bool>("only");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("img2Source");

    const QByteArray noInner = "[IMG1]\r\nSOURCE_RECT=30,30,30,30\r\n[IMG2]\r\nSOURCE_RECT=0,0,30,30\r\n";
    const QByteArray oneInner
        = "[IMG1]\r\nSOURCE_RECT=30,30,30,30\r\nINNER_RECT=33,33,9,9\r\n[IMG2]\r\nSOURCE_RECT=0,0,30,30\r\n";
    const QByteArray innerOutsideImg
        = "[GLOBAL]\r\nINNER_RECT=1,1,1,1\r\n[IMG2]\r\nSOURCE_RECT=0,0,30,30\r\n";
    QTest::newRow("no inner rect, only") << noInner << true << false << QString();
    QTest::newRow("no inner rect, all") << noInner << false << true << "0,0,20,20";
    QTest::newRow("one inner rect, only") << oneInner << true << true << "0,0,20,20";
    QTest::newRow("inner rect outside IMG sections, only") << innerOutsideImg << true << false << QString();
}

void TestResolutionConverter::onlyInnerRect()
{
    QFETCH(QByteArray, til);
    QFETCH(bool, only);
    QFETCH(bool, written);
    QFETCH(QString, img2Source);

    QTemporaryDir dir;
    writeText(dir.filePath(QStringLiteral("k.til")), til);
    writePng(dir.filePath(QStringLiteral("k.png")), QSize(60, 60));
    const QString out = dir.filePath(QStringLiteral("out"));
    QCOMPARE(ResolutionConverter::instance()->convert(dir.path(), out, 1080, 720, only), written ? 1 : 0);
    QCOMPARE(QFile::exists(out + QStringLiteral("/k.til")), written);
    QCOMPARE(QFile::exists(out + QStringLiteral("/k.png")), written);
    if (written) {
        QCOMPARE(value(out + QStringLiteral("/k.til"), QStringLiteral("IMG2/SOURCE_RECT")), img2Source);
        QCOMPARE(value(out + QStringLiteral("/k.til"), QStringLiteral("IMG1/SOURCE_RECT")),
            QStringLiteral("20,20,20,20"));
    }
}

void TestResolutionConverter::callableWithFourArguments()
{
    // The way the dialog calls it, with and without the fifth argument.
    QTemporaryDir dir;
    writeText(dir.filePath(QStringLiteral("k.til")), "[IMG1]\r\nSOURCE_RECT=30,30,30,30\r\n");
    writePng(dir.filePath(QStringLiteral("k.png")), QSize(60, 60));
    const QString out = dir.filePath(QStringLiteral("out"));
    const QString other = dir.filePath(QStringLiteral("other"));
    QString error;
    QVERIFY2(ToolTestFiles::runQml(QStringLiteral("resolutionConverter"), ResolutionConverter::instance(),
                 QStringLiteral("resolutionConverter.convert('%1', '%2', 1080, 720);"
                                "resolutionConverter.convert('%1', '%3', 1080, 720, true)")
                     .arg(dir.path(), out, other),
                 &error),
        qPrintable(error));
    QCOMPARE(value(out + QStringLiteral("/k.til"), QStringLiteral("IMG1/SOURCE_RECT")),
        QStringLiteral("20,20,20,20"));
    QVERIFY(QFileInfo(other).isDir());
    QVERIFY(!QFileInfo::exists(other + QStringLiteral("/k.til")));
}

void TestResolutionConverter::sectionWithoutSourceRectGetsNone()
{
    QTemporaryDir dir;
    writeText(dir.filePath(QStringLiteral("k.til")),
        "[IMG1]\r\nINNER_RECT=3,3,9,9\r\nOTHER=x\r\n[img2]\r\nSOURCE_RECT=3,3,9,9\r\n");
    writePng(dir.filePath(QStringLiteral("k.png")), QSize(30, 30));
    ResolutionConverter::instance()->convert(dir.path(), dir.filePath(QStringLiteral("out")), 1080, 720);
    const QString out = dir.filePath(QStringLiteral("out/k.til"));
    SkinConfig config(out);
    QVERIFY(!config.contains(QStringLiteral("IMG1/SOURCE_RECT")));
    QCOMPARE(config.value(QStringLiteral("IMG1/INNER_RECT")), QStringLiteral("2,2,6,6"));
    QCOMPARE(config.value(QStringLiteral("IMG1/OTHER")), QStringLiteral("x"));
    // Section names are case-sensitive: "img2" is not a tile section.
    QCOMPARE(config.value(QStringLiteral("img2/SOURCE_RECT")), QStringLiteral("3,3,9,9"));
}

void TestResolutionConverter::imageNamedAfterFirstDot()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    writeText(dir.filePath(QStringLiteral("icons.v2.til")), "[IMG1]\r\nSOURCE_RECT=0,0,30,30\r\n");
    writePng(dir.filePath(QStringLiteral("icons.v2.png")), QSize(30, 30));
    QTest::ignoreMessage(
        QtInfoMsg, logLine(dir.filePath(QStringLiteral("icons.png")), QStringLiteral(" not exists!")));
    QCOMPARE(ResolutionConverter::instance()->convert(dir.path(), out, 1080, 720), 0);
    QVERIFY(!QFile::exists(out + QStringLiteral("/icons.v2.til")));

    writePng(dir.filePath(QStringLiteral("icons.png")), QSize(30, 30));
    QCOMPARE(ResolutionConverter::instance()->convert(dir.path(), out, 1080, 720), 1);
    QCOMPARE(value(out + QStringLiteral("/icons.v2.til"), QStringLiteral("IMG1/SOURCE_RECT")),
        QStringLiteral("0,0,20,20"));
    QCOMPARE(QImage(out + QStringLiteral("/icons.png")).size(), QSize(20, 20));
    QVERIFY(!QFile::exists(out + QStringLiteral("/icons.v2.png")));
}

void TestResolutionConverter::onlyTileFilesOfTheDirectoryItself()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    writePng(dir.filePath(QStringLiteral("lonely.png")), QSize(30, 30));
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    writeText(dir.filePath(QStringLiteral("sub/k.til")), "[IMG1]\r\nSOURCE_RECT=0,0,30,30\r\n");
    writePng(dir.filePath(QStringLiteral("sub/k.png")), QSize(30, 30));
    writeText(dir.filePath(QStringLiteral("upper.TIL")), "[IMG1]\r\nSOURCE_RECT=0,0,30,30\r\n");
    writePng(dir.filePath(QStringLiteral("upper.png")), QSize(30, 30));
    writeText(dir.filePath(QStringLiteral(".hidden.til")), "[IMG1]\r\nSOURCE_RECT=0,0,30,30\r\n");

    QCOMPARE(ResolutionConverter::instance()->convert(dir.path(), out, 1080, 720), 0);
    QVERIFY(QFileInfo(out).isDir());
    QCOMPARE(QDir(out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

void TestResolutionConverter::existingTargetKeptAndEdited()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    writeText(dir.filePath(QStringLiteral("k.til")),
        "[GLOBAL]\r\nTILE_NUM=2\r\n[IMG1]\r\nSOURCE_RECT=30,30,30,30\r\nINNER_RECT=33,33,9,9\r\n");
    writePng(dir.filePath(QStringLiteral("k.png")), QSize(60, 60));
    writeText(out + QStringLiteral("/k.til"),
        "[GLOBAL]\r\nTILE_NUM=7\r\nAUTHOR=me\r\n[IMG1]\r\nSOURCE_RECT=1,1,1,1\r\nNOTE=kept\r\n[IMG9]"
        "\r\nSOURCE_RECT=5,5,5,5\r\n");
    writePng(out + QStringLiteral("/k.png"), QSize(5, 5));

    QCOMPARE(ResolutionConverter::instance()->convert(dir.path(), out, 1080, 720), 1);
    SkinConfig config(out + QStringLiteral("/k.til"));
    QCOMPARE(config.value(QStringLiteral("GLOBAL/TILE_NUM")), QStringLiteral("7"));
    QCOMPARE(config.value(QStringLiteral("GLOBAL/AUTHOR")), QStringLiteral("me"));
    QCOMPARE(config.value(QStringLiteral("IMG1/NOTE")), QStringLiteral("kept"));
    QCOMPARE(config.value(QStringLiteral("IMG1/SOURCE_RECT")), QStringLiteral("20,20,20,20"));
    QCOMPARE(config.value(QStringLiteral("IMG1/INNER_RECT")), QStringLiteral("22,22,6,6"));
    QCOMPARE(config.value(QStringLiteral("IMG9/SOURCE_RECT")), QStringLiteral("5,5,5,5"));
    QCOMPARE(QImage(out + QStringLiteral("/k.png")).size(), QSize(40, 40)); // the image is overwritten
}

void TestResolutionConverter::inPlace()
{
    QTemporaryDir dir;
    writeText(dir.filePath(QStringLiteral("k.til")),
        "[IMG1]\r\nSOURCE_RECT=30,30,30,30\r\nINNER_RECT=33,33,9,9\r\n");
    writePng(dir.filePath(QStringLiteral("k.png")), QSize(60, 60));
    QCOMPARE(ResolutionConverter::instance()->convert(dir.path(), dir.path(), 1080, 720), 1);
    QCOMPARE(value(dir.filePath(QStringLiteral("k.til")), QStringLiteral("IMG1/SOURCE_RECT")),
        QStringLiteral("20,20,20,20"));
    QCOMPARE(value(dir.filePath(QStringLiteral("k.til")), QStringLiteral("IMG1/INNER_RECT")),
        QStringLiteral("22,22,6,6"));
    QCOMPARE(QImage(dir.filePath(QStringLiteral("k.png"))).size(), QSize(40, 40));
}

// A run over targets that exist already prepares every pair before the
// first rename, then renames pair after pair with nothing in between.
void TestResolutionConverter::pairsReplacedBackToBack()
{
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("src"));
    const QString out = dir.filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(src));
    writeTilePair(src, QStringLiteral("a"), false);
    writeTilePair(src, QStringLiteral("k"), true);
    writeTilePair(src, QStringLiteral("m"), true);
    QCOMPARE(ResolutionConverter::instance()->convert(src, out, 1080, 720), 3);

    WriteSteps steps;
    QCOMPARE(ResolutionConverter::instance()->convert(src, out, 1080, 540), 3);
    QCOMPARE(steps.renamed(),
        (QStringList { QStringLiteral("a.til"), QStringLiteral("a.png"), QStringLiteral("k.til"),
            QStringLiteral("k.png"), QStringLiteral("m.til"), QStringLiteral("m.png") }));
    QVERIFY2(steps.problem().isEmpty(), qPrintable(steps.problem()));
    QCOMPARE(value(out + QStringLiteral("/m.til"), QStringLiteral("IMG1/SOURCE_RECT")),
        QStringLiteral("15,15,15,15"));
    QCOMPARE(QImage(out + QStringLiteral("/m.png")).size(), QSize(30, 30));
}

void TestResolutionConverter::missingSourceDirectoryCreatesNothing()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing"));
    const QString out = dir.filePath(QStringLiteral("out/deeper"));
    QTest::ignoreMessage(QtInfoMsg, logLine(missing, QStringLiteral("not exists!")));
    QCOMPARE(ResolutionConverter::instance()->convert(missing, out, 1080, 720), 0);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("out"))));
}

void TestResolutionConverter::badResolution_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("source 0") << 0 << 720;
    QTest::newRow("source negative") << -1080 << 720;
    QTest::newRow("target 0") << 1080 << 0;
    QTest::newRow("target negative") << 1080 << -720;
}

void TestResolutionConverter::badResolution()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QTemporaryDir dir;
    const QByteArray til = "[IMG1]\r\nSOURCE_RECT=30,30,30,30\r\n";
    writeText(dir.filePath(QStringLiteral("k.til")), til);
    writePng(dir.filePath(QStringLiteral("k.png")), QSize(60, 60));
    const QString out = dir.filePath(QStringLiteral("out"));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("resolution: .* is invalid!")));
    QCOMPARE(ResolutionConverter::instance()->convert(dir.path(), out, from, to), 0);
    QVERIFY(!QFileInfo::exists(out));
    // In place, nothing on disk changes either.
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("resolution: .* is invalid!")));
    ResolutionConverter::instance()->convert(dir.path(), dir.path(), from, to);
    QCOMPARE(readAll(dir.filePath(QStringLiteral("k.til"))), til);
    QCOMPARE(QImage(dir.filePath(QStringLiteral("k.png"))).size(), QSize(60, 60));
}

void TestResolutionConverter::zeroSideImageNotWritten()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    writeText(dir.filePath(QStringLiteral("k.til")), "[IMG1]\r\nSOURCE_RECT=0,0,1,30\r\n");
    writePng(dir.filePath(QStringLiteral("k.png")), QSize(1, 30));
    QTest::ignoreMessage(QtInfoMsg, logLine(out + QStringLiteral("/k.png"), QStringLiteral("not written!")));
    QCOMPARE(ResolutionConverter::instance()->convert(dir.path(), out, 1080, 720), 0);
    QVERIFY(!QFileInfo::exists(out + QStringLiteral("/k.png")));
    // Nor the tile file: it would describe a sheet that is not there.
    QVERIFY(!QFileInfo::exists(out + QStringLiteral("/k.til")));
}

void TestResolutionConverter::unproducibleSheetLeavesPairUntouched_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("inPlace");

    QTest::newRow("zero side, in place") << QSize(1, 30) << 1080 << 720 << true;
    QTest::newRow("over the side bound, in place") << QSize(100, 100) << 320 << 100000 << true;
    QTest::newRow("over the side bound, new target") << QSize(100, 100) << 320 << 100000 << false;
    // 10000 x 10000: each side within the bound, the pixel count over it.
    QTest::newRow("over the pixel bound, in place") << QSize(100, 100) << 320 << 32000 << true;
}

void TestResolutionConverter::unproducibleSheetLeavesPairUntouched()
{
    QFETCH(QSize, size);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, inPlace);

    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("k.til"));
    const QString png = dir.filePath(QStringLiteral("k.png"));
    const QByteArray tilText
        = "[GLOBAL]\r\nTILE_NUM=1\r\n[IMG1]\r\nSOURCE_RECT=0,0,1,30\r\nINNER_RECT=0,3,1,9\r\n";
    writeText(til, tilText);
    writePng(png, size);
    const QByteArray pngBytes = readAll(png);
    const QString out = inPlace ? dir.path() : dir.filePath(QStringLiteral("out"));

    QTest::ignoreMessage(QtInfoMsg, logLine(out + QStringLiteral("/k.png"), QStringLiteral("not written!")));
    QCOMPARE(ResolutionConverter::instance()->convert(dir.path(), out, from, to), 0);
    QCOMPARE(readAll(til), tilText);
    QCOMPARE(readAll(png), pngBytes);
    if (!inPlace)
        QCOMPARE(QDir(out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

void TestResolutionConverter::failedSheetPutsTileFileBack_data()
{
    QTest::addColumn<bool>("targetTilExists");
    QTest::newRow("existing target tile file") << true;
    QTest::newRow("copied tile file") << false;
}

void TestResolutionConverter::failedSheetPutsTileFileBack()
{
    QFETCH(bool, targetTilExists);

    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    writeText(dir.filePath(QStringLiteral("k.til")), "[IMG1]\r\nSOURCE_RECT=30,30,30,30\r\n");
    writePng(dir.filePath(QStringLiteral("k.png")), QSize(60, 60));
    // A directory where the sheet should go: the tile file can be written,
    // the sheet cannot.
    QVERIFY(QDir().mkpath(out + QStringLiteral("/k.png")));
    const QByteArray earlier = "[GLOBAL]\r\nAUTHOR=me\r\n[IMG1]\r\nSOURCE_RECT=1,1,1,1\r\n";
    if (targetTilExists)
        writeText(out + QStringLiteral("/k.til"), earlier);

    QTest::ignoreMessage(QtInfoMsg, logLine(out + QStringLiteral("/k.png"), QString()));
    if (targetTilExists)
        QTest::ignoreMessage(QtInfoMsg, logLine(out + QStringLiteral("/k.til"), QStringLiteral("kept as it was")));
    const ResolutionConverter::Result result
        = ResolutionConverter::instance()->convertDirectory(dir.path(), out, 1080, 720);
    QCOMPARE(result.attempted, 1);
    QCOMPARE(result.converted, 0);
    QVERIFY(QFileInfo(out + QStringLiteral("/k.png")).isDir());
    if (targetTilExists)
        QCOMPARE(readAll(out + QStringLiteral("/k.til")), earlier);
    else
        QVERIFY(!QFileInfo::exists(out + QStringLiteral("/k.til")));
}

void TestResolutionConverter::resultCountsWhatWasWritten_data()
{
    QTest::addColumn<bool>("onlyInnerRect");
    QTest::addColumn<QStringList>("blocked"); // directories in the target where files should go
    QTest::addColumn<int>("attempted");
    QTest::addColumn<int>("converted");

    // The source holds a.til, k.til (with an INNER_RECT) and lone.til, whose
    // sheet is missing.
    QTest::newRow("nothing blocked") << false << QStringList() << 3 << 2;
    QTest::newRow("tile file and sheet blocked") << false << QStringList { "a.til", "a.png" } << 3 << 1;
    QTest::newRow("sheet blocked") << false << QStringList { "k.png" } << 3 << 1;
    QTest::newRow("inner rect only, passed over files not counted") << true << QStringList() << 1 << 1;
    QTest::newRow("inner rect only, its sheet blocked") << true << QStringList { "k.png" } << 1 << 0;
}

void TestResolutionConverter::resultCountsWhatWasWritten()
{
    QFETCH(bool, onlyInnerRect);
    QFETCH(QStringList, blocked);
    QFETCH(int, attempted);
    QFETCH(int, converted);

    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("src"));
    const QString out = dir.filePath(QStringLiteral("out"));
    writeBlockedCase(src, out, true, blocked);

    QTest::ignoreMessage(
        QtInfoMsg, logLine(src + QStringLiteral("/lone.png"), QStringLiteral(" not exists!")));
    // The first blocked file of a pair stops it; the log names that one.
    if (!blocked.isEmpty())
        QTest::ignoreMessage(QtInfoMsg, logLine(out + QLatin1Char('/') + blocked.first(), QString()));
    const ResolutionConverter::Result result
        = ResolutionConverter::instance()->convertDirectory(src, out, 1080, 720, onlyInnerRect);
    QCOMPARE(result.attempted, attempted);
    QCOMPARE(result.converted, converted);
    // Every pair is either wholly written or not at all.
    for (const QString &base : { QStringLiteral("a"), QStringLiteral("k") }) {
        const QString til = out + QLatin1Char('/') + base + QStringLiteral(".til");
        const QString png = out + QLatin1Char('/') + base + QStringLiteral(".png");
        QCOMPARE(QFileInfo(til).isFile(), QFileInfo(png).isFile());
    }
    QVERIFY(!QFileInfo::exists(out + QStringLiteral("/lone.til")));
}

void TestResolutionConverter::badImage_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::newRow("not a PNG") << "tools2-images/garbage.png";
    QTest::newRow("truncated PNG") << "tools2-images/truncated.png";
    QTest::newRow("declares 30000x30000") << "tools2-images/huge.png";
}

void TestResolutionConverter::badImage()
{
    QFETCH(QString, fixture);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    QVERIFY(QFile::copy(
        QStringLiteral(QUILLMARK_TEST_DATA_DIR "/") + fixture, dir.filePath(QStringLiteral("bad.png"))));
    writeText(dir.filePath(QStringLiteral("bad.til")), "[IMG1]\r\nSOURCE_RECT=0,0,30,30\r\n");
    writeText(dir.filePath(QStringLiteral("good.til")), "[IMG1]\r\nSOURCE_RECT=0,0,30,30\r\n");
    writePng(dir.filePath(QStringLiteral("good.png")), QSize(30, 30));
    QTest::ignoreMessage(
        QtInfoMsg, logLine(dir.filePath(QStringLiteral("bad.png")), QStringLiteral(" is invalid!")));
    QCOMPARE(ResolutionConverter::instance()->convert(dir.path(), out, 1080, 720), 1);
    QVERIFY(!QFileInfo::exists(out + QStringLiteral("/bad.til")));
    QVERIFY(!QFileInfo::exists(out + QStringLiteral("/bad.png")));
    QCOMPARE(QImage(out + QStringLiteral("/good.png")).size(), QSize(20, 20));
}

void TestResolutionConverter::cli_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("written");

    QTest::newRow("converts") << QStringList { "--from", "1080", "--to", "720" } << 0 << true;
    QTest::newRow("inner rect only, none there")
        << QStringList { "--from", "1080", "--to", "720", "--inner-rect-only" } << 1 << false;
    QTest::newRow("missing --to") << QStringList { "--from", "1080" } << 2 << false;
    QTest::newRow("zero resolution") << QStringList { "--from", "0", "--to", "720" } << 2 << false;
    QTest::newRow("not a number") << QStringList { "--from", "big", "--to", "720" } << 2 << false;
    QTest::newRow("unknown option") << QStringList { "--from", "1080", "--to", "720", "--fast" } << 2
                                    << false;
    QTest::newRow("option without value") << QStringList { "--to", "720", "--from" } << 2 << false;
}

void TestResolutionConverter::cli()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(bool, written);

    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("src"));
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(src);
    writeText(src + QStringLiteral("/k.til"), "[IMG1]\r\nSOURCE_RECT=30,30,30,30\r\n");
    writePng(src + QStringLiteral("/k.png"), QSize(60, 60));

    QProcess process;
    process.start(
        QStringLiteral(QUILLMARK_CLI_PATH), QStringList { QStringLiteral("convert"), src, out } + args);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), exitCode);
    QCOMPARE(QFileInfo::exists(out + QStringLiteral("/k.png")), written);
    if (exitCode != 0)
        QVERIFY(process.readAllStandardError().contains("quillmark-cli convert: "));
    if (written)
        QCOMPARE(value(out + QStringLiteral("/k.til"), QStringLiteral("IMG1/SOURCE_RECT")),
            QStringLiteral("20,20,20,20"));

    // A missing source directory is a failure, not a usage error.
    process.start(QStringLiteral(QUILLMARK_CLI_PATH),
        { QStringLiteral("convert"), dir.filePath(QStringLiteral("none")), out, QStringLiteral("--from"),
            QStringLiteral("1080"), QStringLiteral("--to"), QStringLiteral("720") });
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 1);
}

void TestResolutionConverter::cliIncomplete_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("blocked"); // directories in DST where k.til and k.png should go
    QTest::addColumn<bool>("earlierTil"); // DST holds a k.til of its own beforehand
    QTest::addColumn<bool>("loneTil"); // SRC also holds a tile file without its sheet
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("aWritten");
    QTest::addColumn<bool>("kWritten");

    const QStringList resolutions { "--from", "1080", "--to", "720" };
    QTest::newRow("all written") << resolutions << QStringList() << false << false << 0 << "" << true << true;
    QTest::newRow("targets of a pair are directories")
        << resolutions << QStringList { "k.til", "k.png" } << false << false << 1 << "wrote only 1 of 2"
        << true << false;
    QTest::newRow("sheet target is a directory") << resolutions << QStringList { "k.png" } << false << false
                                                 << 1 << "wrote only 1 of 2" << true << false;
    QTest::newRow("sheet target is a directory, tile file there")
        << resolutions << QStringList { "k.png" } << true << false << 1 << "wrote only 1 of 2" << true
        << false;
    QTest::newRow("sheets over the image bound")
        << QStringList { "--from", "320", "--to", "100000" } << QStringList() << false << false << 1
        << "wrote only 0 of 2" << false << false;
    QTest::newRow("tile file without its sheet")
        << resolutions << QStringList() << false << true << 1 << "wrote only 2 of 3" << true << true;
    QTest::newRow("inner rect only, its sheet target a directory")
        << (resolutions + QStringList { "--inner-rect-only" }) << QStringList { "k.png" } << false << false
        << 1 << "wrote only 0 of 1" << false << false;
}

void TestResolutionConverter::cliIncomplete()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, blocked);
    QFETCH(bool, earlierTil);
    QFETCH(bool, loneTil);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(bool, aWritten);
    QFETCH(bool, kWritten);

    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("src"));
    const QString out = dir.filePath(QStringLiteral("out"));
    writeBlockedCase(src, out, loneTil, blocked);
    const QByteArray earlier = "[GLOBAL]\r\nAUTHOR=me\r\n[IMG1]\r\nSOURCE_RECT=1,1,1,1\r\n";
    if (earlierTil)
        writeText(out + QStringLiteral("/k.til"), earlier);

    const ToolTestFiles::CliResult result
        = ToolTestFiles::runCli(QStringList { QStringLiteral("convert"), src, out } + args);
    QCOMPARE(result.exitCode, exitCode);
    if (exitCode != 0) {
        QVERIFY2(result.err.contains("quillmark-cli convert: "), result.err.constData());
        QVERIFY2(result.err.contains(message.toUtf8()), result.err.constData());
    }

    QCOMPARE(QImage(out + QStringLiteral("/a.png")).size(), aWritten ? QSize(40, 40) : QSize(0, 0));
    QCOMPARE(value(out + QStringLiteral("/a.til"), QStringLiteral("IMG1/SOURCE_RECT")),
        aWritten ? QStringLiteral("20,20,20,20") : QString());
    if (kWritten) {
        QCOMPARE(QImage(out + QStringLiteral("/k.png")).size(), QSize(40, 40));
        QCOMPARE(value(out + QStringLiteral("/k.til"), QStringLiteral("IMG1/SOURCE_RECT")),
            QStringLiteral("20,20,20,20"));
        return;
    }
    // Neither file of the pair was touched: what was there before is still there.
    for (const QString &name : { QStringLiteral("k.til"), QStringLiteral("k.png") }) {
        const QFileInfo target(out + QLatin1Char('/') + name);
        if (blocked.contains(name))
            QVERIFY2(target.isDir(), qPrintable(name));
        else if (name == QLatin1String("k.til") && earlierTil)
            QCOMPARE(readAll(target.filePath()), earlier);
        else
            QVERIFY2(!target.exists(), qPrintable(name));
    }
    QVERIFY(!QFileInfo::exists(out + QStringLiteral("/lone.til")));
}

void TestResolutionConverter::demoSkin()
{
    const QString res = QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo/res");
    QVERIFY2(QFileInfo(res).isDir(), qPrintable(res));
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("res"));
    const QStringList tileFiles = QDir(res).entryList({ QStringLiteral("*.til") }, QDir::Files);
    QVERIFY(!tileFiles.isEmpty());
    QCOMPARE(ResolutionConverter::instance()->convert(res, out, 1080, 720), tileFiles.size());
    for (const QString &name : tileFiles) {
        const QList<Tile> before = readTileFile(res + QLatin1Char('/') + name);
        const QList<Tile> after = readTileFile(out + QLatin1Char('/') + name);
        QCOMPARE(after.size(), before.size());
        for (int i = 0; i < after.size(); ++i) {
            QCOMPARE(after.at(i).number(), before.at(i).number());
            QVERIFY2(!after.at(i).image().isNull() || before.at(i).image().isNull(), qPrintable(name));
            QVERIFY(after.at(i).image().width() <= before.at(i).image().width());
        }
    }

    // Converted in place, the skin still renders, at the same panel size.
    const QString skin = dir.filePath(QStringLiteral("demo"));
    QVERIFY(TestFiles::copyTree(QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo"), skin));
    const QString panel = skin + QStringLiteral("/port/py_26.ini");
    QCOMPARE(render(panel, dir.filePath(QStringLiteral("before.png"))), 0);
    QCOMPARE(ResolutionConverter::instance()->convert(
                 skin + QStringLiteral("/res"), skin + QStringLiteral("/res"), 1080, 720),
        tileFiles.size());
    QCOMPARE(render(panel, dir.filePath(QStringLiteral("after.png"))), 0);
    const QImage before(dir.filePath(QStringLiteral("before.png")));
    const QImage after(dir.filePath(QStringLiteral("after.png")));
    QVERIFY(!after.isNull());
    QCOMPARE(after.size(), before.size());
}

QTEST_GUILESS_MAIN(TestResolutionConverter)
#include "tst_resolutionconverter.moc"
