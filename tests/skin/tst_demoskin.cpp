#include "skin/skinconfig.h"
#include "skin/tile.h"
#include "skin/valuetext.h"
#include "testpaths.h"
#include "tools/tiletool.h"

#include <QColor>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

// The demo skin is the project's real-world fixture: the editor opens it, the
// other suites render, scale and convert it. These checks keep it complete,
// consistent with itself and identical to what its generator writes.

namespace {

QStringList gMessages;
QtMessageHandler gPreviousHandler = nullptr;

void collectMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    gMessages.append(text);
    if (gPreviousHandler)
        gPreviousHandler(type, context, text);
}

// Collects every log line issued while it lives.
class MessageCatcher
{
public:
    MessageCatcher()
    {
        gMessages.clear();
        gPreviousHandler = qInstallMessageHandler(collectMessage);
    }
    ~MessageCatcher() { qInstallMessageHandler(gPreviousHandler); }
    QStringList messages() const { return gMessages; }
};

QString skinRoot()
{
    return QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo");
}

QString resDir()
{
    return skinRoot() + QStringLiteral("/res");
}

QString portDir()
{
    return skinRoot() + QStringLiteral("/port");
}

// Relative paths of all files below `root`, sorted.
QStringList filesBelow(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(root).relativeFilePath(it.next()));
    files.sort();
    return files;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<int> styleList(const QString &text)
{
    return text.isEmpty() ? QList<int>() : ValueText::parseIntList(text);
}

// Looks up a PANEL, CAND, LIST or INPUT property as the preview does: the
// panel file first, gen.ini as the fallback.
QString panelValue(const SkinConfig &panel, const SkinConfig &gen, const QString &path)
{
    return panel.contains(path) ? panel.value(path) : gen.value(path);
}

QImage argb(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestDemoSkin : public QObject
{
    Q_OBJECT

private slots:
    void generatorReproducesSkin();
    void filesReadCleanly_data();
    void filesReadCleanly();
    void tileFiles_data();
    void tileFiles();
    void sheetsSurviveSplitAndJoin_data();
    void sheetsSurviveSplitAndJoin();
    void referencedStylesExist();
    void styleImagesAndFontsExist();
    void keysAreComplete();
    void candidateLayoutFitsItsBar();
    void numbersArePlainDecimal_data();
    void numbersArePlainDecimal();
};

void TestDemoSkin::generatorReproducesSkin()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QProcess generator;
    generator.setProcessChannelMode(QProcess::MergedChannels);
    generator.start(QStringLiteral("/usr/bin/python3"),
                    {QStringLiteral(QUILLMARK_SOURCE_DIR "/scripts/make_demo_skin.py"), QStringLiteral("--output"),
                     dir.path()});
    QVERIFY2(generator.waitForFinished(120000), "the generator did not finish");
    QVERIFY2(generator.exitStatus() == QProcess::NormalExit && generator.exitCode() == 0,
             generator.readAll().constData());

    const QStringList committed = filesBelow(skinRoot());
    const QStringList generated = filesBelow(dir.path());
    QCOMPARE(committed, generated);
    for (const QString &file : committed) {
        const QByteArray a = readAll(skinRoot() + QLatin1Char('/') + file);
        const QByteArray b = readAll(dir.filePath(file));
        QVERIFY2(!a.isEmpty(), qPrintable(file));
        QVERIFY2(a == b, qPrintable(file + QStringLiteral(" differs from the generator's output")));
    }
}

void TestDemoSkin::filesReadCleanly_data()
{
    QTest::addColumn<QString>("file");
    const QStringList files = filesBelow(skinRoot());
    int rows = 0;
    for (const QString &file : files) {
        const QString suffix = QFileInfo(file).suffix();
        if (suffix == QLatin1String("ini") || suffix == QLatin1String("cnd") || suffix == QLatin1String("css")
            || suffix == QLatin1String("til")) {
            QTest::newRow(qPrintable(file)) << file;
            ++rows;
        }
    }
    QVERIFY(rows >= 7);
}

// Every text file reads without a rejected line and is byte for byte what the
// INI writer writes, so an edit in the editor changes only what was edited.
void TestDemoSkin::filesReadCleanly()
{
    QFETCH(QString, file);
    const QString path = skinRoot() + QLatin1Char('/') + file;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString copy = dir.filePath(QFileInfo(file).fileName());
    QVERIFY(QFile::copy(path, copy));
    {
        MessageCatcher catcher;
        SkinConfig config(copy);
        QVERIFY(!config.childGroups().isEmpty());
        for (const QString &message : catcher.messages())
            QVERIFY2(!message.contains(QLatin1String("invalid")) && !message.contains(QLatin1String("can not")),
                     qPrintable(message));
        QVERIFY(config.save());
    }
    QCOMPARE(readAll(copy), readAll(path));
}

void TestDemoSkin::tileFiles_data()
{
    QTest::addColumn<QString>("til");
    QTest::addColumn<int>("tiles");
    QTest::addColumn<int>("innerRects");
    QTest::newRow("keys") << QStringLiteral("keys.til") << 8 << 8;
    QTest::newRow("panel") << QStringLiteral("panel.til") << 7 << 6;
    QTest::newRow("icons") << QStringLiteral("icons.til") << 10 << 0;
}

// Each sheet is packed as the tile tool's join packs it: tiles stacked from
// (0, 0) downwards, numbered from 1, the sheet as wide as the widest tile.
void TestDemoSkin::tileFiles()
{
    QFETCH(QString, til);
    QFETCH(int, tiles);
    QFETCH(int, innerRects);
    const QString path = resDir() + QLatin1Char('/') + til;
    const QString png = tileImagePath(path);
    QVERIFY2(QFile::exists(png), qPrintable(png));
    const QImage sheet = argb(png);
    QVERIFY(!sheet.isNull());

    SkinConfig config(path);
    QCOMPARE(config.value(QStringLiteral("GLOBAL/USE_ALPHA")), QStringLiteral("1"));
    QCOMPARE(config.value(QStringLiteral("GLOBAL/TILE_NUM")), QString::number(tiles));
    const QStringList sections = config.childGroups();
    QCOMPARE(sections.size(), tiles + 1);
    QCOMPARE(sections.first(), QStringLiteral("GLOBAL"));

    int y = 0;
    int width = 0;
    int inners = 0;
    for (int n = 1; n <= tiles; ++n) {
        const QString section = QStringLiteral("IMG%1").arg(n);
        QCOMPARE(sections.at(n), section);
        const QRect source = ValueText::parseRect(config.value(section + QStringLiteral("/SOURCE_RECT")));
        QVERIFY2(source.width() > 0 && source.height() > 0, qPrintable(section));
        QCOMPARE(source.topLeft(), QPoint(0, y));
        QVERIFY2(sheet.rect().contains(source), qPrintable(section));
        if (config.contains(section + QStringLiteral("/INNER_RECT"))) {
            const QRect inner = ValueText::parseRect(config.value(section + QStringLiteral("/INNER_RECT")));
            // A real nine-patch: inside the tile and smaller than it.
            QVERIFY2(source.contains(inner) && inner.size() != source.size(), qPrintable(section));
            ++inners;
        }
        // Beside a narrower tile the sheet is transparent, as join leaves it.
        for (int row = source.top(); row <= source.bottom(); ++row)
            for (int x = source.right() + 1; x < sheet.width(); ++x)
                QCOMPARE(sheet.pixel(x, row), 0u);
        y += source.height();
        width = qMax(width, source.width());
    }
    QCOMPARE(sheet.size(), QSize(width, y));
    QCOMPARE(inners, innerRects);

    MessageCatcher catcher;
    const QList<Tile> read = readTileFile(path);
    QCOMPARE(read.size(), tiles);
    QVERIFY2(catcher.messages().filter(QLatin1String(" not exists!")).isEmpty(), qPrintable(png));
    for (const Tile &tile : read)
        QVERIFY(!tile.image().isNull());
}

void TestDemoSkin::sheetsSurviveSplitAndJoin_data()
{
    tileFiles_data();
}

// Splitting a sheet into single images and joining them back must give the
// same pixels and the same tile rectangles; semi-transparent pixels must
// survive the premultiplied canvas of the join unchanged.
void TestDemoSkin::sheetsSurviveSplitAndJoin()
{
    QFETCH(QString, til);
    QFETCH(int, tiles);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("split")));
    const QString path = resDir() + QLatin1Char('/') + til;
    QCOMPARE(TileTool::instance()->split(path, dir.filePath(QStringLiteral("split"))), tiles);
    const QString joined = dir.filePath(til);
    QCOMPARE(TileTool::instance()->join(dir.filePath(QStringLiteral("split")), joined), tiles);

    const QImage original = argb(tileImagePath(path));
    const QImage result = argb(tileImagePath(joined));
    QCOMPARE(result.size(), original.size());
    for (int y = 0; y < original.height(); ++y)
        for (int x = 0; x < original.width(); ++x)
            if (original.pixel(x, y) != result.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 changed from %3 to %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(original.pixel(x, y), 8, 16, QLatin1Char('0'))
                                     .arg(result.pixel(x, y), 8, 16, QLatin1Char('0'))));

    SkinConfig before(path);
    SkinConfig after(joined);
    QCOMPARE(after.value(QStringLiteral("GLOBAL/TILE_NUM")), before.value(QStringLiteral("GLOBAL/TILE_NUM")));
    for (int n = 1; n <= tiles; ++n) {
        const QString key = QStringLiteral("IMG%1/SOURCE_RECT").arg(n);
        QCOMPARE(after.value(key), before.value(key));
    }
}

// Every style number the panel, gen.ini and the candidate layout name is
// defined in the style table.
void TestDemoSkin::referencedStylesExist()
{
    SkinConfig css(resDir() + QStringLiteral("/default.css"));
    QSet<int> defined;
    for (const QString &section : css.childGroups())
        if (section.startsWith(QLatin1String("STYLE")))
            defined.insert(section.mid(5).toInt());

    SkinConfig panel(portDir() + QStringLiteral("/py_26.ini"));
    SkinConfig gen(portDir() + QStringLiteral("/gen.ini"));
    const QString layout = panelValue(panel, gen, QStringLiteral("CAND/LAYOUT_NAME"));
    QVERIFY(!layout.isEmpty());
    SkinConfig cand(portDir() + QLatin1Char('/') + layout + QStringLiteral(".cnd"));

    QList<QPair<QString, QList<int>>> uses;
    const QStringList areaKeys = {QStringLiteral("PANEL/BACK_STYLE"), QStringLiteral("LIST/BACK_STYLE"),
                                  QStringLiteral("LIST/FORE_STYLE"),  QStringLiteral("LIST/CELL_STYLE"),
                                  QStringLiteral("INPUT/FORE_STYLE"), QStringLiteral("INPUT/BACK_STYLE")};
    for (const QString &key : areaKeys) {
        QVERIFY2(!panelValue(panel, gen, key).isEmpty(), qPrintable(key));
        uses.append({key, styleList(panelValue(panel, gen, key))});
    }
    for (SkinConfig *doc : {&panel, &cand}) {
        for (const QString &section : doc->childGroups()) {
            if (!(section.startsWith(QLatin1String("KEY")) || section.startsWith(QLatin1String("TIP"))
                  || section.startsWith(QLatin1String("ICON")) || section == QLatin1String("CAND")))
                continue;
            for (const auto &property : doc->sectionProperties(section)) {
                if (property.first.endsWith(QLatin1String("_STYLE")) && property.first != QLatin1String("STAT_STYLE"))
                    uses.append({section + QLatin1Char('/') + property.first, styleList(property.second)});
                if (property.first == QLatin1String("FIRST_FORE"))
                    uses.append({section + QLatin1Char('/') + property.first, styleList(property.second)});
            }
        }
    }
    QVERIFY(uses.size() >= 80);
    for (const auto &use : uses) {
        QVERIFY2(!use.second.isEmpty(), qPrintable(use.first));
        for (int number : use.second)
            QVERIFY2(defined.contains(number), qPrintable(use.first + QStringLiteral(" names style ") + QString::number(number)));
    }
}

// Image styles name existing tiles; font and sound paths name files under res.
void TestDemoSkin::styleImagesAndFontsExist()
{
    QSet<QString> tiles;
    for (const QString &til : QDir(resDir()).entryList({QStringLiteral("*.til")}, QDir::Files))
        for (const Tile &tile : readTileFile(resDir() + QLatin1Char('/') + til))
            tiles.insert(tile.key());
    QVERIFY(tiles.size() >= 25);

    SkinConfig css(resDir() + QStringLiteral("/default.css"));
    const QString font = css.value(QStringLiteral("GLOBAL/FONT_PATH"));
    QVERIFY(font.endsWith(QLatin1String(".ttf")));
    QVERIFY2(QFile::exists(resDir() + QLatin1Char('/') + font), qPrintable(font));
    QVERIFY(QFile::exists(resDir() + QStringLiteral("/DejaVuSans-LICENSE.txt")));

    QSet<QString> kinds;
    for (const QString &section : css.childGroups()) {
        for (const auto &property : css.sectionProperties(section)) {
            const QString &key = property.first;
            if (key == QLatin1String("NM_IMG") || key == QLatin1String("HL_IMG")) {
                QVERIFY2(tiles.contains(property.second), qPrintable(section + QLatin1Char('/') + key));
                kinds.insert(QStringLiteral("image"));
            } else if (key.endsWith(QLatin1String("_PATH"))) {
                QVERIFY2(QFile::exists(resDir() + QLatin1Char('/') + property.second),
                         qPrintable(section + QLatin1Char('/') + key));
                if (key.contains(QLatin1String("SOUND")))
                    kinds.insert(QStringLiteral("sound"));
            } else if (key.endsWith(QLatin1String("COLOR"))) {
                // Hexadecimal digits without "#": 6 or 8 of them here.
                QVERIFY2(QRegularExpression(QStringLiteral("^([0-9a-f]{6}|[0-9a-f]{8})$")).match(property.second).hasMatch(),
                         qPrintable(section + QLatin1Char('/') + key));
                QVERIFY(QColor(QLatin1Char('#') + property.second).isValid());
            } else if (key == QLatin1String("FONT_SIZE")) {
                QVERIFY2(property.second.toInt() > 0, qPrintable(section));
                kinds.insert(QStringLiteral("font"));
            } else if (key.endsWith(QLatin1String("_ANIM"))) {
                kinds.insert(QStringLiteral("anim"));
            } else if (key == QLatin1String("BORDER_SIZE")) {
                kinds.insert(QStringLiteral("border"));
            }
        }
    }
    QCOMPARE(kinds.size(), 5);
}

void TestDemoSkin::keysAreComplete()
{
    SkinConfig panel(portDir() + QStringLiteral("/py_26.ini"));
    SkinConfig gen(portDir() + QStringLiteral("/gen.ini"));
    for (const QString &section : {QStringLiteral("PANEL"), QStringLiteral("CAND"), QStringLiteral("LIST"),
                                   QStringLiteral("INPUT"), QStringLiteral("HINT")})
        QVERIFY2(panel.childGroups().contains(section), qPrintable(section));
    const QSize size = ValueText::parseSize(panel.value(QStringLiteral("PANEL/SIZE")));
    QCOMPARE(size.width(), 1080);
    const QRect panelRect(QPoint(0, 0), size);

    QSet<int> offsets;
    for (const QString &section : gen.childGroups())
        if (section.startsWith(QLatin1String("OFFSET")))
            offsets.insert(section.mid(6).toInt());
    offsets.insert(0);

    QList<QRect> views;
    QList<QRect> touches;
    int twoLayers = 0;
    int withStatus = 0;
    for (const QString &section : panel.childGroups()) {
        if (!section.startsWith(QLatin1String("KEY")))
            continue;
        const QByteArray name = section.toLatin1();
        const QRect view = ValueText::parseRect(panel.value(section + QStringLiteral("/VIEW_RECT")));
        const QRect touch = ValueText::parseRect(panel.value(section + QStringLiteral("/TOUCH_RECT")));
        QVERIFY2(view.width() > 0 && view.height() > 0, name);
        QVERIFY2(panelRect.contains(view), name);
        QVERIFY2(panelRect.contains(touch), name);
        // Slightly larger than the key, on every side.
        QVERIFY2(touch.contains(view) && touch.width() > view.width() && touch.height() > view.height(), name);
        for (const QRect &other : views)
            QVERIFY2(!other.intersects(view), name);
        for (const QRect &other : touches)
            QVERIFY2(!other.intersects(touch), name);
        views.append(view);
        touches.append(touch);

        QVERIFY2(panel.value(section + QStringLiteral("/BACK_STYLE")).toInt() > 0, name);
        const QList<int> fore = styleList(panel.value(section + QStringLiteral("/FORE_STYLE")));
        QVERIFY2(!fore.isEmpty(), name);
        const QList<int> pos = styleList(panel.value(section + QStringLiteral("/POS_TYPE")));
        QVERIFY2(pos.size() <= fore.size(), name);
        for (int t : pos)
            QVERIFY2(offsets.contains(t), name);
        if (fore.size() == 2 && pos.size() == 2 && pos.at(1) != 0)
            ++twoLayers;

        const QString stat = panel.value(section + QStringLiteral("/STAT_STYLE"));
        if (stat.isEmpty())
            continue;
        ++withStatus;
        for (const QString &item : stat.split(QLatin1Char('|'))) {
            QVERIFY2(QRegularExpression(QStringLiteral("^S\\d+_\\d+$")).match(item).hasMatch(), qPrintable(item));
            const QString tip = QStringLiteral("TIP") + item.section(QLatin1Char('_'), 1);
            QVERIFY2(panel.childGroups().contains(tip), qPrintable(tip));
            const QList<int> tipFore = styleList(panel.value(tip + QStringLiteral("/FORE_STYLE")));
            for (int t : styleList(panel.value(tip + QStringLiteral("/POS_TYPE")))) {
                QVERIFY2(offsets.contains(t), qPrintable(tip));
                QVERIFY(!tipFore.isEmpty());
            }
        }
    }
    QCOMPARE(views.size(), 33);
    QVERIFY(twoLayers >= 5);
    QVERIFY(withStatus >= 2);
}

// Every icon of the candidate layout lies inside the candidate bar in the
// statuses it is shown in, and the layout uses each kind of persistence.
void TestDemoSkin::candidateLayoutFitsItsBar()
{
    SkinConfig panel(portDir() + QStringLiteral("/py_26.ini"));
    SkinConfig gen(portDir() + QStringLiteral("/gen.ini"));
    const QRect bar = ValueText::parseRect(panelValue(panel, gen, QStringLiteral("CAND/VIEW_RECT")));
    QVERIFY(bar.width() > 0 && bar.height() > 0);
    SkinConfig cand(portDir() + QLatin1Char('/') + panelValue(panel, gen, QStringLiteral("CAND/LAYOUT_NAME"))
                    + QStringLiteral(".cnd"));
    for (const QString &key : {QStringLiteral("FORE_STYLE"), QStringLiteral("FIRST_FORE"),
                               QStringLiteral("CELL_STYLE"), QStringLiteral("FIRST_GAP"), QStringLiteral("CELL_W"),
                               QStringLiteral("PADDING"), QStringLiteral("BACK_STYLE")})
        QVERIFY2(cand.contains(QStringLiteral("CAND/") + key), qPrintable(key));
    QCOMPARE(ValueText::parseIntList(cand.value(QStringLiteral("CAND/PADDING"))).size(), 4);

    const int cx = (bar.left() + bar.right()) / 2;
    const int cy = (bar.top() + bar.bottom()) / 2;
    const QPoint anchors[] = {{0, 0},
                              {bar.left(), bar.top()},
                              {cx, bar.top()},
                              {bar.right(), bar.top()},
                              {bar.left(), cy},
                              {cx, cy},
                              {bar.right() + 1, cy},
                              {bar.left(), bar.bottom() + 1},
                              {cx, bar.bottom() + 1},
                              {bar.right() + 1, bar.bottom() + 1}};
    QSet<int> persists;
    QSet<int> anchorTypes;
    QList<QRect> idle;
    QList<QRect> composing;
    for (const QString &section : cand.childGroups()) {
        if (!section.startsWith(QLatin1String("ICON")))
            continue;
        const int anchor = cand.value(section + QStringLiteral("/ANCHOR_TYPE")).toInt();
        QVERIFY2(anchor >= 0 && anchor <= 9, qPrintable(section));
        anchorTypes.insert(anchor);
        const int persist = cand.value(section + QStringLiteral("/PERSIST")).toInt();
        persists.insert(persist);
        const QRect icon(anchors[anchor] + ValueText::parsePoint(cand.value(section + QStringLiteral("/POS"))),
                         ValueText::parseSize(cand.value(section + QStringLiteral("/SIZE"))));
        QVERIFY2(bar.contains(icon), qPrintable(section));
        if (persist == 1 || persist == 3) {
            for (const QRect &other : idle)
                QVERIFY2(!other.intersects(icon), qPrintable(section));
            idle.append(icon);
        }
        if (persist == 2 || persist == 3) {
            for (const QRect &other : composing)
                QVERIFY2(!other.intersects(icon), qPrintable(section));
            composing.append(icon);
        }
    }
    QCOMPARE(persists, (QSet<int>{1, 2, 3}));
    QVERIFY(anchorTypes.size() >= 4);
}

void TestDemoSkin::numbersArePlainDecimal_data()
{
    filesReadCleanly_data();
}

// Numbers are written as the tools write them: "%1,%2,%3,%4" without blanks,
// signs or leading zeros, so that an edit rewrites only what changed.
void TestDemoSkin::numbersArePlainDecimal()
{
    QFETCH(QString, file);
    SkinConfig config(skinRoot() + QLatin1Char('/') + file);
    const QRegularExpression numeric(QStringLiteral("^[-+0-9, ]+$"));
    const QRegularExpression plain(QStringLiteral("^-?(0|[1-9][0-9]*)(,-?(0|[1-9][0-9]*))*$"));
    int numbers = 0;
    for (const QString &section : config.childGroups()) {
        for (const auto &property : config.sectionProperties(section)) {
            if (!numeric.match(property.second).hasMatch())
                continue;
            ++numbers;
            QVERIFY2(plain.match(property.second).hasMatch(),
                     qPrintable(section + QLatin1Char('/') + property.first + QLatin1Char('=') + property.second));
        }
    }
    QVERIFY(numbers > 0);
}

QTEST_MAIN(TestDemoSkin)
#include "tst_demoskin.moc"
