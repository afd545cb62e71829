// The skin checker on small skins with exactly one fault each
// (tests/data/check-<kind>), on the demo skin and on every other skin of
// tests/data, whose deliberate faults are listed here: anything else it
// reported would be a false positive.

#include "panel/skinchecker.h"
#include "testpaths.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

namespace {

QString dataPath(const QString &relative)
{
    return QStringLiteral(QUILLMARK_TEST_DATA_DIR "/") + relative;
}

// "file:line:severity:kind[:key]" with the file's name only, for comparing.
QStringList summary(const QVector<SkinProblem> &problems)
{
    QStringList lines;
    for (const SkinProblem &problem : problems) {
        QString line = QStringLiteral("%1:%2:%3:%4")
                           .arg(QFileInfo(problem.file).fileName())
                           .arg(problem.line)
                           .arg(SkinProblem::severityName(problem.severity), problem.kind);
        if (!problem.key.isEmpty())
            line += QLatin1Char(':') + problem.key;
        lines << line;
    }
    return lines;
}

} // namespace

class TestSkinChecker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void oneFaultEach_data();
    void oneFaultEach();
    void skinsOfTheProject_data();
    void skinsOfTheProject();
    void repeatedStyleKeepsTheLast();
    void panelDrawable();
};

void TestSkinChecker::initTestCase()
{
    // The documents log the lines they cannot read; the problems say it here.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false\ndefault.info=false"));
}

void TestSkinChecker::oneFaultEach_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("expected");

    // The fixture's only problem, as summary() writes it.
    const QList<QPair<const char *, const char *>> rows = {
        { "unreadable-line", "py_26.ini:9:warning:unreadable-line" },
        { "bad-section-header", "py_26.ini:15:warning:bad-section-header" },
        { "duplicate-section", "py_26.ini:20:warning:duplicate-section" },
        { "duplicate-key", "py_26.ini:19:warning:duplicate-key" },
        { "bad-geometry", "py_26.ini:2:error:bad-geometry" },
        { "bad-number", "py_26.ini:17:warning:bad-number:KEY2" },
        { "bad-colour", "default.css:11:warning:bad-colour" },
        { "unknown-style", "py_26.ini:18:error:unknown-style:KEY2" },
        { "unknown-tile", "default.css:6:error:unknown-tile" },
        { "missing-sheet", "keys.til:0:error:missing-sheet" },
        { "bad-sheet", "keys.png:0:error:bad-sheet" },
        { "sheet-too-large", "keys.png:0:error:sheet-too-large" },
        { "source-rect-outside-sheet", "keys.til:6:warning:source-rect-outside-sheet" },
        { "inner-rect-outside-tile", "keys.til:3:warning:inner-rect-outside-tile" },
        { "key-outside-panel", "py_26.ini:16:warning:key-outside-panel:KEY2" },
        { "keys-overlap", "py_26.ini:16:warning:keys-overlap:KEY2" },
        { "touch-rect-misses-view-rect", "py_26.ini:10:info:touch-rect-misses-view-rect:KEY1" },
        { "missing-layout", "py_26.ini:8:warning:missing-layout" },
        { "missing-gen-ini", "py_26.ini:0:warning:missing-gen-ini" },
        { "missing-style-table", "py_26.ini:0:warning:missing-style-table" },
        { "missing-font", "default.css:12:warning:missing-font" },
        { "missing-sound", "default.css:14:warning:missing-sound" },
    };
    for (const auto &row : rows)
        QTest::newRow(row.first) << QStringLiteral("check-%1").arg(QLatin1String(row.first))
                                 << QString::fromLatin1(row.second);
    // Its LIST section has no PADDING, here or in gen.ini: that is no fault.
    QTest::newRow("the fixtures' base skin is clean") << QStringLiteral("check-clean") << QString();
}

void TestSkinChecker::oneFaultEach()
{
    QFETCH(QString, fixture);
    QFETCH(QString, expected);
    const QString panelFile = dataPath(fixture + QStringLiteral("/port/py_26.ini"));
    QVERIFY(QFileInfo(panelFile).isFile());

    SkinChecker checker;
    checker.checkPanelFile(panelFile);
    const QVector<SkinProblem> problems = checker.problems();
    QCOMPARE(summary(problems), expected.isEmpty() ? QStringList() : QStringList { expected });
    for (const SkinProblem &problem : problems) {
        QVERIFY(QFileInfo(problem.file).isAbsolute());
        QVERIFY2(problem.message.endsWith(QLatin1Char('.')), qPrintable(problem.message));
    }
}

void TestSkinChecker::skinsOfTheProject_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QStringList>("expected");

    // The faults the fixtures were made with; every other skin checks clean.
    const QHash<QString, QStringList> deliberate = {
        { QStringLiteral("editing-align"), { "py_26.ini:0:warning:missing-style-table" } },
        { QStringLiteral("editing-empty"), { "py_26.ini:0:warning:missing-style-table" } },
        { QStringLiteral("editing-nokeys"), { "py_26.ini:0:warning:missing-style-table" } },
        { QStringLiteral("editing-keys"),
            { "py_26.ini:0:warning:missing-style-table", "py_26.ini:16:warning:bad-geometry:KEY9",
                "py_26.ini:17:warning:bad-geometry:KEY9",
                "py_26.ini:21:info:touch-rect-misses-view-rect:KEY17" } },
        { QStringLiteral("panel-colors"), { "panel.ini:0:warning:missing-gen-ini" } },
        { QStringLiteral("tools1-panelcreator"),
            { "default-two-rows.ini:0:warning:missing-gen-ini",
                "default-two-rows.ini:0:warning:missing-style-table" } },
        { QStringLiteral("tools1-panelscaler"),
            { "py_26.ini:0:warning:missing-gen-ini", "py_26.ini:0:warning:missing-style-table",
                "py_26.ini:12:warning:bad-geometry:KEY2", "py_26.ini:13:warning:bad-geometry:KEY2",
                "py_26.ini:18:warning:key-outside-panel:KEY3", "UPPER.INI:0:warning:missing-gen-ini",
                "UPPER.INI:0:warning:missing-style-table", "py_26.ini:0:warning:missing-gen-ini",
                "py_26.ini:0:warning:missing-style-table", "py_26.ini:12:warning:bad-geometry:KEY2",
                "py_26.ini:13:warning:bad-geometry:KEY2", "py_26.ini:18:warning:key-outside-panel:KEY3",
                "inner.ini:0:warning:missing-gen-ini", "inner.ini:0:warning:missing-style-table" } },
    };

    QTest::newRow("demo") << QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo") << QStringList();
    const QStringList entries = QDir(dataPath(QString())).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.startsWith(QLatin1String("check-")))
            continue;
        QTest::newRow(qPrintable(entry)) << dataPath(entry) << deliberate.value(entry);
    }
}

void TestSkinChecker::skinsOfTheProject()
{
    QFETCH(QString, directory);
    QFETCH(QStringList, expected);
    SkinChecker checker;
    checker.checkSkinDirectory(directory);
    QCOMPARE(summary(checker.problems()), expected);
}

// The style store keeps the last of two STYLE sections of one name, while
// every other look-up takes the first: only the one that counts is checked.
void TestSkinChecker::repeatedStyleKeepsTheLast()
{
    SkinChecker checker;
    checker.checkPanelFile(dataPath(QStringLiteral("check-duplicate-style/port/py_26.ini")));
    const QVector<SkinProblem> problems = checker.problems();
    QCOMPARE(summary(problems),
        QStringList({ "default.css:12:warning:duplicate-section", "default.css:15:warning:bad-colour" }));
    QVERIFY(problems.first().message.contains(QLatin1String("the last one counts")));
}

void TestSkinChecker::panelDrawable()
{
    SkinChecker checker;
    checker.checkPanelFile(dataPath(QStringLiteral("check-clean/port/py_26.ini")));
    QVERIFY(checker.panelDrawable());
    checker.checkPanelFile(dataPath(QStringLiteral("check-bad-geometry/port/py_26.ini")));
    QVERIFY(!checker.panelDrawable());
    QCOMPARE(checker.count(SkinProblem::Error), 1);

    // What the preview would draw at a device resolution fits the image bound.
    SkinChecker scaled;
    scaled.checkPanelFile(dataPath(QStringLiteral("check-clean/port/py_26.ini")));
    QVERIFY(scaled.inputs().contains(dataPath(QStringLiteral("check-clean/res/keys.png"))));
    scaled.setDeviceResolution(20000);
    scaled.checkPanelFile(dataPath(QStringLiteral("check-clean/port/py_26.ini")));
    QVERIFY(!scaled.panelDrawable());
}

QTEST_GUILESS_MAIN(TestSkinChecker)
#include "tst_skinchecker.moc"
