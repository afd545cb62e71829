#include "testpaths.h"
#include "tooltestfiles.h"

#include "skin/skinconfig.h"
#include "skin/tile.h"
#include "styles/stylesmanager.h"
#include "tools/fontresgenerator.h"
#include "tools/fontresimageprovider.h"
#include "tools/tilesheet.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

FontResGenerator *generator()
{
    return FontResGenerator::instance();
}

using ToolTestFiles::readAll;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QVERIFY2(ToolTestFiles::writeFile(path, bytes), qPrintable(path));
}

QImage filled(int width, int height, QColor color)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

// The bounding box of the pixels with any coverage.
QRect ink(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TestFontResGenerator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void interface();
    void fromQml();
    void generateLines_data();
    void generateLines();
    void unicodeEscape();
    void tightAndLooseMeasure();
    void fontFromSettings_data();
    void fontFromSettings();
    void colour();
    void enormousSize();
    void saveNumberedFiles();
    void saveIntoMissingDirectory();
    void saveAsTil_data();
    void saveAsTil();
    void saveAsTilKeepsContent();
    void saveAsTilIntoMissingDirectory();
    void packing_data();
    void packing();
    void packingOverTheBound();
    void customFonts();
    void resNumersWrite();
    void provider_data();
    void provider();
    void cli_data();
    void cli();
    void alphabetSheet();

private:
    QString mFamily;
};

void TestFontResGenerator::initTestCase()
{
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/keymap.ttf"));
    QVERIFY(id >= 0);
    mFamily = QFontDatabase::applicationFontFamilies(id).value(0);
    QVERIFY(!mFamily.isEmpty());
}

void TestFontResGenerator::init()
{
    generator()->clear();
    generator()->setFamily(mFamily);
    generator()->setStyle(QString());
    generator()->setSize(30);
    generator()->setColor(Qt::black);
    generator()->setBold(false);
    generator()->setItalic(false);
    generator()->setUnderLine(false);
    generator()->setTightMode(false);
    generator()->setVerticalOrder(false);
}

void TestFontResGenerator::interface()
{
    const QMetaObject *meta = generator()->metaObject();
    QStringList methods;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
        methods.append(QString::fromLatin1(meta->method(i).methodSignature()));
    QCOMPARE(methods,
        (QStringList { "customFontFamiliesChanged()", "resNumersChanged()", "reported(OperationResult)",
            "addCustomFont(QString)",
            "clear()", "styles(QString)", "generate(QString)", "save(QString)", "saveAsTil(QString)" }));
    QStringList properties;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        properties.append(QString::fromLatin1(meta->property(i).name()));
        QVERIFY(meta->property(i).isWritable());
    }
    QCOMPARE(properties,
        (QStringList { "systemFontFamilies", "customFontFamilies", "resNumers", "family", "style", "color",
            "size", "bold", "italic", "underLine", "verticalOrder", "tightMode" }));
}

void TestFontResGenerator::fromQml()
{
    // The dialog's bindings: colour from its picker, size from a text field.
    const QString script
        = QStringLiteral("fontResGenerator.color = '#ff0000ff';"
                         "fontResGenerator.size = 24;"
                         "fontResGenerator.tightMode = true;"
                         "fontResGenerator.generate('I\\nJ');"
                         "if (fontResGenerator.resNumers.length !== 2) throw new Error('numbers');");
    QString error;
    QVERIFY2(ToolTestFiles::runQml(QStringLiteral("fontResGenerator"), generator(), script, &error),
        qPrintable(error));
    QCOMPARE(generator()->color(), QColor(Qt::blue));
    QCOMPARE(generator()->size(), 24);
    const QImage image = generator()->image(1);
    QCOMPARE(image.pixelColor(image.width() / 2, image.height() / 2), QColor(Qt::blue));
}

void TestFontResGenerator::generateLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<QList<bool>>("empty");

    QTest::newRow("trailing line feed")
        << "A\nB\n"
        << QStringList { "1", "2", "3" } << QList<bool> { false, false, true };
    QTest::newRow("one letter") << "A" << QStringList { "1" } << QList<bool> { false };
    QTest::newRow("empty text") << "" << QStringList { "1" } << QList<bool> { true };
    QTest::newRow("blank line inside")
        << "A\n\nB" << QStringList { "1", "2", "3" } << QList<bool> { false, true, false };
    // The ordinary bounding rectangle of a blank has no width.
    QTest::newRow("space") << " " << QStringList { "1" } << QList<bool> { true };
}

void TestFontResGenerator::generateLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, numbers);
    QFETCH(QList<bool>, empty);

    generator()->generate(QStringLiteral("old\nlines\nhere\nmore\nstill"));
    QSignalSpy changed(generator(), &FontResGenerator::resNumersChanged);
    QCOMPARE(generator()->generate(text), numbers.size());
    QCOMPARE(changed.count(), 2); // emptied, then filled
    QCOMPARE(generator()->resNumers(), numbers);
    for (int i = 0; i < empty.size(); ++i) {
        const QImage image = generator()->image(i + 1);
        QCOMPARE(image.isNull(), empty.at(i));
        if (!image.isNull())
            QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
    }
    QVERIFY(generator()->image(numbers.size() + 1).isNull()); // older images are gone
}

void TestFontResGenerator::unicodeEscape()
{
    generator()->generate(QStringLiteral("A\n\\u0041\n\\u004\n\\u00e9"));
    QVERIFY(!generator()->image(1).isNull());
    QCOMPARE(generator()->image(2), generator()->image(1));
    // Three digits are no escape: the text is drawn as it stands, wider.
    QVERIFY(generator()->image(3).width() > generator()->image(1).width() * 3);
    const QImage accented = generator()->image(4);
    generator()->generate(QString(QChar(0xe9)));
    QCOMPARE(accented, generator()->image(1));
}

void TestFontResGenerator::tightAndLooseMeasure()
{
    generator()->generate(QStringLiteral("."));
    const QImage loose = generator()->image(1);
    generator()->setTightMode(true);
    generator()->generate(QStringLiteral("."));
    const QImage tight = generator()->image(1);

    const QFontMetricsF metrics(generator()->font());
    QCOMPARE(loose.height(), qCeil(metrics.ascent() + metrics.descent()));
    QVERIFY2(loose.height() >= 30, qPrintable(QString::number(loose.height())));
    QVERIFY2(tight.height() <= 6 && tight.width() <= 6,
        qPrintable(QStringLiteral("%1x%2").arg(tight.width()).arg(tight.height())));
    QVERIFY(tight.height() > 0);
    // The dot sits on the baseline: in the loose box it is near the bottom,
    // in the tight box it fills the image.
    const QRect looseInk = ink(loose);
    QVERIFY(looseInk.top() > loose.height() / 2);
    const QRect tightInk = ink(tight);
    QVERIFY(tightInk.width() >= tight.width() - 1 && tightInk.height() >= tight.height() - 1);
}

void TestFontResGenerator::fontFromSettings_data()
{
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("style");
    QTest::addColumn<int>("weight");
    QTest::newRow("regular") << false << QString() << 50;
    QTest::newRow("bold") << true << QString() << 75;
    QTest::newRow("bold over a named style") << true << "Oblique" << 75;
    QTest::newRow("named bold style without bold") << false << "Bold" << 50;
}

void TestFontResGenerator::fontFromSettings()
{
    QFETCH(bool, bold);
    QFETCH(QString, style);
    QFETCH(int, weight);
    generator()->setBold(bold);
    generator()->setStyle(style);
    generator()->setItalic(true);
    generator()->setUnderLine(true);
    const QFont font = generator()->font();
    QCOMPARE(font.weight(), weight);
    QCOMPARE(font.styleName(), style);
    QCOMPARE(font.pixelSize(), 30);
    QCOMPARE(font.family(), mFamily);
    QVERIFY(font.italic());
    QVERIFY(font.underline());
}

void TestFontResGenerator::colour()
{
    generator()->setColor(QColor(255, 0, 0));
    generator()->setTightMode(true);
    generator()->generate(QStringLiteral("I"));
    const QImage image = generator()->image(1);
    const QColor middle = image.pixelColor(image.width() / 2, image.height() / 2);
    QCOMPARE(middle.alpha(), 255);
    QCOMPARE(middle.red(), 255);
    QCOMPARE(middle.green(), 0);
}

void TestFontResGenerator::enormousSize()
{
    generator()->setSize(20000);
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("over the image size bound")));
    QCOMPARE(generator()->generate(QStringLiteral("W")), 1);
    QVERIFY(generator()->image(1).isNull());
    QTemporaryDir dir;
    QCOMPARE(generator()->save(dir.path()), 0);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

void TestFontResGenerator::saveNumberedFiles()
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("002.png")), "old");
    writeFile(dir.filePath(QStringLiteral("003.png")), "keep");
    generator()->generate(QStringLiteral("A\nB\n"));
    QCOMPARE(generator()->save(dir.path()), 2);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList { "001.png", "002.png", "003.png" }));
    const QImage::Format format = QImage::Format_ARGB32_Premultiplied;
    QCOMPARE(QImage(dir.filePath(QStringLiteral("001.png"))).convertToFormat(format), generator()->image(1));
    QCOMPARE(QImage(dir.filePath(QStringLiteral("002.png"))).convertToFormat(format), generator()->image(2));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("003.png"))),
        QByteArray("keep")); // the empty image is not written

    QStringList many;
    for (int i = 0; i < 1000; ++i)
        many.append(QStringLiteral("."));
    generator()->generate(many.join(QLatin1Char('\n')));
    QTemporaryDir manyDir;
    QCOMPARE(generator()->save(manyDir.path()), 1000);
    QVERIFY(QFile::exists(manyDir.filePath(QStringLiteral("999.png"))));
    QVERIFY(QFile::exists(manyDir.filePath(QStringLiteral("1000.png"))));
    QVERIFY(QFile::exists(manyDir.filePath(QStringLiteral("010.png"))));
}

void TestFontResGenerator::saveIntoMissingDirectory()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing"));
    generator()->generate(QStringLiteral("A"));
    QTest::ignoreMessage(QtInfoMsg,
        QRegularExpression(QRegularExpression::escape(missing) + QStringLiteral(".*is not a directory!")));
    QCOMPARE(generator()->save(missing), 0);
    QVERIFY(!QFileInfo::exists(missing));
    // A file is not a directory either.
    writeFile(missing, "x");
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("is not a directory!")));
    QCOMPARE(generator()->save(missing), 0);
    QCOMPARE(readAll(missing), QByteArray("x"));
}

void TestFontResGenerator::saveAsTil_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::newRow("horizontal") << false;
    QTest::newRow("vertical") << true;
}

void TestFontResGenerator::saveAsTil()
{
    QFETCH(bool, vertical);
    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("letters.v1.til"));
    generator()->setVerticalOrder(vertical);
    generator()->generate(QStringLiteral("W\ni\n\nM"));
    QVERIFY(generator()->saveAsTil(til));

    SkinConfig config(til);
    QCOMPARE(config.value(QStringLiteral("GLOBAL/USE_ALPHA")), QStringLiteral("1"));
    QCOMPARE(config.value(QStringLiteral("GLOBAL/TILE_NUM")), QStringLiteral("4"));
    const QImage sheet(dir.filePath(QStringLiteral("letters.png")));
    QVERIFY(!sheet.isNull());
    int along = 0;
    int across = 0;
    for (int n = 1; n <= 4; ++n) {
        const QImage image = generator()->image(n);
        const QPoint at = vertical ? QPoint(0, along) : QPoint(along, 0);
        QCOMPARE(config.value(QStringLiteral("IMG%1/SOURCE_RECT").arg(n)),
            QStringLiteral("%1,%2,%3,%4").arg(at.x()).arg(at.y()).arg(image.width()).arg(image.height()));
        if (!image.isNull())
            QCOMPARE(sheet.copy(QRect(at, image.size())).convertToFormat(image.format()), image);
        along += vertical ? image.height() : image.width();
        across = qMax(across, vertical ? image.width() : image.height());
    }
    QCOMPARE(sheet.size(), vertical ? QSize(across, along) : QSize(along, across));

    // The tile reader gets the same images back.
    const QList<Tile> tiles = readTileFile(til);
    QCOMPARE(tiles.size(), 4);
    QCOMPARE(tiles.at(0).name(), QStringLiteral("letters"));
    QCOMPARE(tiles.at(0).image(), generator()->image(1));
    QCOMPARE(tiles.at(3).image(), generator()->image(4));
}

void TestFontResGenerator::saveAsTilKeepsContent()
{
    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("letters.til"));
    writeFile(til,
        "[GLOBAL]\r\nTILE_NUM=9\r\nAUTHOR=me\r\n\r\n[IMG1]\r\nINNER_RECT=1,1,1,1\r\n\r\n[IMG9]\r\nSOURCE_"
        "RECT=0,0,1,1\r\n");
    generator()->generate(QStringLiteral("A\nB"));
    QVERIFY(generator()->saveAsTil(til));
    SkinConfig config(til);
    QCOMPARE(config.value(QStringLiteral("GLOBAL/TILE_NUM")), QStringLiteral("2"));
    QCOMPARE(config.value(QStringLiteral("GLOBAL/AUTHOR")), QStringLiteral("me"));
    QCOMPARE(config.value(QStringLiteral("IMG1/INNER_RECT")), QStringLiteral("1,1,1,1"));
    QCOMPARE(config.value(QStringLiteral("IMG9/SOURCE_RECT")), QStringLiteral("0,0,1,1"));
    const QImage second = generator()->image(2);
    QCOMPARE(config.value(QStringLiteral("IMG2/SOURCE_RECT")),
        QStringLiteral("%1,0,%2,%3")
            .arg(generator()->image(1).width())
            .arg(second.width())
            .arg(second.height()));
}

void TestFontResGenerator::saveAsTilIntoMissingDirectory()
{
    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("missing/letters.til"));
    generator()->generate(QStringLiteral("A"));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("missing.*is not a directory!")));
    QVERIFY(!generator()->saveAsTil(til));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
}

void TestFontResGenerator::packing_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QSize>("sheetSize");
    QTest::addColumn<QStringList>("rects");

    QTest::newRow("left to right") << false << QSize(30, 20)
                                   << QStringList { "0,0,10,20", "10,0,12,20", "22,0,8,20" };
    QTest::newRow("top to bottom") << true << QSize(12, 60)
                                   << QStringList { "0,0,10,20", "0,20,12,20", "0,40,8,20" };
}

void TestFontResGenerator::packing()
{
    QFETCH(bool, vertical);
    QFETCH(QSize, sheetSize);
    QFETCH(QStringList, rects);

    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("sheet.til"));
    const QVector<TileSheet::Entry> entries = { { 1, filled(10, 20, Qt::red) },
        { 2, filled(12, 20, Qt::green) }, { 3, filled(8, 20, Qt::blue) } };
    QVERIFY(TileSheet::pack(entries, vertical, til));
    SkinConfig config(til);
    QCOMPARE(config.value(QStringLiteral("GLOBAL/TILE_NUM")), QStringLiteral("3"));
    QCOMPARE(config.childGroups(), (QStringList { "GLOBAL", "IMG1", "IMG2", "IMG3" }));
    const QImage sheet(dir.filePath(QStringLiteral("sheet.png")));
    QCOMPARE(sheet.size(), sheetSize);
    const QColor colours[] = { Qt::red, Qt::green, Qt::blue };
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(config.value(QStringLiteral("IMG%1/SOURCE_RECT").arg(i + 1)), rects.at(i));
        const QStringList f = rects.at(i).split(QLatin1Char(','));
        QCOMPARE(sheet.pixelColor(f.at(0).toInt(), f.at(1).toInt()), colours[i]);
    }
    if (vertical)
        QCOMPARE(sheet.pixelColor(11, 0).alpha(), 0); // right of the narrower image
}

void TestFontResGenerator::packingOverTheBound()
{
    QTemporaryDir dir;
    const QString til = dir.filePath(QStringLiteral("sheet.til"));
    const QByteArray text = "[IMG1]\r\nSOURCE_RECT=0,0,1,1\r\n";
    writeFile(til, text);
    QVector<TileSheet::Entry> entries;
    for (int i = 1; i <= 20; ++i)
        entries.append({ i, filled(1000, 2, Qt::red) });
    QTest::ignoreMessage(
        QtInfoMsg, QRegularExpression(QStringLiteral("over the image size bound; nothing written!")));
    QVERIFY(!TileSheet::pack(entries, false, til));
    QCOMPARE(readAll(til), text);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("sheet.png"))));
    // The same images stacked fit.
    QVERIFY(TileSheet::pack(entries, true, til));
    QCOMPARE(QImage(dir.filePath(QStringLiteral("sheet.png"))).size(), QSize(1000, 40));
}

void TestFontResGenerator::customFonts()
{
    QTemporaryDir dir;
    const QString fontFile = dir.filePath(QStringLiteral("keymap.ttf"));
    QVERIFY(QFile::copy(QStringLiteral(":/fonts/keymap.ttf"), fontFile));

    QSignalSpy changed(generator(), &FontResGenerator::customFontFamiliesChanged);
    QVERIFY(generator()->addCustomFont(fontFile));
    QVERIFY(generator()->addCustomFont(fontFile));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(generator()->customFontFamilies(), QStringList { mFamily });
    QVERIFY(!generator()->styles(mFamily).isEmpty());

    writeFile(dir.filePath(QStringLiteral("broken.ttf")), "not a font");
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("can not add default font:  -1 !")));
    QVERIFY(!generator()->addCustomFont(dir.filePath(QStringLiteral("broken.ttf"))));
    QCOMPARE(changed.count(), 2);

    generator()->generate(QStringLiteral("A"));
    QSignalSpy numbersChanged(generator(), &FontResGenerator::resNumersChanged);
    generator()->clear();
    QCOMPARE(changed.count(), 3);
    QCOMPARE(numbersChanged.count(), 1);
    QCOMPARE(generator()->customFontFamilies(), QStringList());
    QCOMPARE(generator()->resNumers(), QStringList());
    QVERIFY(generator()->image(1).isNull());
    // The test's own registration of the same file is untouched.
    QVERIFY(QFontDatabase().families().contains(mFamily));
}

void TestFontResGenerator::resNumersWrite()
{
    QSignalSpy changed(generator(), &FontResGenerator::resNumersChanged);
    QVERIFY(generator()->setProperty("resNumers", QStringList { "4", "5" }));
    QVERIFY(generator()->setProperty("resNumers", QStringList { "4", "5" }));
    QCOMPARE(changed.count(), 1);
    QVERIFY(generator()->setProperty("size", 44));
    QCOMPARE(generator()->size(), 44);
    QVERIFY(generator()->setProperty("tightMode", true));
    QVERIFY(generator()->tightMode());
    QVERIFY(!generator()->systemFontFamilies().isEmpty());
}

void TestFontResGenerator::provider_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QSize>("requested"); // a side of -2: that side of the natural size times factor
    QTest::addColumn<bool>("placeholder");
    QTest::addColumn<int>("factor"); // expected size = natural size times factor; 0: 1x1

    QTest::newRow("image") << "1" << QSize(-1, -1) << false << 1;
    QTest::newRow("sixth") << "6" << QSize(-1, -1) << false << 1;
    QTest::newRow("seventh of six") << "7" << QSize(-1, -1) << true << 0;
    QTest::newRow("not a number") << "one" << QSize(-1, -1) << true << 0;
    QTest::newRow("zero") << "0" << QSize(-1, -1) << true << 0;
    QTest::newRow("double width") << "1" << QSize(-2, 0) << false << 2;
    QTest::newRow("triple height") << "2" << QSize(0, -2) << false << 3;
    QTest::newRow("absurd width keeps the image") << "1" << QSize(100000, 0) << false << 1;
}

void TestFontResGenerator::provider()
{
    QFETCH(QString, id);
    QFETCH(QSize, requested);
    QFETCH(bool, placeholder);
    QFETCH(int, factor);

    generator()->generate(QStringLiteral("A\nB\nC\nD\nE\nF"));
    FontResImageProvider provider;
    QCOMPARE(provider.imageType(), QQmlImageProviderBase::Image);
    const QImage natural = generator()->image(id.toInt());
    QCOMPARE(natural.isNull(), placeholder);
    if (requested.width() == -2)
        requested.setWidth(natural.width() * factor);
    if (requested.height() == -2)
        requested.setHeight(natural.height() * factor);
    if (requested.width() == 100000)
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("over the image size bound")));
    QSize reported;
    const QImage image = provider.requestImage(id, &reported, requested);
    QCOMPARE(image.size(), factor == 0 ? QSize(1, 1) : natural.size() * factor);
    if (placeholder) {
        QCOMPARE(reported, QSize(1, 1));
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        return;
    }
    QCOMPARE(reported, natural.size());
    if (factor == 1)
        QCOMPARE(image, natural);
}

void TestFontResGenerator::cli_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("files"); // in out/

    const QStringList font { "--font-file", "keymap.ttf", "--size", "30" };
    QTest::newRow("numbered files") << (QStringList { "--out-dir", "out" } + font) << 0
                                    << QStringList { "001.png", "002.png", "003.png" };
    QTest::newRow("tile file") << (QStringList { "--til", "out/abc.til", "--tight", "--horizontal" } + font)
                               << 0 << QStringList { "abc.png", "abc.til" };
    QTest::newRow("family, colour, style flags") << QStringList { "--til", "out/abc.til", "--family",
        "DejaVu Sans", "--size", "20", "--color", "#80FF0000", "--bold", "--italic", "--underline", "--style",
        "Book" } << 0 << QStringList { "abc.png", "abc.til" };
    QTest::newRow("both outputs") << (QStringList { "--out-dir", "out", "--til", "out/a.til" } + font) << 2
                                  << QStringList();
    QTest::newRow("no output") << font << 2 << QStringList();
    QTest::newRow("both fonts") << QStringList { "--out-dir", "out", "--family", "DejaVu Sans", "--font-file",
        "keymap.ttf", "--size", "30" }
                                << 2 << QStringList();
    QTest::newRow("no size") << QStringList { "--out-dir", "out", "--font-file", "keymap.ttf" } << 2
                             << QStringList();
    QTest::newRow("size 0") << QStringList { "--out-dir", "out", "--font-file", "keymap.ttf", "--size", "0" }
                            << 2 << QStringList();
    QTest::newRow("bad colour") << (QStringList { "--out-dir", "out", "--color", "#GG0000" } + font) << 2
                                << QStringList();
    QTest::newRow("unknown flag") << (QStringList { "--out-dir", "out", "--shadow" } + font) << 2
                                  << QStringList();
    QTest::newRow("not a font file") << QStringList { "--out-dir", "out", "--font-file", "text.txt", "--size",
        "30" } << 1 << QStringList();
    QTest::newRow("unknown family") << QStringList { "--out-dir", "out", "--family", "No Such Family 42",
        "--size", "30" } << 1 << QStringList();
    QTest::newRow("missing out dir") << (QStringList { "--out-dir", "out/none" } + font) << 1
                                     << QStringList();
    QTest::newRow("til in missing dir")
        << (QStringList { "--til", "out/none/a.til" } + font) << 1 << QStringList();
    QTest::newRow("enormous size") << QStringList { "--out-dir", "out", "--font-file", "keymap.ttf", "--size",
        "2000000" } << 2 << QStringList();
    QTest::newRow("glyphs over the image bound") << QStringList { "--out-dir", "out", "--font-file",
        "keymap.ttf", "--size", "16000" } << 1 << QStringList();
}

void TestFontResGenerator::cli()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QStringList, files);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("out")));
    QVERIFY(QFile::copy(QStringLiteral(":/fonts/keymap.ttf"), dir.filePath(QStringLiteral("keymap.ttf"))));
    // CR LF lines, a final line feed and an escape: three images.
    writeFile(dir.filePath(QStringLiteral("text.txt")), "A\r\n\\u0042\r\n.\r\n");

    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(QUILLMARK_CLI_PATH),
        QStringList { QStringLiteral("fontres"), QStringLiteral("text.txt") } + args);
    QVERIFY(process.waitForFinished(60000));
    const QByteArray err = process.readAllStandardError();
    QVERIFY2(process.exitCode() == exitCode, err.right(300).constData());
    if (exitCode != 0)
        QVERIFY(err.contains("quillmark-cli fontres: "));
    QCOMPARE(QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files), files);
    if (files.contains(QStringLiteral("abc.til"))) {
        SkinConfig config(dir.filePath(QStringLiteral("out/abc.til")));
        QCOMPARE(config.value(QStringLiteral("GLOBAL/TILE_NUM")), QStringLiteral("3"));
        QVERIFY(config.contains(QStringLiteral("IMG3/SOURCE_RECT")));
        QVERIFY(!config.contains(QStringLiteral("IMG4/SOURCE_RECT")));
    }

    // A missing text file is a failure.
    process.start(QStringLiteral(QUILLMARK_CLI_PATH),
        QStringList { QStringLiteral("fontres"), QStringLiteral("none.txt"), QStringLiteral("--out-dir"),
            QStringLiteral("out"), QStringLiteral("--font-file"), QStringLiteral("keymap.ttf"),
            QStringLiteral("--size"), QStringLiteral("30") });
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 1);
}

void TestFontResGenerator::alphabetSheet()
{
    QTemporaryDir dir;
    QByteArray letters;
    for (char c = 'A'; c <= 'Z'; ++c)
        letters += QByteArray(1, c) + '\n';
    writeFile(dir.filePath(QStringLiteral("letters.txt")), letters);
    QVERIFY(QFile::copy(QStringLiteral(":/fonts/keymap.ttf"), dir.filePath(QStringLiteral("keymap.ttf"))));
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(QUILLMARK_CLI_PATH),
        { QStringLiteral("fontres"), QStringLiteral("letters.txt"), QStringLiteral("--til"),
            QStringLiteral("letters.til"), QStringLiteral("--font-file"), QStringLiteral("keymap.ttf"),
            QStringLiteral("--size"), QStringLiteral("40"), QStringLiteral("--color"),
            QStringLiteral("#FF336699") });
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);

    const QList<Tile> tiles = readTileFile(dir.filePath(QStringLiteral("letters.til")));
    QCOMPARE(tiles.size(), 26);
    for (int i = 0; i < 26; ++i) {
        QCOMPARE(tiles.at(i).number(), i + 1);
        QCOMPARE(tiles.at(i).key(), QStringLiteral("letters,%1").arg(i + 1));
        QVERIFY(!tiles.at(i).image().isNull());
        QVERIFY(!ink(tiles.at(i).image()).isEmpty());
        QVERIFY(!tiles.at(i).render(QSize(60, 60), 1).isNull());
    }
    // A style table can name the tiles.
    const QString css = dir.filePath(QStringLiteral("default.css"));
    writeFile(css, "[STYLE1]\r\nNM_IMG=letters,1\r\nHL_IMG=letters,26\r\n");
    StylesManager *styles = StylesManager::instance();
    styles->clear();
    for (const Tile &tile : tiles)
        styles->addTile(tile);
    styles->readStyleTable(css);
    const QImage normal = styles->styleImage(1, QSize(60, 60), false, 1);
    const QImage highlighted = styles->styleImage(1, QSize(60, 60), true, 1);
    styles->clear();
    QCOMPARE(normal.size(), QSize(60, 60));
    QVERIFY(!ink(normal).isEmpty());
    QVERIFY(normal != highlighted);

    // Same letter, same pixels as in the editor's generator.
    generator()->setSize(40);
    generator()->setColor(QColor(0x33, 0x66, 0x99));
    generator()->setVerticalOrder(true);
    generator()->generate(QStringLiteral("A"));
    QCOMPARE(tiles.at(0).image(), generator()->image(1));
}

QTEST_MAIN(TestFontResGenerator)
#include "tst_fontresgenerator.moc"
