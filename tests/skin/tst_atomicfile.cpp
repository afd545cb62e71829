#include "faultinjection.h"
#include "skin/atomicfile.h"
#include "skin/syncbatch.h"
#include "syncfailure.h"
#include "writesteps.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

#include <sys/stat.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writePlain(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The files of the directory: a writer leaves no temporary file behind.
QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class TestAtomicFile : public QObject
{
    Q_OBJECT

private slots:
    void replacesOnlyWhenComplete_data();
    void replacesOnlyWhenComplete();
    void streamedWriteFailureKeepsOldFile();
    void keepsLinkAndPermissions();
    void commitAllRenamesNothingWhenOneFails();
    void deferredSyncsThroughBatch();
    void refusedSync_data();
    void refusedSync();
    void commitAllRenamesBackToBack_data();
    void commitAllRenamesBackToBack();
    void failedRenamePutsEarlierFilesBack();
};

void TestAtomicFile::replacesOnlyWhenComplete_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("limit"); // bytes any file may reach; 0 for none
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("ok");

    const int durable = int(AtomicFile::Mode::Durable);
    const int deferred = int(AtomicFile::Mode::Deferred);
    QTest::newRow("fits, durable") << 100000 << 0 << durable << true;
    QTest::newRow("fits, deferred") << 100000 << 0 << deferred << true;
    QTest::newRow("empty file") << 0 << 0 << durable << true;
    // A small write stays in the buffer until the final flush fails.
    QTest::newRow("disk full at the flush") << 3000 << 1024 << durable << false;
    QTest::newRow("disk full mid-write") << 1000000 << 65536 << deferred << false;
    QTest::newRow("no byte fits") << 10 << 1 << durable << false;
}

void TestAtomicFile::replacesOnlyWhenComplete()
{
    QFETCH(int, size);
    QFETCH(int, limit);
    QFETCH(int, mode);
    QFETCH(bool, ok);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("skin.ini"));
    const QByteArray old("[OLD]\r\nA=1\r\n");
    QVERIFY(writePlain(path, old));
    const QByteArray bytes(size, 'x');

    QString error;
    bool written;
    {
        std::unique_ptr<FileSizeLimit> guard;
        if (limit > 0)
            guard = std::make_unique<FileSizeLimit>(rlim_t(limit));
        written = AtomicFile::writeFile(path, bytes, &error, AtomicFile::Mode(mode));
    }
    QCOMPARE(written, ok);
    QCOMPARE(readAll(path), ok ? bytes : old);
    QCOMPARE(error.isEmpty(), ok);
    if (!ok)
        QVERIFY2(error.contains(path), qPrintable(error));
    QCOMPARE(filesIn(dir.path()), QStringList { QStringLiteral("skin.ini") });
}

void TestAtomicFile::streamedWriteFailureKeepsOldFile()
{
    // A writer that streams through the device and does not check its
    // writes learns nothing of a failure; the file must still not be put in
    // place.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keys.png"));
    QVERIFY(writePlain(path, "old sheet"));
    AtomicFile file(path);
    QVERIFY(file.open());
    {
        FileSizeLimit guard(4096);
        const QByteArray row(1000, 'r');
        for (int i = 0; i < 100; ++i)
            file.device()->write(row);
        QVERIFY(!file.commit());
    }
    QCOMPARE(readAll(path), QByteArray("old sheet"));
    QCOMPARE(filesIn(dir.path()), QStringList { QStringLiteral("keys.png") });
}

void TestAtomicFile::keepsLinkAndPermissions()
{
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("real.ini"));
    const QString link = dir.filePath(QStringLiteral("link.ini"));
    QVERIFY(writePlain(real, "old"));
    QVERIFY(QFile::setPermissions(real, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QVERIFY(QFile::link(real, link));

    QVERIFY(AtomicFile::writeFile(link, "new"));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readAll(real), QByteArray("new"));
    struct stat info;
    QCOMPARE(::stat(QFile::encodeName(real).constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 0777), 0600);

    // A new file gets the usual permissions, not those of a private
    // temporary file.
    const QString fresh = dir.filePath(QStringLiteral("fresh.ini"));
    QVERIFY(AtomicFile::writeFile(fresh, "x"));
    QCOMPARE(::stat(QFile::encodeName(fresh).constData(), &info), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    QCOMPARE(int(info.st_mode & 0777), int(0666 & ~mask));
}

void TestAtomicFile::commitAllRenamesNothingWhenOneFails()
{
    QTemporaryDir dir;
    const QString sheet = dir.filePath(QStringLiteral("keys.png"));
    const QString tiles = dir.filePath(QStringLiteral("keys.til"));
    QVERIFY(writePlain(sheet, "old sheet"));
    QVERIFY(writePlain(tiles, "old tiles"));

    AtomicFile tileFile(tiles);
    AtomicFile sheetFile(sheet);
    QVERIFY(tileFile.open() && tileFile.write("new tiles"));
    QVERIFY(sheetFile.open());
    QString error;
    {
        FileSizeLimit guard(1024);
        sheetFile.write(QByteArray(5000, 's'));
        QVERIFY(!AtomicFile::commitAll({ &tileFile, &sheetFile }, &error));
    }
    QVERIFY(error.contains(sheet));
    QCOMPARE(readAll(tiles), QByteArray("old tiles"));
    QCOMPARE(readAll(sheet), QByteArray("old sheet"));
    QCOMPARE(filesIn(dir.path()), (QStringList { QStringLiteral("keys.png"), QStringLiteral("keys.til") }));
}

void TestAtomicFile::deferredSyncsThroughBatch()
{
    QTemporaryDir dir;
    SyncBatch batch;
    QCOMPARE(SyncBatch::current(), &batch);
    QVERIFY(AtomicFile::writeFile(dir.filePath(QStringLiteral("a.png")), "a"));
    QVERIFY(AtomicFile::writeFile(dir.filePath(QStringLiteral("b.png")), "b"));
    QVERIFY(AtomicFile::writeFile(dir.filePath(QStringLiteral("a.png")), "a2"));
    // Durable writes sync at once and leave nothing for the batch.
    QVERIFY(AtomicFile::writeFile(
        dir.filePath(QStringLiteral("c.ini")), "c", nullptr, AtomicFile::Mode::Durable));
    QCOMPARE(batch.pending(), 2);
    QStringList failed;
    QVERIFY(batch.sync(&failed));
    QVERIFY(failed.isEmpty());
    QCOMPARE(batch.pending(), 0);
    QCOMPARE(readAll(dir.filePath(QStringLiteral("a.png"))), QByteArray("a2"));
}

void TestAtomicFile::refusedSync_data()
{
    QTest::addColumn<bool>("batched");
    QTest::addColumn<QByteArray>("failingSyncs");
    QTest::addColumn<bool>("replaced");

    // Before the rename: the old file stays.
    QTest::newRow("durable") << false << QByteArray("fsync") << false;
    QTest::newRow("deferred, data written out") << true << QByteArray("sync_file_range") << false;
    // After the rename, at the end of the run: too late to keep the old
    // file, but the batch must say which files may not be on the disk.
    QTest::newRow("deferred, at the end of the run") << true << QByteArray("fsync") << true;
}

void TestAtomicFile::refusedSync()
{
    QFETCH(bool, batched);
    QFETCH(QByteArray, failingSyncs);
    QFETCH(bool, replaced);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keys.til"));
    QVERIFY(AtomicFile::writeFile(path, "old"));
    std::unique_ptr<SyncBatch> batch(batched ? new SyncBatch : nullptr);
    QString error;
    QStringList failed;
    {
        SyncFailure refused(failingSyncs);
        QCOMPARE(AtomicFile::writeFile(path, "new", &error), replaced);
        // (Nothing is left to sync when the file was not put in place.)
        if (batch)
            QCOMPARE(batch->sync(&failed), !replaced);
    }
    QCOMPARE(readAll(path), replaced ? QByteArray("new") : QByteArray("old"));
    QCOMPARE(filesIn(dir.path()), QStringList { QStringLiteral("keys.til") });
    if (replaced) {
        QCOMPARE(failed, (QStringList { path, dir.path() }));
        // A failing disk refuses every file: the first one names them.
        QCOMPARE(batch->problem(),
            path + QStringLiteral(" and 1 more may not have reached the disk: Input/output error."));
        QCOMPARE(SyncBatch::takeProblem(), batch->problem());
    } else {
        QVERIFY2(error.contains(QStringLiteral("Input/output error")), qPrintable(error));
    }
}

void TestAtomicFile::commitAllRenamesBackToBack_data()
{
    QTest::addColumn<bool>("batched");
    QTest::newRow("durable") << false;
    QTest::newRow("deferred to a batch") << true;
}

// Two pairs, one replacing old files and one new: everything is prepared
// first, the four renames follow each other in the order given, and the
// syncs come after the last.
void TestAtomicFile::commitAllRenamesBackToBack()
{
    QFETCH(bool, batched);
    QTemporaryDir dir;
    QVERIFY(writePlain(dir.filePath(QStringLiteral("keys.til")), "old tiles"));
    QVERIFY(writePlain(dir.filePath(QStringLiteral("keys.png")), "old sheet"));
    const QStringList names { QStringLiteral("keys.til"), QStringLiteral("keys.png"),
        QStringLiteral("icons.til"), QStringLiteral("icons.png") };
    {
        WriteSteps steps;
        std::unique_ptr<SyncBatch> batch(batched ? new SyncBatch : nullptr);
        std::vector<std::unique_ptr<AtomicFile>> files;
        QVector<AtomicFile *> pointers;
        for (const QString &name : names) {
            files.push_back(std::make_unique<AtomicFile>(dir.filePath(name)));
            QVERIFY(files.back()->open() && files.back()->write("new " + name.toUtf8()));
            pointers.append(files.back().get());
        }
        QString error;
        QVERIFY2(AtomicFile::commitAll(pointers, &error), qPrintable(error));
        batch.reset();
        QCOMPARE(steps.renamed(), names);
        QVERIFY2(steps.problem().isEmpty(), qPrintable(steps.problem()));
    }
    for (const QString &name : names)
        QCOMPARE(readAll(dir.filePath(name)), "new " + name.toUtf8());
    QCOMPARE(filesIn(dir.path()),
        (QStringList { QStringLiteral("icons.png"), QStringLiteral("icons.til"), QStringLiteral("keys.png"),
            QStringLiteral("keys.til") }));
}

// A rename that fails half-way (a directory took the place of one target)
// puts back what the renames before it replaced: the run changes nothing.
void TestAtomicFile::failedRenamePutsEarlierFilesBack()
{
    QTemporaryDir dir;
    const QString tiles = dir.filePath(QStringLiteral("keys.til"));
    const QString sheet = dir.filePath(QStringLiteral("keys.png"));
    const QString fresh = dir.filePath(QStringLiteral("new.til"));
    QVERIFY(writePlain(tiles, "old tiles"));
    QVERIFY(writePlain(sheet, "old sheet"));
    AtomicFile tileFile(tiles);
    AtomicFile freshFile(fresh);
    AtomicFile sheetFile(sheet);
    QVERIFY(tileFile.open() && tileFile.write("new tiles"));
    QVERIFY(freshFile.open() && freshFile.write("new file"));
    QVERIFY(sheetFile.open() && sheetFile.write("new sheet"));
    QVERIFY(QFile::remove(sheet));
    QVERIFY(QDir().mkdir(sheet));
    QDir(sheet).mkdir(QStringLiteral("inside"));

    QString error;
    QVERIFY(!AtomicFile::commitAll({ &tileFile, &freshFile, &sheetFile }, &error));
    QVERIFY2(error.contains(sheet), qPrintable(error));
    QCOMPARE(readAll(tiles), QByteArray("old tiles"));
    QVERIFY(!QFileInfo::exists(fresh));
    QVERIFY(QFileInfo(sheet).isDir());
    QCOMPARE(filesIn(dir.path()), QStringList { QStringLiteral("keys.til") });
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
