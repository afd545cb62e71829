#include "syncfailure.h"
#include "testfiles.h"
#include "testpaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Snapshot = QMap<QString, QByteArray>;

// Every file below `root` with its bytes, and every link with its target.
Snapshot snapshot(const QString &root)
{
    Snapshot files;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString name = path.mid(root.size() + 1);
        if (info.isSymLink()) {
            files.insert(name, "-> " + QFile::encodeName(info.symLinkTarget()));
        } else if (info.isFile()) {
            QFile file(path);
            files.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>"));
        } else {
            files.insert(name + QLatin1Char('/'), QByteArray());
        }
    }
    return files;
}

bool write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct Run
{
    int exitCode = -1;
    QByteArray err;
};

// The command with no file allowed to grow past `blocks` × 512 bytes, as on
// a full disk; the signal that would end the process is ignored, so every
// write past the limit fails the way a full disk makes it fail. The sync
// calls named in `failingSyncs` fail (see SyncFailure).
Run runLimited(
    const QString &dir, const QStringList &arguments, int blocks, const QByteArray &failingSyncs = {})
{
    QProcess process;
    process.setWorkingDirectory(dir);
    if (!failingSyncs.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(QUILLMARK_SYNCFAILURE_LIBRARY));
        environment.insert(
            QString::fromLatin1(SyncFailure::environmentName), QString::fromLatin1(failingSyncs));
        // A sanitized build wants its runtime first among the libraries.
        const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
        environment.insert(QStringLiteral("ASAN_OPTIONS"),
            asan + (asan.isEmpty() ? QString() : QStringLiteral(":"))
                + QStringLiteral("verify_asan_link_order=0"));
        process.setProcessEnvironment(environment);
    }
    const QString script = blocks < 0
        ? QStringLiteral("exec \"$0\" \"$@\"")
        : QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$0\" \"$@\"").arg(blocks);
    process.start(QStringLiteral("/bin/sh"),
        QStringList { QStringLiteral("-c"), script, QStringLiteral(QUILLMARK_CLI_PATH) } + arguments);
    Run run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace

// Every command that writes, run on a disk that fills up or refuses to sync:
// nothing that was on disk before is changed, and the command says so and
// fails.
class TestCliTool : public QObject
{
    Q_OBJECT

private slots:
    void fullDiskChangesNothing_data();
    void fullDiskChangesNothing();
    void refusedSyncAfterRenameIsReported_data();
    void refusedSyncAfterRenameIsReported();
    void debugLinesOnlyWhenVerbose_data();
    void debugLinesOnlyWhenVerbose();
    void renderRefusesPanelSize_data();
    void renderRefusesPanelSize();
};

void TestCliTool::fullDiskChangesNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<QByteArray>("failingSyncs");

    auto words = [](const char *text) { return QString::fromLatin1(text).split(QLatin1Char(' ')); };
    const struct
    {
        const char *name;
        const char *command;
    } commands[] = {
        { "pack", "pack skin old.zip" },
        { "unpack", "unpack old.zip unpacked" },
        { "unpack into a new directory", "unpack old.zip new" },
        { "convert", "convert skin/res converted --from 1080 --to 720" },
        { "convert in place", "convert skin/res skin/res --from 1080 --to 828" },
        { "scale", "scale skin/port scaled --from 1080 --to 720" },
        { "split", "split skin/res/keys.til tiles" },
        { "join", "join tiles joined.til" },
        { "fontres", "fontres letters.txt --til font.til --font-file skin/res/DejaVuSans.ttf --size 20" },
        { "fontres to a directory",
            "fontres letters.txt --out-dir tiles --font-file skin/res/DejaVuSans.ttf --size 20" },
        { "inner-rect", "inner-rect skin/res/keys.til 1 1,1,2,2" },
        { "create-panel", "create-panel skin/port/new.ini --size 200,100 --row 1,-1,-1,-1,0" },
        { "render", "render skin/port/py_26.ini -o shot.png" },
    };
    // No byte at all.
    for (const auto &command : commands)
        QTest::addRow("%s", command.name) << words(command.command) << 0 << QByteArray();
    // Room for the small files but not for the large ones: the small ones
    // must not be put in place without the rest.
    QTest::newRow("pack, 4 KiB") << words("pack skin old.zip") << 8 << QByteArray();
    QTest::newRow("unpack, 4 KiB") << words("unpack old.zip unpacked") << 8 << QByteArray();
    QTest::newRow("join, 4 KiB") << words("join tiles joined.til") << 8 << QByteArray();
    QTest::newRow("render, 4 KiB") << words("render skin/port/py_26.ini -o shot.png") << 8 << QByteArray();
    // Every write accepted, but the disk does not take the data when it is
    // written out (a failing disk, a full copy-on-write file system).
    for (const auto &command : commands)
        QTest::addRow("%s, refused sync", command.name)
            << words(command.command) << -1 << QByteArray("fsync,sync_file_range");
}

void TestCliTool::fullDiskChangesNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, blocks);
    QFETCH(QByteArray, failingSyncs);

    QTemporaryDir dir;
    const QString root = dir.path();
    QVERIFY(TestFiles::copyTree(
        QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo"), root + QStringLiteral("/skin")));
    // An earlier result of every command, which a failed run must not touch.
    QVERIFY(
        runLimited(root, { QStringLiteral("pack"), QStringLiteral("skin"), QStringLiteral("old.zip") }, -1)
            .exitCode
        == 0);
    QVERIFY(write(root + QStringLiteral("/unpacked/res/keys.til"), "[IMG1]\r\nSOURCE_RECT=0,0,1,1\r\n"));
    QVERIFY(write(root + QStringLiteral("/unpacked/port/gen.ini"), "old panel"));
    QVERIFY(write(root + QStringLiteral("/converted/keys.til"), "[IMG1]\r\nSOURCE_RECT=0,0,1,1\r\n"));
    QVERIFY(write(root + QStringLiteral("/converted/keys.png"), "old sheet"));
    QVERIFY(write(root + QStringLiteral("/scaled/gen.ini"), "[GENERAL]\r\nSIZE=10,10\r\n"));
    QVERIFY(write(root + QStringLiteral("/tiles/001.png"), "old tile"));
    QVERIFY(
        QFile::copy(root + QStringLiteral("/skin/res/icons.png"), root + QStringLiteral("/tiles/002.png")));
    QVERIFY(write(root + QStringLiteral("/joined.til"), "[IMG1]\r\nSOURCE_RECT=0,0,1,1\r\n"));
    QVERIFY(write(root + QStringLiteral("/joined.png"), "old sheet"));
    QVERIFY(write(root + QStringLiteral("/letters.txt"), "A\nB\nC\n"));
    QVERIFY(write(root + QStringLiteral("/font.til"), "[IMG1]\r\nSOURCE_RECT=0,0,1,1\r\n"));
    QVERIFY(write(root + QStringLiteral("/font.png"), "old sheet"));
    QVERIFY(write(root + QStringLiteral("/skin/port/new.ini"), "old panel"));
    QVERIFY(write(root + QStringLiteral("/shot.png"), "old picture"));

    const Snapshot before = snapshot(root);
    const Run run = runLimited(root, arguments, blocks, failingSyncs);
    const Snapshot after = snapshot(root);

    QVERIFY2(run.exitCode == 1,
        qPrintable(QStringLiteral("exit %1: %2").arg(run.exitCode).arg(QString::fromLocal8Bit(run.err))));
    QVERIFY2(run.err.contains("quillmark-cli " + arguments.first().toLatin1() + ": "), run.err.constData());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key() + QStringLiteral(" changed")));
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        QVERIFY2(before.contains(it.key()) || it.key().endsWith(QLatin1Char('/')),
            qPrintable(it.key() + QStringLiteral(" left behind")));
}

void TestCliTool::refusedSyncAfterRenameIsReported_data()
{
    QTest::addColumn<QString>("command");

    // The batch commands put their files in place first and sync them all
    // at the end of the run.
    QTest::newRow("unpack") << "unpack old.zip old";
    QTest::newRow("convert") << "convert skin/res converted --from 1080 --to 720";
    QTest::newRow("scale") << "scale skin/port scaled --from 1080 --to 720";
    QTest::newRow("split") << "split skin/res/keys.til tiles";
    QTest::newRow("join") << "join tiles joined.til";
    QTest::newRow("fontres")
        << "fontres letters.txt --til font.til --font-file skin/res/DejaVuSans.ttf --size 20";
    QTest::newRow("fontres to a directory")
        << "fontres letters.txt --out-dir tiles --font-file skin/res/DejaVuSans.ttf --size 20";
}

// A sync refused after the files are in place cannot keep the old files, but
// the command must not report success: it fails and names what may be lost.
void TestCliTool::refusedSyncAfterRenameIsReported()
{
    QFETCH(QString, command);

    QTemporaryDir dir;
    const QString root = dir.path();
    QVERIFY(TestFiles::copyTree(
        QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo"), root + QStringLiteral("/skin")));
    QVERIFY(QDir().mkpath(root + QStringLiteral("/tiles")));
    QVERIFY(
        QFile::copy(root + QStringLiteral("/skin/res/icons.png"), root + QStringLiteral("/tiles/002.png")));
    QVERIFY(write(root + QStringLiteral("/letters.txt"), "A\nB\n"));
    const QStringList arguments = command.split(QLatin1Char(' '));
    if (arguments.first() == QLatin1String("unpack")) {
        QVERIFY(runLimited(
                    root, { QStringLiteral("pack"), QStringLiteral("skin"), QStringLiteral("old.zip") }, -1)
                    .exitCode
            == 0);
        QVERIFY(QDir().mkpath(root + QStringLiteral("/old")));
    }

    QVERIFY(runLimited(root, arguments, -1).exitCode == 0);
    const Run run = runLimited(root, arguments, -1, "fsync");
    QVERIFY2(run.exitCode == 1,
        qPrintable(QStringLiteral("exit %1: %2").arg(run.exitCode).arg(QString::fromLocal8Bit(run.err))));
    QVERIFY2(run.err.contains("quillmark-cli " + arguments.first().toLatin1() + ": "), run.err.constData());
    QVERIFY2(run.err.contains("Input/output error"), run.err.constData());
}

void TestCliTool::debugLinesOnlyWhenVerbose_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("debugLine");

    QTest::newRow("scale") << QStringList { "scale", "skin/port", "scaled", "--from", "1080", "--to", "720" }
                           << QByteArray("sourceDir");
    QTest::newRow("pack") << QStringList { "pack", "skin", "out.zip" } << QByteArray("zip: ");
    QTest::newRow("split") << QStringList { "split", "skin/res/keys.til", "." } << QByteArray("reading ");
    QTest::newRow("create-panel") << QStringList { "create-panel", "new.ini", "--size", "200,100", "--row",
        "1,-1,-1,-1,0" } << QByteArray("writing ");
    // the preview's progress, logged at info level
    QTest::newRow("render") << QStringList { "render", "skin/port/py_26.ini", "-o", "out.png" }
                            << QByteArray("panel rendered:");
}

void TestCliTool::debugLinesOnlyWhenVerbose()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, debugLine);

    for (const bool verbose : { false, true }) {
        QTemporaryDir dir;
        QVERIFY(TestFiles::copyTree(
            QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo"), dir.filePath(QStringLiteral("skin"))));
        const Run run = runLimited(
            dir.path(), verbose ? QStringList { QStringLiteral("--verbose") } + arguments : arguments, -1);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains(debugLine) == verbose, run.err.constData());
    }
}

void TestCliTool::renderRefusesPanelSize_data()
{
    QTest::addColumn<QByteArray>("size");

    QTest::newRow("negative") << QByteArray("-5,10");
    QTest::newRow("zero") << QByteArray("0,0");
    QTest::newRow("over the bound") << QByteArray("100000,100000");
}

void TestCliTool::renderRefusesPanelSize()
{
    QFETCH(QByteArray, size);

    QTemporaryDir dir;
    QVERIFY(write(dir.filePath(QStringLiteral("panel.ini")), "[PANEL]\r\nSIZE=" + size + "\r\n"));
    const Run run = runLimited(dir.path(),
        { QStringLiteral("render"), QStringLiteral("panel.ini"), QStringLiteral("-o"),
            QStringLiteral("shot.png") },
        -1);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("invalid or over the image size bound"), run.err.constData());
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("shot.png"))));
}

QTEST_GUILESS_MAIN(TestCliTool)
#include "tst_clitool.moc"
