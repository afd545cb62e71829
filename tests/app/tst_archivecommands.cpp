#include "skin/filetree.h"
#include "testpaths.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

struct Result
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Result runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(QUILLMARK_CLI_PATH), arguments);
    Result result;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

// Runs the tool with its standard error on a new pseudo-terminal; what it
// wrote there, or "<no terminal>".
QByteArray runOnTerminal(const QStringList &arguments)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return "<no terminal>";
    const QString slaveName = QString::fromLocal8Bit(ptsname(master));
    // held open here too, so the terminal keeps what was written after the
    // tool has gone
    const int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
    QProcess process;
    process.setStandardErrorFile(slaveName);
    process.start(QStringLiteral(QUILLMARK_CLI_PATH), arguments);
    QByteArray written;
    if (process.waitForFinished(120000)) {
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
        char buffer[4096];
        ssize_t length;
        while ((length = ::read(master, buffer, sizeof buffer)) > 0)
            written.append(buffer, int(length));
    }
    ::close(slave);
    ::close(master);
    return written;
}

} // namespace

// pack and unpack as a skin author's script sees them: exit codes, messages
// and what ends up on disk.
class TestArchiveCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void exitCodes_data();
    void exitCodes();
    void packThenUnpackRoundTrip();
    void unpackDoesNotClearTarget();
    void unpackRefusesHostileEntry();
    void unpackSaysWhyTheTargetCannotBeMade();
    void progressOnlyOnATerminal_data();
    void progressOnlyOnATerminal();
    void version();
    void helpListsCommands();

private:
    std::unique_ptr<QTemporaryDir> mDir;
    QString path(const QString &name) const { return mDir->filePath(name); }
};

void TestArchiveCommands::init()
{
    mDir = std::make_unique<QTemporaryDir>();
    QVERIFY(
        FileTree::write(path(QStringLiteral("skin/port/py_26.ini")), "[KEY1]\r\nVIEW_RECT=0,0,10,10\r\n"));
    QVERIFY(FileTree::write(path(QStringLiteral("skin/res/default.css")), "[STYLE1]\r\n"));
    QVERIFY(FileTree::write(path(QStringLiteral("notzip.zip")), "plain text"));
}

void TestArchiveCommands::exitCodes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("no command") << QStringList() << 2;
    QTest::newRow("unknown command") << QStringList { "unpak" } << 2;
    QTest::newRow("pack without arguments") << QStringList { "pack" } << 2;
    QTest::newRow("pack with one argument") << QStringList { "pack", "@/skin" } << 2;
    QTest::newRow("pack with three arguments") << QStringList { "pack", "@/skin", "@/a.zip", "x" } << 2;
    QTest::newRow("pack a missing directory") << QStringList { "pack", "@/nothing", "@/a.zip" } << 1;
    QTest::newRow("pack a file") << QStringList { "pack", "@/notzip.zip", "@/a.zip" } << 1;
    QTest::newRow("pack into a missing directory") << QStringList { "pack", "@/skin", "@/no/dir/a.zip" } << 1;
    QTest::newRow("pack") << QStringList { "pack", "@/skin", "@/a.zip" } << 0;
    QTest::newRow("unpack with one argument") << QStringList { "unpack", "@/a.zip" } << 2;
    QTest::newRow("unpack a missing archive") << QStringList { "unpack", "@/missing.zip", "@/out" } << 1;
    QTest::newRow("unpack a text file") << QStringList { "unpack", "@/notzip.zip", "@/out" } << 1;
    QTest::newRow("unpack a directory") << QStringList { "unpack", "@/skin", "@/out" } << 1;
}

void TestArchiveCommands::exitCodes()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    arguments.replaceInStrings(QStringLiteral("@"), mDir->path());
    const QStringList before = FileTree::list(mDir->path());
    const Result result = runCli(arguments);
    QCOMPARE(result.exitCode, exitCode);
    if (exitCode != 0) {
        // One line saying why, and nothing written.
        QVERIFY2(!result.err.trimmed().isEmpty(), result.err.constData());
        QCOMPARE(FileTree::list(mDir->path()), before);
    }
}

void TestArchiveCommands::packThenUnpackRoundTrip()
{
    QCOMPARE(
        runCli({ QStringLiteral("pack"), path(QStringLiteral("skin")), path(QStringLiteral("skin.bdi")) })
            .exitCode,
        0);
    QCOMPARE(
        runCli({ QStringLiteral("unpack"), path(QStringLiteral("skin.bdi")), path(QStringLiteral("out")) })
            .exitCode,
        0);
    QCOMPARE(FileTree::list(path(QStringLiteral("out"))), FileTree::list(path(QStringLiteral("skin"))));
    QFile file(path(QStringLiteral("out/port/py_26.ini")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[KEY1]\r\nVIEW_RECT=0,0,10,10\r\n"));
}

void TestArchiveCommands::unpackDoesNotClearTarget()
{
    QVERIFY(FileTree::write(path(QStringLiteral("out/mine.txt")), "mine"));
    QCOMPARE(runCli({ QStringLiteral("pack"), path(QStringLiteral("skin")), path(QStringLiteral("a.zip")) })
                 .exitCode,
        0);
    QCOMPARE(runCli({ QStringLiteral("unpack"), path(QStringLiteral("a.zip")), path(QStringLiteral("out")) })
                 .exitCode,
        0);
    QVERIFY(QFileInfo::exists(path(QStringLiteral("out/mine.txt"))));
    QVERIFY(QFileInfo::exists(path(QStringLiteral("out/port/py_26.ini"))));
}

void TestArchiveCommands::unpackRefusesHostileEntry()
{
    // Pack a tree whose file name, once backslashes count as separators,
    // climbs out of the target.
    QVERIFY(FileTree::write(path(QStringLiteral("evil/x\\..\\..\\escaped.txt")), "evil"));
    QVERIFY(FileTree::write(path(QStringLiteral("evil/good.txt")), "good"));
    QCOMPARE(
        runCli({ QStringLiteral("pack"), path(QStringLiteral("evil")), path(QStringLiteral("evil.zip")) })
            .exitCode,
        0);
    const Result result
        = runCli({ QStringLiteral("unpack"), path(QStringLiteral("evil.zip")), path(QStringLiteral("a/b")) });
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains("refused "), result.err.constData());
    QCOMPARE(FileTree::list(path(QStringLiteral("a/b"))), QStringList { QStringLiteral("good.txt") });
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("escaped.txt"))));
}

void TestArchiveCommands::unpackSaysWhyTheTargetCannotBeMade()
{
    QCOMPARE(runCli({ QStringLiteral("pack"), path(QStringLiteral("skin")), path(QStringLiteral("a.zip")) })
                 .exitCode,
        0);
    // below a plain file
    const Result result = runCli(
        { QStringLiteral("unpack"), path(QStringLiteral("a.zip")), path(QStringLiteral("notzip.zip/out")) });
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains("can not create"), result.err.constData());
}

void TestArchiveCommands::progressOnlyOnATerminal_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("terminal");

    QTest::newRow("pack, standard error a pipe") << "pack" << false;
    QTest::newRow("pack, standard error a terminal") << "pack" << true;
    QTest::newRow("unpack, standard error a pipe") << "unpack" << false;
    QTest::newRow("unpack, standard error a terminal") << "unpack" << true;
}

// A person at a terminal sees how far a pack or unpack has got; a script
// reading standard error sees nothing unless something went wrong.
void TestArchiveCommands::progressOnlyOnATerminal()
{
    QFETCH(QString, command);
    QFETCH(bool, terminal);
    QVERIFY(FileTree::write(path(QStringLiteral("skin/res/keys.png")), QByteArray(300000, 'k')));
    QCOMPARE(runCli({ QStringLiteral("pack"), path(QStringLiteral("skin")), path(QStringLiteral("a.zip")) })
                 .exitCode,
        0);
    const QStringList arguments = command == QLatin1String("pack")
        ? QStringList { command, path(QStringLiteral("skin")), path(QStringLiteral("b.zip")) }
        : QStringList { command, path(QStringLiteral("a.zip")), path(QStringLiteral("out")) };
    if (!terminal) {
        const Result result = runCli(arguments);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err, QByteArray());
        return;
    }
    const QByteArray shown = runOnTerminal(arguments);
    QVERIFY2(shown.contains(command.toLatin1() + "ing ") && shown.contains("100%"), shown.constData());
    // the line is rewritten in place and ended once
    QVERIFY2(shown.contains('\r') && shown.endsWith("100%\r\n"), shown.constData());
}

void TestArchiveCommands::version()
{
    const Result result = runCli({ QStringLiteral("--version") });
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("quillmark-cli 0.10.8\n"));
}

void TestArchiveCommands::helpListsCommands()
{
    const Result result = runCli({ QStringLiteral("--help") });
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.contains("\n  pack SKIN_DIR ARCHIVE\n"));
    QVERIFY(result.out.contains("\n  unpack ARCHIVE DIR\n"));
}

QTEST_GUILESS_MAIN(TestArchiveCommands)
#include "tst_archivecommands.moc"
