#include "stylesfixture.h"

#include "skin/skinconfig.h"
#include "skin/valuetext.h"
#include "styles/stylesimageprovider.h"
#include "styles/stylesmanager.h"

#include <QtTest>

namespace {

QString demoRes()
{
    return QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo/res");
}

QString demoPort()
{
    return QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo/port");
}

bool hasVisiblePixel(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
        }
    }
    return false;
}

} // namespace

// The project's demo skin as the style store sees it: it loads without a
// complaint, every style of its table paints in both states, and every style
// its panel and candidate files name exists.
class TestDemoSkinStyles : public QObject
{
    Q_OBJECT

private:
    StylesManager *mManager = nullptr;
    QStringList mLoadLog;

private slots:
    void initTestCase()
    {
        mManager = StylesManager::instance();
        LogCapture log;
        StylesFixture::load(mManager, demoRes(), demoRes() + QStringLiteral("/default.css"));
        mLoadLog = log.lines();
        QVERIFY(mManager->styleNumbers().size() > 40);
    }

    void loadsWithoutComplaint()
    {
        for (const QString &line : qAsConst(mLoadLog)) {
            QVERIFY2(!line.contains(QStringLiteral(" not exists!")), qPrintable(line));
            QVERIFY2(!line.contains(QStringLiteral(" is invalid!")), qPrintable(line));
            QVERIFY2(!line.contains(QStringLiteral("can not ")), qPrintable(line));
            QVERIFY2(!line.contains(QStringLiteral("image size bound")), qPrintable(line));
        }
        // The skin's own font was registered.
        QCOMPARE(mManager->fontFamily(QStringLiteral("DejaVuSans.ttf")), QStringLiteral("DejaVu Sans"));
    }

    void everyStylePaints_data()
    {
        QTest::addColumn<QString>("number");
        const QStringList numbers = mManager->styleNumbers();
        for (const QString &number : numbers)
            QTest::newRow(qPrintable(QStringLiteral("STYLE") + number)) << number;
    }

    void everyStylePaints()
    {
        QFETCH(QString, number);
        const int n = number.toInt();
        const Style style = mManager->style(n);
        QCOMPARE(style.name, QStringLiteral("STYLE") + number);

        StylesImageProvider provider;
        for (const bool highlighted : { false, true }) {
            const QString image = highlighted ? style.highlightedImage : style.normalImage;
            const QColor color = highlighted ? style.highlightedColor : style.normalColor;
            QSize size;
            const QImage served = provider.requestImage(
                (highlighted ? QStringLiteral("hl/") : QStringLiteral("nm/")) + number, &size, QSize());
            QVERIFY2(size != QSize(1, 1), "the provider served its placeholder");
            QCOMPARE(size, served.size());

            if (!image.isEmpty()) {
                const Tile tile = mManager->tile(image);
                QVERIFY2(!tile.image().isNull(), qPrintable(image + QStringLiteral(" is not a tile")));
                QCOMPARE(served, tile.render(QSize(-1, -1), 1.0));
                // Keys are drawn at their own sizes: a tile paints at any.
                QCOMPARE(mManager->styleImage(n, QSize(150, 90), highlighted, 0.5).size(), QSize(75, 45));
            } else if (!style.text.isEmpty()) {
                QVERIFY2(color.isValid() && color.alpha() > 0, "a label in an invisible colour");
                QVERIFY(hasVisiblePixel(served));
            } else if (style.kind == QLatin1String("color")) {
                QVERIFY(color.isValid());
                QCOMPARE(served.size(), QSize(30, 30));
                QCOMPARE(served.pixel(15, 15), qPremultiply(color.rgba()));
            } else {
                QVERIFY(style.kind == QLatin1String("sound") || style.kind == QLatin1String("anim")
                    || (style.kind == QLatin1String("image") && highlighted != style.normalImage.isEmpty()));
            }
            if (style.borderColor.alpha() > 0)
                QVERIFY(style.borderColor.isValid());
        }
    }

    void everyReferencedStyleExists_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");

        const QStringList keys = { QStringLiteral("BACK_STYLE"), QStringLiteral("FORE_STYLE"),
            QStringLiteral("CELL_STYLE"), QStringLiteral("FIRST_FORE") };
        const QStringList files
            = QDir(demoPort()).entryList({ QStringLiteral("*.ini"), QStringLiteral("*.cnd") }, QDir::Files);
        int rows = 0;
        for (const QString &file : files) {
            const SkinConfig config(demoPort() + QLatin1Char('/') + file);
            const QStringList sections = config.childGroups();
            for (const QString &section : sections) {
                const auto properties = config.sectionProperties(section);
                for (const auto &property : properties) {
                    if (!keys.contains(property.first))
                        continue;
                    const QString name
                        = file + QLatin1Char(':') + section + QLatin1Char('/') + property.first;
                    QTest::newRow(qPrintable(name)) << file << section << property.first << property.second;
                    ++rows;
                }
            }
        }
        QVERIFY(rows > 60);
    }

    void everyReferencedStyleExists()
    {
        QFETCH(QString, value);
        const QList<int> numbers = ValueText::parseIntList(value);
        for (int n : numbers) {
            QVERIFY2(mManager->styleNumbers().contains(QString::number(n)),
                qPrintable(QStringLiteral("style %1 is not in the table").arg(n)));
            QVERIFY(!mManager->styleImage(n, QSize(96, 96), false, 0.5).isNull());
            QVERIFY(!mManager->styleImage(n, QSize(96, 96), true, 0.5).isNull());
        }
    }
};

int main(int argc, char *argv[])
{
    return StylesFixture::runWithTemporaryHome<TestDemoSkinStyles>(argc, argv);
}

#include "tst_demoskinstyles.moc"
