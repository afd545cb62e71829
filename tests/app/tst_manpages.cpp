// The manual pages say what --help says: the built pages hold the help text
// of the built programs, line for line, and read as manual pages.
#include "testpaths.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

namespace {

// The lines of the page's no-fill block (where the help text goes), with the
// roff escapes undone.
QStringList helpBlock(const QString &page)
{
    QStringList lines;
    bool inside = false;
    for (QString line : page.split(QLatin1Char('\n'))) {
        if (line == QLatin1String(".nf")) {
            inside = true;
        } else if (line == QLatin1String(".fi")) {
            inside = false;
        } else if (inside) {
            if (line.startsWith(QLatin1String("\\&")))
                line.remove(0, 2);
            line.replace(QLatin1String("\\-"), QLatin1String("-"));
            line.replace(QLatin1String("\\e"), QLatin1String("\\"));
            lines << line;
        }
    }
    return lines;
}

} // namespace

class TestManPages : public QObject
{
    Q_OBJECT

private slots:
    void pageHoldsTheHelp_data();
    void pageHoldsTheHelp();
    void blockScannerUndoesEscapes();
};

void TestManPages::pageHoldsTheHelp_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("quillmark") << "quillmark";
    QTest::newRow("quillmark-cli") << "quillmark-cli";
}

void TestManPages::pageHoldsTheHelp()
{
    QFETCH(QString, program);
    const QString executable = QStringLiteral(QUILLMARK_BINARY_DIR "/bin/") + program;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(executable, { QStringLiteral("--help") });
    QVERIFY2(process.waitForFinished(60000), qPrintable(executable));
    QCOMPARE(process.exitCode(), 0);
    QString help = QString::fromLocal8Bit(process.readAllStandardOutput());
    help.replace(executable, program);
    const QStringList helpLines = help.trimmed().split(QLatin1Char('\n'));
    QVERIFY(helpLines.size() > 3);

    QFile file(QStringLiteral(QUILLMARK_BINARY_DIR "/man/") + program + QStringLiteral(".1"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QString page = QString::fromUtf8(file.readAll());
    QVERIFY(page.startsWith(QStringLiteral(".TH ")));
    QVERIFY(page.contains(
        QStringLiteral("\n.SH NAME\n") + QString(program).replace(QLatin1String("-"), QLatin1String("\\-"))));
    QVERIFY(!page.contains(QLatin1Char('@')));
    QCOMPARE(helpBlock(page), helpLines);
}

void TestManPages::blockScannerUndoesEscapes()
{
    const QString page = QStringLiteral(".SH X\n.nf\n\\&.hidden \\-\\-all\nC:\\eskin\n.fi\ntext\n");
    QCOMPARE(helpBlock(page), (QStringList { QStringLiteral(".hidden --all"), QStringLiteral("C:\\skin") }));
}

QTEST_GUILESS_MAIN(TestManPages)
#include "tst_manpages.moc"
