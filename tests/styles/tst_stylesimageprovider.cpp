#include "stylesfixture.h"

#include "app/application.h"
#include "app/settings.h"
#include "styles/stylesimageprovider.h"
#include "styles/stylesmanager.h"

#include <QtTest>

using namespace StylesFixture;

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb LightGrey = qRgb(0xcc, 0xcc, 0xcc);

// A style whose natural picture is a 120x40 tile, left half red, right half
// blue, for the scaling checks.
void addWideStyle(StylesManager *manager)
{
    QImage image(120, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Blue);
    QPainter(&image).fillRect(0, 0, 60, 40, QColor(Red));
    manager->addTile(Tile(QStringLiteral("wide"), 1, QRect(), image));
    Style style;
    style.number = 60;
    style.name = QStringLiteral("STYLE60");
    style.kind = QStringLiteral("image");
    style.normalImage = QStringLiteral("wide,1");
    manager->addStyle(style);
}

bool isPlaceholder(const QImage &image)
{
    return image.size() == QSize(1, 1) && image.pixel(0, 0) == 0;
}

} // namespace

class TestStylesImageProvider : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir mDir;
    StylesManager *mManager = nullptr;

    // A settings file written as a user would edit it, in its own directory.
    static QString writeSettings(const QTemporaryDir &dir, const QStringList &lines)
    {
        return writeFile(dir, QStringLiteral("quillmark_settings.ini"),
            (QStringLiteral("[General]\n") + lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(prepare(mDir));
        mManager = StylesManager::instance();
        loadTable(mManager, mDir);
        addWideStyle(mManager);
    }

    void identifiers_data()
    {
        QTest::addColumn<QString>("id");
        // What the picture must be: "nm" or "hl" with the style number, the
        // placeholder, or the checkerboard tile.
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("number");

        QTest::newRow("normal colour style") << "nm/5"
                                             << "nm" << 5;
        QTest::newRow("highlighted colour style") << "hl/5"
                                                  << "hl" << 5;
        QTest::newRow("normal tile style") << "nm/1"
                                           << "nm" << 1;
        QTest::newRow("highlighted tile style") << "hl/1"
                                                << "hl" << 1;
        QTest::newRow("label style") << "nm/3"
                                     << "nm" << 3;
        QTest::newRow("third part ignored") << "nm/5/x"
                                            << "nm" << 5;
        QTest::newRow("not a number is style 0") << "nm/abc"
                                                 << "nm" << 0;
        QTest::newRow("empty number is style 0") << "hl/"
                                                 << "hl" << 0;
        QTest::newRow("unknown style paints a transparent square") << "nm/999"
                                                                   << "nm" << 999;
        QTest::newRow("leading zeros") << "hl/0012"
                                       << "hl" << 12;
        QTest::newRow("other first part") << "xx/12"
                                          << "placeholder" << 0;
        QTest::newRow("first part case matters") << "NM/5"
                                                 << "placeholder" << 0;
        QTest::newRow("empty first part") << "/5"
                                          << "placeholder" << 0;
        QTest::newRow("lone nm") << "nm"
                                 << "placeholder" << 0;
        QTest::newRow("empty identifier") << ""
                                          << "placeholder" << 0;
        QTest::newRow("transparent") << "transparent"
                                     << "checker" << 0;
        QTest::newRow("anything starting with transparent") << "transparentBackground"
                                                            << "checker" << 0;
        QTest::newRow("transparent with a second part") << "transparent/1"
                                                        << "placeholder" << 0;
        QTest::newRow("Transparent in capitals") << "Transparent"
                                                 << "placeholder" << 0;
    }

    void identifiers()
    {
        QFETCH(QString, id);
        QFETCH(QString, expected);
        QFETCH(int, number);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Settings settings(writeSettings(dir, {}));
        StylesImageProvider provider;
        Application::connectSettings(&settings, &provider, &settings);
        QSize size(-7, -7);
        const QImage image = provider.requestImage(id, &size, QSize());
        QVERIFY(!image.isNull());
        QCOMPARE(size, image.size());
        QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);

        if (expected == QLatin1String("placeholder")) {
            QVERIFY(isPlaceholder(image));
        } else if (expected == QLatin1String("checker")) {
            QCOMPARE(image.size(), QSize(10, 10));
        } else {
            const QImage style
                = mManager->styleImage(number, QSize(-1, -1), expected == QLatin1String("hl"), 1.0);
            QVERIFY(!isPlaceholder(image));
            QCOMPARE(image, style);
        }
    }

    void checkerboard_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("side"); // 0: the placeholder
        QTest::addColumn<QRgb>("first");
        QTest::addColumn<QRgb>("second");
        QTest::addColumn<int>("logLines");

        QTest::newRow("defaults") << QStringList() << 10 << White << LightGrey << 0;
        QTest::newRow("grid 8") << QStringList { "TransparentBackgroudGridSize=8" } << 16 << White
                                << LightGrey << 0;
        QTest::newRow("grid 1") << QStringList { "TransparentBackgroudGridSize=1" } << 2 << White << LightGrey
                                << 0;
        QTest::newRow("own colours") << QStringList { "TransparentBackgroudColor1=#102030",
            "TransparentBackgroudColor2=#a0b0c0", "TransparentBackgroudGridSize=3" }
                                     << 6 << qRgb(0x10, 0x20, 0x30) << qRgb(0xa0, 0xb0, 0xc0) << 0;
        QTest::newRow("colour that is no colour paints as Qt's invalid colour")
            << QStringList { "TransparentBackgroudColor2=nonsense" } << 10 << White << qRgb(0, 0, 0) << 0;
        QTest::newRow("grid 0") << QStringList { "TransparentBackgroudGridSize=0" } << 0 << 0u << 0u << 0;
        QTest::newRow("negative grid")
            << QStringList { "TransparentBackgroudGridSize=-4" } << 0 << 0u << 0u << 0;
        QTest::newRow("grid not a number")
            << QStringList { "TransparentBackgroudGridSize=big" } << 0 << 0u << 0u << 0;
        QTest::newRow("absurd grid") << QStringList { "TransparentBackgroudGridSize=100000" } << 0 << 0u << 0u
                                     << 1;
        QTest::newRow("grid beyond int")
            << QStringList { "TransparentBackgroudGridSize=99999999999" } << 0 << 0u << 0u << 1;
        QTest::newRow("largest int grid")
            << QStringList { "TransparentBackgroudGridSize=2147483647" } << 0 << 0u << 0u << 1;
    }

    void checkerboard()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, side);
        QFETCH(QRgb, first);
        QFETCH(QRgb, second);
        QFETCH(int, logLines);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Settings settings(writeSettings(dir, lines));
        StylesImageProvider provider;
        Application::connectSettings(&settings, &provider, &settings);
        LogCapture log;
        QSize size;
        const QImage image = provider.requestImage(QStringLiteral("transparent"), &size, QSize());
        QCOMPARE(log.lines().size(), logLines);
        QCOMPARE(size, image.size());
        if (side == 0) {
            QVERIFY(isPlaceholder(image));
            return;
        }
        QCOMPARE(image.size(), QSize(side, side));
        const int g = side / 2;
        // Second colour at top-left and bottom-right, first colour elsewhere.
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const bool diagonal = (x < g) == (y < g);
                QCOMPARE(
                    QString::number(image.pixel(x, y), 16), QString::number(diagonal ? second : first, 16));
            }
        }
    }

    void checkerboardFollowsSettings()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Settings settings(writeSettings(dir, {}));
        StylesImageProvider provider;
        Application::connectSettings(&settings, &provider, &settings);
        QSize size;
        QCOMPARE(provider.requestImage(QStringLiteral("transparent"), &size, QSize()).pixel(9, 0), White);
        settings.setTransparentBackgroudColor1(QColor(Red));
        settings.setTransparentBackgroudGridSize(4);
        const QImage image = provider.requestImage(QStringLiteral("transparent"), &size, QSize());
        QCOMPARE(image.size(), QSize(8, 8));
        QCOMPARE(image.pixel(7, 0), Red);
        QCOMPARE(image.pixel(0, 0), LightGrey);
    }

    void settingsDefaultsUntilSet()
    {
        // A provider nobody handed settings to draws what fresh settings say.
        StylesImageProvider own;
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Settings settings(writeSettings(dir, {}));
        StylesImageProvider following;
        Application::connectSettings(&settings, &following, &settings);
        QSize size;
        const QImage tile = own.requestImage(QStringLiteral("transparent"), &size, QSize());
        QCOMPARE(tile.size(), QSize(10, 10));
        QCOMPARE(tile, following.requestImage(QStringLiteral("transparent"), &size, QSize()));
    }

    void scaling_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<QSize>("reported");
        QTest::addColumn<QSize>("expected");

        QTest::newRow("width keeps aspect") << "nm/60" << QSize(60, 0) << QSize(120, 40) << QSize(60, 20);
        QTest::newRow("height keeps aspect") << "nm/60" << QSize(0, 20) << QSize(120, 40) << QSize(60, 20);
        QTest::newRow("width first, then height")
            << "nm/60" << QSize(60, 10) << QSize(120, 40) << QSize(30, 10);
        QTest::newRow("enlarged") << "nm/60" << QSize(240, -1) << QSize(120, 40) << QSize(240, 80);
        QTest::newRow("no request") << "nm/60" << QSize(0, 0) << QSize(120, 40) << QSize(120, 40);
        QTest::newRow("invalid request") << "nm/60" << QSize(-1, -1) << QSize(120, 40) << QSize(120, 40);
        QTest::newRow("placeholder scaled") << "xx/1" << QSize(10, 0) << QSize(1, 1) << QSize(10, 10);
        QTest::newRow("checkerboard scaled") << "transparent" << QSize(0, 5) << QSize(10, 10) << QSize(5, 5);
        QTest::newRow("absurd request: placeholder")
            << "nm/60" << QSize(1000000, 0) << QSize(120, 40) << QSize(1, 1);
        QTest::newRow("absurd height request: placeholder")
            << "nm/60" << QSize(0, 100000) << QSize(120, 40) << QSize(1, 1);
    }

    void scaling()
    {
        QFETCH(QString, id);
        QFETCH(QSize, requested);
        QFETCH(QSize, reported);
        QFETCH(QSize, expected);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Settings settings(writeSettings(dir, {}));
        StylesImageProvider provider;
        Application::connectSettings(&settings, &provider, &settings);
        LogCapture log;
        QSize size;
        const QImage image = provider.requestImage(id, &size, requested);
        QCOMPARE(size, reported);
        QCOMPARE(image.size(), expected);
        const bool refused = expected == QSize(1, 1) && reported != expected;
        QCOMPARE(log.lines().size(), refused ? 1 : 0);
        if (id == QLatin1String("nm/60") && !refused) {
            // Nearest neighbour: the red/blue edge stays sharp in the middle.
            const int y = image.height() / 2;
            QCOMPARE(image.pixel(image.width() / 2 - 1, y), Red);
            QCOMPARE(image.pixel(image.width() / 2, y), Blue);
        }
    }

    void nullSizeOutput()
    {
        StylesImageProvider provider;
        QVERIFY(!provider.requestImage(QStringLiteral("nm/5"), nullptr, QSize()).isNull());
    }
};

int main(int argc, char *argv[])
{
    return StylesFixture::runWithTemporaryHome<TestStylesImageProvider>(argc, argv);
}

#include "tst_stylesimageprovider.moc"
