#include "stylesfixture.h"

#include "styles/style.h"
#include "styles/stylesmanager.h"

#include <QtTest>

// Reading the style table: kinds, values and defaults of each style, as the
// fixture table under tests/data/styles-table spells them.
class TestStyle : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir mDir;
    StylesManager *mManager = nullptr;

private slots:
    void initTestCase()
    {
        QVERIFY(StylesFixture::prepare(mDir));
        mManager = StylesManager::instance();
        StylesFixture::loadTable(mManager, mDir);
    }

    void styleFields_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fontPath");
        QTest::addColumn<int>("fontSize");
        QTest::addColumn<QColor>("normalColor");
        QTest::addColumn<QColor>("highlightedColor");
        QTest::addColumn<QColor>("borderColor");
        QTest::addColumn<int>("borderSize");
        QTest::addColumn<QString>("normalImage");
        QTest::addColumn<QString>("highlightedImage");

        const QColor none(0, 0, 0, 0);
        const QColor red(255, 0, 0);
        const QColor blue(0, 0, 255);
        const QString global = QStringLiteral("fonts/global.ttf");
        const QString own = QStringLiteral("fonts/own.ttf");

        QTest::newRow("image style keeps SHOW and its colours")
            << 1 << "image"
            << "X"
            << "" << 20 << red << none << none << 0 << "keys,1"
            << "keys,2";
        QTest::newRow("image style with a missing tile") << 2 << "image"
                                                         << "A"
                                                         << "" << 20 << red << blue << none << 0 << "keys,99"
                                                         << "";
        QTest::newRow("font style: ABC and GLOBAL's font")
            << 3 << "font"
            << "ABC" << global << 20 << red << blue << none << 0 << ""
            << "";
        QTest::newRow("font style: own font, border")
            << 4 << "font"
            << "I" << own << 25 << QColor(Qt::white) << none << QColor(Qt::black) << 2 << ""
            << "";
        QTest::newRow("colour style with alpha first")
            << 5 << "color"
            << ""
            << "" << 0 << QColor(255, 0, 0, 0x80) << QColor(0, 255, 0) << none << 0 << ""
            << "";
        QTest::newRow("font size without colour is no font style")
            << 6 << "other"
            << ""
            << "" << 20 << none << none << none << 0 << ""
            << "";
        QTest::newRow("sound style") << 7 << "sound"
                                     << ""
                                     << "" << 12 << none << none << none << 0 << ""
                                     << "";
        QTest::newRow("animation style") << 8 << "anim"
                                         << ""
                                         << "" << 0 << none << none << none << 0 << ""
                                         << "";
        QTest::newRow("style 0 is a style like any other")
            << 0 << "font"
            << "Z" << global << 16 << red << blue << none << 0 << ""
            << "";
        QTest::newRow("malformed colours are invalid") << 9 << "color"
                                                       << ""
                                                       << "" << 0 << QColor() << red << QColor() << 0 << ""
                                                       << "";
        QTest::newRow("nothing but a border size") << 10 << "other"
                                                   << ""
                                                   << "" << 0 << none << none << none << 3 << ""
                                                   << "";
        QTest::newRow("image style ignores GLOBAL's font, reads its own")
            << 11 << "image"
            << "" << own << 18 << red << none << none << 0 << "keys,3"
            << "";
        QTest::newRow("repeated key: first value; bad size reads 0")
            << 12 << "color"
            << ""
            << "" << 0 << red << none << none << 0 << ""
            << "";
        QTest::newRow("number without a style: defaults") << 42 << "other"
                                                          << ""
                                                          << "" << 0 << none << none << none << 0 << ""
                                                          << "";
        QTest::newRow("STYLE007 is not style 7's") << 7 << "sound"
                                                   << ""
                                                   << "" << 12 << none << none << none << 0 << ""
                                                   << "";
    }

    void styleFields()
    {
        QFETCH(int, number);
        const Style style = mManager->style(number);
        QTEST(style.kind, "kind");
        QTEST(style.text, "text");
        QTEST(style.fontPath, "fontPath");
        QTEST(style.fontSize, "fontSize");
        QFETCH(QColor, normalColor);
        QFETCH(QColor, highlightedColor);
        QFETCH(QColor, borderColor);
        QCOMPARE(style.normalColor.isValid(), normalColor.isValid());
        QCOMPARE(style.normalColor.rgba(), normalColor.rgba());
        QCOMPARE(style.highlightedColor.isValid(), highlightedColor.isValid());
        QCOMPARE(style.highlightedColor.rgba(), highlightedColor.rgba());
        QCOMPARE(style.borderColor.isValid(), borderColor.isValid());
        QCOMPARE(style.borderColor.rgba(), borderColor.rgba());
        QTEST(style.borderSize, "borderSize");
        QTEST(style.normalImage, "normalImage");
        QTEST(style.highlightedImage, "highlightedImage");
    }

    void numbersAndNames()
    {
        // Document order, as written after "STYLE", repeated sections twice;
        // sections of other names are not styles.
        const QStringList expected
            = { QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                  QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"),
                  QStringLiteral("007"), QStringLiteral("0"), QStringLiteral("9"), QStringLiteral("10"),
                  QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("12"), QStringLiteral("X") };
        QCOMPARE(mManager->styleNumbers(), expected);
        QCOMPARE(mManager->style(12).name, QStringLiteral("STYLE12"));
        QCOMPARE(mManager->style(12).number, 12);
        QCOMPARE(mManager->style(7).number, 7);
        QCOMPARE(mManager->style(7).name, QStringLiteral("STYLE7"));
        QCOMPARE(mManager->style(42).name, QString());
    }

    void parseColor_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QColor>("color");

        QTest::newRow("6 digits: opaque") << "ff0000" << true << QColor(255, 0, 0);
        QTest::newRow("8 digits: alpha first") << "80ff0000" << true << QColor(255, 0, 0, 0x80);
        QTest::newRow("3 digits") << "0f0" << true << QColor(0, 255, 0);
        QTest::newRow("9 digits") << "fff000000" << true << QColor(255, 0, 0);
        QTest::newRow("12 digits") << "00000000ffff" << true << QColor(0, 0, 255);
        QTest::newRow("upper case") << "00FF00" << true << QColor(0, 255, 0);
        QTest::newRow("with a # of its own") << "#ff0000" << false << QColor();
        QTest::newRow("colour name") << "red" << false << QColor();
        QTest::newRow("not hexadecimal") << "zzzzzz" << false << QColor();
        QTest::newRow("5 digits") << "12345" << false << QColor();
        QTest::newRow("empty") << "" << false << QColor();
    }

    void parseColor()
    {
        QFETCH(QString, digits);
        QFETCH(bool, valid);
        QFETCH(QColor, color);
        const QColor parsed = Style::parseColor(digits);
        QCOMPARE(parsed.isValid(), valid);
        if (valid)
            QCOMPARE(parsed.rgba(), color.rgba());
    }

    void fontStyleTextOnlyWhenEmpty_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("text");

        QTest::newRow("font style without SHOW") << QStringList { "FONT_SIZE=9", "NM_COLOR=fff" } << "ABC";
        QTest::newRow("font style with only HL_COLOR")
            << QStringList { "FONT_SIZE=9", "HL_COLOR=fff" } << "ABC";
        QTest::newRow("font style with empty SHOW")
            << QStringList { "FONT_SIZE=9", "NM_COLOR=fff", "SHOW=" } << "ABC";
        QTest::newRow("font style with own SHOW")
            << QStringList { "FONT_SIZE=9", "NM_COLOR=fff", "SHOW=q" } << "q";
        QTest::newRow("colour style") << QStringList { "NM_COLOR=fff" } << "";
        QTest::newRow("image style with font keys")
            << QStringList { "NM_IMG=a,1", "FONT_SIZE=9", "NM_COLOR=fff" } << "";
    }

    void fontStyleTextOnlyWhenEmpty()
    {
        QFETCH(QStringList, keys);
        QMap<QString, QString> properties;
        for (const QString &pair : qAsConst(keys))
            properties.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
        const Style style = Style::fromSection(QStringLiteral("STYLE5"), properties, {});
        QTEST(style.text, "text");
    }

    void missingTableLeavesNoStyles()
    {
        QTemporaryDir empty;
        QVERIFY(empty.isValid());
        LogCapture log;
        StylesFixture::load(mManager, empty.path(), empty.filePath(QStringLiteral("res/default.css")));
        QVERIFY(mManager->styleNumbers().isEmpty());
        QCOMPARE(log.count(QStringLiteral("can not open file")), 1);
        QCOMPARE(mManager->style(1).kind, QStringLiteral("other"));
        StylesFixture::loadTable(mManager, mDir);
        QCOMPARE(mManager->style(1).kind, QStringLiteral("image"));
    }
};

QTEST_MAIN(TestStyle)
#include "tst_style.moc"
