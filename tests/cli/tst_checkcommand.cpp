// quillmark-cli check: exit codes, the text lines editors and CI read, and the
// JSON array scripts read, on the checker's fixtures.

#include "cli/clitool.h"
#include "testpaths.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtTest>

namespace {

QString dataPath(const QString &relative)
{
    return QDir::cleanPath(QStringLiteral(QUILLMARK_TEST_DATA_DIR "/") + relative);
}

} // namespace

class TestCheckCommand : public QObject
{
    Q_OBJECT

private slots:
    void exitCodes_data();
    void exitCodes();
    void textLines();
    void json_data();
    void json();

private:
    int run(const QStringList &arguments, QString *out = nullptr, QString *err = nullptr);
};

int TestCheckCommand::run(const QStringList &arguments, QString *out, QString *err)
{
    QString outText;
    QString errText;
    QTextStream outStream(&outText);
    QTextStream errStream(&errText);
    const int code = CliTool::run(QStringList { QStringLiteral("check") } + arguments, outStream, errStream);
    outStream.flush();
    errStream.flush();
    if (out)
        *out = outText;
    if (err)
        *err = errText;
    return code;
}

void TestCheckCommand::exitCodes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("reason");

    const QString demo = QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo");
    QTest::newRow("demo panel file") << QStringList { demo + "/port/py_26.ini" } << 0 << "";
    QTest::newRow("demo skin directory, json") << QStringList { demo, "--format", "json" } << 0 << "";
    QTest::newRow("warnings only") << QStringList { dataPath("check-keys-overlap/port/py_26.ini") } << 0
                                   << "";
    QTest::newRow("an error") << QStringList { dataPath("check-unknown-style/port/py_26.ini") } << 1
                              << "1 error";
    QTest::newRow("an error in a skin directory")
        << QStringList { dataPath("check-bad-sheet"), "--format=json" } << 1 << "1 error";
    QTest::newRow("no arguments") << QStringList() << 2 << "no panel file or skin directory given";
    QTest::newRow("unknown format") << QStringList { demo, "--format", "xml" } << 2 << "--format takes";
    QTest::newRow("format without value")
        << QStringList { demo, "--format" } << 2 << "--format needs a value";
    QTest::newRow("bad resolution") << QStringList { demo, "--resolution", "-5" } << 2 << "--resolution";
    QTest::newRow("unknown option") << QStringList { demo, "--fix" } << 2 << "unknown option";
    QTest::newRow("two targets") << QStringList { demo, demo } << 2 << "more than one";
    QTest::newRow("missing file") << QStringList { dataPath("nowhere/py.ini") } << 1 << "does not exist";
    QTest::newRow("directory without panel files")
        << QStringList { dataPath("tools2-images") } << 1 << "no panel file";
}

void TestCheckCommand::exitCodes()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, reason);
    QString err;
    QCOMPARE(run(arguments, nullptr, &err), code);
    if (code == 0)
        QVERIFY2(err.isEmpty(), qPrintable(err));
    else
        QVERIFY2(err.contains(reason), qPrintable(err));
}

void TestCheckCommand::textLines()
{
    QString out;
    QCOMPARE(run({ dataPath("check-duplicate-style") }, &out), 0);
    const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    static const QRegularExpression form(
        QStringLiteral("^(.+):(\\d+): (error|warning|info): (.+) \\[([a-z-]+)\\]$"));
    const QString table = dataPath("check-duplicate-style/res/default.css");
    const QStringList expected = { "12 warning duplicate-section", "15 warning bad-colour" };
    for (int i = 0; i < lines.size(); ++i) {
        const QRegularExpressionMatch match = form.match(lines.at(i));
        QVERIFY2(match.hasMatch(), qPrintable(lines.at(i)));
        QCOMPARE(match.captured(1), table);
        QCOMPARE(
            QStringList({ match.captured(2), match.captured(3), match.captured(5) }).join(QLatin1Char(' ')),
            expected.at(i));
    }
}

void TestCheckCommand::json_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("count");
    QTest::newRow("two problems") << QStringList { dataPath("check-duplicate-style"), "--format", "json" }
                                  << 2;
    QTest::newRow("equals form") << QStringList { "--format=json", dataPath("check-missing-sheet") } << 1;
    QTest::newRow("nothing wrong") << QStringList { dataPath("check-clean"), "--format", "json" } << 0;
}

void TestCheckCommand::json()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, count);
    QString out;
    run(arguments, &out);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(out.toUtf8(), &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString() + out));
    QVERIFY(document.isArray());
    QCOMPARE(document.array().size(), count);

    // The same problems as the text lines, field by field.
    QStringList textArguments = arguments;
    textArguments.removeAll(QStringLiteral("--format"));
    textArguments.removeAll(QStringLiteral("json"));
    textArguments.removeAll(QStringLiteral("--format=json"));
    QString text;
    run(textArguments, &text);
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), count);
    const QStringList fields = { "file", "kind", "line", "message", "severity" };
    for (int i = 0; i < count; ++i) {
        const QJsonObject problem = document.array().at(i).toObject();
        QCOMPARE(problem.keys(), fields);
        QVERIFY(problem.value(QLatin1String("line")).isDouble());
        QCOMPARE(QStringLiteral("%1:%2: %3: %4 [%5]")
                     .arg(problem.value(QLatin1String("file")).toString())
                     .arg(problem.value(QLatin1String("line")).toInt())
                     .arg(problem.value(QLatin1String("severity")).toString(),
                         problem.value(QLatin1String("message")).toString(),
                         problem.value(QLatin1String("kind")).toString()),
            lines.at(i));
    }
}

QTEST_GUILESS_MAIN(TestCheckCommand)
#include "tst_checkcommand.moc"
