#include "app/archivejob.h"
#include "skin/filetree.h"
#include "skin/skinarchive.h"

#include <QMap>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>

namespace {

// Every file and directory below `root`, hidden ones too, with the bytes
// of each file: two equal snapshots mean nothing changed.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> tree;
    for (const QString &path : FileTree::list(root))
        tree.insert(path,
            path.endsWith(QLatin1Char('/')) ? QByteArray() : FileTree::read(root + QLatin1Char('/') + path));
    return tree;
}

// Bytes that do not compress, so that the archive is large enough to break
// in the middle of an entry's data.
QByteArray noise(int size)
{
    QVector<quint32> words(size / 4);
    QRandomGenerator(7).fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char *>(words.constData()), words.size() * 4);
}

} // namespace

// The window's imports and exports: what a finished, cancelled or failed run
// leaves on disk and what it tells the author.
class TestArchiveJob : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void runs_data();
    void runs();
    void secondRunIsRefusedWhileOneIsGoing();

private:
    std::unique_ptr<QTemporaryDir> mDir;
    QString mSkin;
    QString mWork;
    QString mArchive;
};

void TestArchiveJob::init()
{
    mDir = std::make_unique<QTemporaryDir>();
    mSkin = mDir->filePath(QStringLiteral("skin"));
    QVERIFY(FileTree::write(mSkin + QStringLiteral("/port/py_26.ini"), "[KEY1]\r\nVIEW_RECT=0,0,10,10\r\n"));
    QVERIFY(FileTree::write(mSkin + QStringLiteral("/res/default.css"), "[STYLE1]\r\n"));
    QVERIFY(FileTree::write(mSkin + QStringLiteral("/res/keys.png"), noise(200000)));
    QVERIFY(FileTree::write(mSkin + QStringLiteral("/res/more.png"), noise(100000)));
    mArchive = mDir->filePath(QStringLiteral("skin.bds"));
    QVERIFY(SkinArchive::zip(mSkin, mArchive));
    mWork = mDir->filePath(QStringLiteral("work"));
    QVERIFY(FileTree::write(mWork + QStringLiteral("/port/py_26.ini"), "[OLD]\r\n"));
    QVERIFY(FileTree::write(mWork + QStringLiteral("/.hidden"), "old"));
}

void TestArchiveJob::runs_data()
{
    QTest::addColumn<QString>("run");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("said");

    QTest::newRow("import") << "import" << true << "Imported";
    QTest::newRow("import cancelled mid-way") << "import cancelled" << false << "cancelled";
    QTest::newRow("import of a damaged archive") << "import damaged" << false << "was not imported";
    QTest::newRow("export over an existing archive") << "export" << true << "Exported";
    QTest::newRow("export cancelled over an existing archive") << "export cancelled" << false << "cancelled";
    QTest::newRow("export of a missing skin") << "export missing" << false << "does not exist";
    QTest::newRow("export leaving out links") << "export links" << true << "Left out";
}

void TestArchiveJob::runs()
{
    QFETCH(QString, run);
    QFETCH(bool, ok);
    QFETCH(QString, said);
    const bool importing = run.startsWith(QLatin1String("import"));

    // an export replaces an archive that is there already
    const QString target = mDir->filePath(QStringLiteral("out.zip"));
    QVERIFY(FileTree::write(target, "an older archive"));
    if (run == QLatin1String("import damaged")) {
        QByteArray bytes = FileTree::read(mArchive);
        bytes.replace(bytes.size() / 2, 64, QByteArray(64, '\0'));
        QVERIFY(FileTree::write(mArchive, bytes));
    }
    if (run == QLatin1String("export links")) {
        QVERIFY(FileTree::write(mDir->filePath(QStringLiteral("secret.txt")), "secret"));
        QVERIFY(
            QFile::link(mDir->filePath(QStringLiteral("secret.txt")), mSkin + QStringLiteral("/leak.txt")));
        QVERIFY(QFile::link(mSkin + QStringLiteral("/res"), mSkin + QStringLiteral("/res/loop")));
    }
    const QMap<QString, QByteArray> before = snapshot(mDir->path());

    ArchiveJob job;
    std::atomic_int steps { 0 };
    const bool cancelling = run.endsWith(QLatin1String("cancelled"));
    // cancelled at the first step, with more of the archive still to come
    job.setStepHook([&](qint64 done, qint64 total) {
        if (++steps == 1 && cancelling && done < total)
            job.cancel();
    });
    QSignalSpy finished(&job, &ArchiveJob::finished);
    QSignalSpy reported(&job, &ArchiveJob::reported);
    QSignalSpy progressed(&job, &ArchiveJob::progressChanged);

    const QString skin
        = run == QLatin1String("export missing") ? mDir->filePath(QStringLiteral("none")) : mSkin;
    QVERIFY(importing ? job.startImport(mArchive, mWork) : job.startExport(skin, target));
    QVERIFY(job.isRunning());
    QCOMPARE(job.isImporting(), importing);
    QVERIFY(finished.wait(30000));
    QVERIFY(!job.isRunning());

    QCOMPARE(reported.size(), 1);
    const auto result = finished.first().first().value<OperationResult>();
    QCOMPARE(reported.first().first().value<OperationResult>().message, result.message);
    QCOMPARE(result.ok, ok);
    QVERIFY2(result.message.contains(said), qPrintable(result.message));
    QCOMPARE(result.file(), importing ? mArchive : target);

    if (!ok) {
        // nothing changed, and nothing left beside the target
        QCOMPARE(snapshot(mDir->path()), before);
        return;
    }
    QVERIFY(steps > 0);
    QVERIFY(progressed.size() > 0);
    QVERIFY(job.progress() > 0);
    const QString unpacked = importing ? mWork : mDir->filePath(QStringLiteral("check"));
    if (!importing)
        QVERIFY(SkinArchive::unzip(target, unpacked));
    QMap<QString, QByteArray> expected = snapshot(mSkin);
    if (run == QLatin1String("export links")) {
        QVERIFY2(result.message.contains(QStringLiteral("leak.txt, res/loop"))
                || result.message.contains(QStringLiteral("res/loop, leak.txt")),
            qPrintable(result.message));
        expected.remove(QStringLiteral("leak.txt -> link"));
        expected.remove(QStringLiteral("res/loop -> link"));
    }
    QCOMPARE(snapshot(unpacked), expected);
}

// A second import or export waits for the first: it is refused with a
// message, and the first goes on to its end.
void TestArchiveJob::secondRunIsRefusedWhileOneIsGoing()
{
    ArchiveJob job;
    QSemaphore entered;
    QSemaphore release;
    job.setStepHook([&](qint64, qint64) {
        if (entered.available() == 0) {
            entered.release();
            release.acquire();
        }
    });
    QSignalSpy finished(&job, &ArchiveJob::finished);
    QSignalSpy reported(&job, &ArchiveJob::reported);
    QVERIFY(job.startImport(mArchive, mWork));
    QVERIFY(entered.tryAcquire(1, 30000));
    entered.release(); // (the hook blocks only once)

    const QString target = mDir->filePath(QStringLiteral("other.zip"));
    QVERIFY(!job.startExport(mSkin, target));
    QCOMPARE(reported.size(), 1);
    const auto refusal = reported.first().first().value<OperationResult>();
    QVERIFY(!refusal.ok);
    QVERIFY2(refusal.message.contains(target), qPrintable(refusal.message));
    QVERIFY(job.isImporting());

    release.release();
    QVERIFY(finished.wait(30000));
    QVERIFY(finished.first().first().value<OperationResult>().ok);
    QVERIFY(!QFile::exists(target));
    QCOMPARE(snapshot(mWork), snapshot(mSkin));
}

QTEST_GUILESS_MAIN(TestArchiveJob)
#include "tst_archivejob.moc"
