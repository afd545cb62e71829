#include "skin/valuetext.h"

#include <QtTest>

class TestValueText : public QObject
{
    Q_OBJECT

private slots:
    void parseRect_data();
    void parseRect();
    void parseSize_data();
    void parseSize();
    void parsePoint_data();
    void parsePoint();
    void parseIntList_data();
    void parseIntList();
    void isIntList_data();
    void isIntList();
    void formatRoundTrip();
    void unescapeUnicode_data();
    void unescapeUnicode();
};

void TestValueText::parseRect_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("rect");

    QTest::newRow("four numbers") << "10,20,30,40" << QRect(10, 20, 30, 40);
    QTest::newRow("negative origin") << "-5,-6,7,8" << QRect(-5, -6, 7, 8);
    QTest::newRow("blanks around numbers") << " 1, 2 ,3 , 4" << QRect(1, 2, 3, 4);
    QTest::newRow("letter part counts as 0") << "1,x,3,4" << QRect(1, 0, 3, 4);
    QTest::newRow("empty part counts as 0") << "1,,3,4" << QRect(1, 0, 3, 4);
    QTest::newRow("three numbers") << "1,2,3" << QRect(0, 0, 0, 0);
    QTest::newRow("five numbers") << "1,2,3,4,5" << QRect(0, 0, 0, 0);
    QTest::newRow("empty") << "" << QRect(0, 0, 0, 0);
    QTest::newRow("semicolons") << "1;2;3;4" << QRect(0, 0, 0, 0);
    QTest::newRow("overflowing number") << "99999999999,0,1,1" << QRect(0, 0, 1, 1);
    // A rectangle's edges and sides must stay ints: absurd sides are cut.
    QTest::newRow("far edge past the int range")
        << "2147483000,2147483600,2147483000,48" << QRect(2147483000, 2147483600, 647, 47);
    QTest::newRow("far edge below the int range")
        << "-2147483000,-2147483600,-2147483000,-49" << QRect(-2147483000, -2147483600, -647, -47);
    QTest::newRow("start at the int range's end") << "2147483647,0,60,1" << QRect(2147483647, 0, 0, 1);
    QTest::newRow("lowest side") << "0,0,-2147483648,1" << QRect(0, 0, -2147483647, 1);
    QTest::newRow("far edge just inside") << "2147483600,0,47,1" << QRect(2147483600, 0, 47, 1);
}

void TestValueText::parseRect()
{
    QFETCH(QString, text);
    QFETCH(QRect, rect);
    QCOMPARE(ValueText::parseRect(text), rect);
}

void TestValueText::parseSize_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("size");

    QTest::newRow("two numbers") << "1080,200" << QSize(1080, 200);
    QTest::newRow("single number") << "5" << QSize(-1, -1);
    QTest::newRow("three numbers") << "1,2,3" << QSize(-1, -1);
    QTest::newRow("empty") << "" << QSize(-1, -1);
    QTest::newRow("letters") << "a,b" << QSize(0, 0);
}

void TestValueText::parseSize()
{
    QFETCH(QString, text);
    QFETCH(QSize, size);
    QCOMPARE(ValueText::parseSize(text), size);
}

void TestValueText::parsePoint_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("point");

    QTest::newRow("two numbers") << "3,4" << QPoint(3, 4);
    QTest::newRow("number and letter") << "3,a" << QPoint(3, 0);
    QTest::newRow("hexadecimal is no decimal") << "0x10,2" << QPoint(0, 2);
    QTest::newRow("single number") << "3" << QPoint(0, 0);
    QTest::newRow("three numbers") << "1,2,3" << QPoint(0, 0);
}

void TestValueText::parsePoint()
{
    QFETCH(QString, text);
    QFETCH(QPoint, point);
    QCOMPARE(ValueText::parsePoint(text), point);
}

void TestValueText::parseIntList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("values");

    QTest::newRow("three") << "1,2,3" << QList<int> { 1, 2, 3 };
    QTest::newRow("empty text gives one 0") << "" << QList<int> { 0 };
    QTest::newRow("empty parts kept") << "1,,3," << QList<int> { 1, 0, 3, 0 };
    QTest::newRow("letters") << "a,7" << QList<int> { 0, 7 };
}

void TestValueText::parseIntList()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, values);
    QCOMPARE(ValueText::parseIntList(text), values);
}

// Read as written: every part a number, as many parts as the form has.
void TestValueText::isIntList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("parts");
    QTest::addColumn<bool>("written");
    QTest::newRow("rectangle") << "1,2,-3,4" << 4 << true;
    QTest::newRow("blanks around parts") << " 1 , 2 " << 2 << true;
    QTest::newRow("too few parts") << "1,2,3" << 4 << false;
    QTest::newRow("semicolon") << "1080;624" << 2 << false;
    QTest::newRow("a letter") << "3,x" << 2 << false;
    QTest::newRow("empty part") << "56,,70" << -1 << false;
    QTest::newRow("any count") << "56,70,71" << -1 << true;
    QTest::newRow("empty text") << "" << -1 << false;
}

void TestValueText::isIntList()
{
    QFETCH(QString, text);
    QFETCH(int, parts);
    QFETCH(bool, written);
    QCOMPARE(ValueText::isIntList(text, parts), written);
}

void TestValueText::formatRoundTrip()
{
    const QRect rect = ValueText::parseRect(QStringLiteral("10,20,30,40"));
    QCOMPARE(rect.right(), 39);
    QCOMPARE(rect.bottom(), 59);
    QCOMPARE(ValueText::formatRect(rect), QStringLiteral("10,20,30,40"));
    QCOMPARE(ValueText::formatSize(QSize(-1, -1)), QStringLiteral("-1,-1"));
    QCOMPARE(ValueText::formatPoint(QPoint(-3, 4)), QStringLiteral("-3,4"));
}

void TestValueText::unescapeUnicode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("two escapes one after another") << "\\u4e2d\\u6587" << QStringLiteral("\u4e2d\u6587");
    QTest::newRow("escape between text") << "a\\u0041b"
                                         << "aAb";
    QTest::newRow("upper-case digits") << "\\u00C4" << QStringLiteral("\u00c4");
    QTest::newRow("three digits stay") << "\\u4e2"
                                       << "\\u4e2";
    QTest::newRow("five digits: four used") << "\\u00411"
                                            << "A1";
    QTest::newRow("not hexadecimal stays") << "\\u00g1"
                                           << "\\u00g1";
    QTest::newRow("capital U stays") << "\\U0041"
                                     << "\\U0041";
    QTest::newRow("escapes after a short one") << "\\u12 \\u0042\\u0043"
                                               << "\\u12 BC";
    QTest::newRow("no escapes") << "plain"
                                << "plain";
    QTest::newRow("empty") << ""
                           << "";
}

void TestValueText::unescapeUnicode()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ValueText::unescapeUnicode(text), expected);
}

QTEST_GUILESS_MAIN(TestValueText)
#include "tst_valuetext.moc"
