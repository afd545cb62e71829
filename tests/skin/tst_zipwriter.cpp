#include "filetree.h"
#include "skin/zipwriter.h"

#include <QBuffer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <archive.h>
#include <archive_entry.h>

namespace {

// Bytes that deflate to about half: random letters from a small alphabet.
QByteArray letters(int size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    for (char &c : bytes)
        c = char('a' + generator.bounded(16));
    return bytes;
}

struct ReadEntry
{
    QByteArray name;
    QByteArray data;
    bool directory = false;
};

// The archive as another reader sees it.
QVector<ReadEntry> readBack(const QString &path, QString *error)
{
    QVector<ReadEntry> entries;
    struct archive *reader = archive_read_new();
    archive_read_support_format_zip(reader);
    if (archive_read_open_filename(reader, QFile::encodeName(path).constData(), 65536) != ARCHIVE_OK) {
        *error = QString::fromLocal8Bit(archive_error_string(reader));
        archive_read_free(reader);
        return entries;
    }
    struct archive_entry *entry = nullptr;
    int result;
    while ((result = archive_read_next_header(reader, &entry)) == ARCHIVE_OK) {
        ReadEntry read;
        const char *utf8 = archive_entry_pathname_utf8(entry);
        read.name = utf8 ? QByteArray(utf8) : QByteArray(archive_entry_pathname(entry));
        read.directory = archive_entry_filetype(entry) == AE_IFDIR;
        char buffer[65536];
        la_ssize_t got;
        while ((got = archive_read_data(reader, buffer, sizeof buffer)) > 0)
            read.data.append(buffer, int(got));
        if (got < 0) {
            *error = QString::fromLocal8Bit(archive_error_string(reader));
            break;
        }
        entries.append(read);
    }
    if (result != ARCHIVE_EOF && error->isEmpty())
        *error = QString::fromLocal8Bit(archive_error_string(reader));
    archive_read_free(reader);
    return entries;
}

// Info-ZIP's test of every entry, where it is installed: a second opinion
// on the zip64 forms, which readers take differently.
void checkWithUnzip(const QString &path)
{
    if (!QFile::exists(QStringLiteral("/usr/bin/unzip")))
        return;
    QProcess unzip;
    unzip.start(QStringLiteral("/usr/bin/unzip"), { QStringLiteral("-tqq"), path });
    QVERIFY(unzip.waitForFinished(60000));
    QVERIFY2(unzip.exitCode() == 0, unzip.readAllStandardOutput().constData());
}

} // namespace

class TestZipWriter : public QObject
{
    Q_OBJECT

private slots:
    void readersAgree_data();
    void readersAgree();
    void manyEntriesUseTheZip64End();
    void stoppedWhileStreaming();
};

void TestZipWriter::readersAgree_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("method");

    QTest::newRow("empty file") << QByteArray("port/empty.ini") << false << QByteArray() << 0;
    QTest::newRow("text") << QByteArray("port/py_26.ini") << false
                          << QByteArray("[KEY1]\r\nVIEW_RECT=0,0,100,80\r\n").repeated(50) << 8;
    QTest::newRow("incompressible, stored")
        << QByteArray("res/noise.bin") << false << FileTree::randomBytes(70000) << 0;
    QTest::newRow("UTF-8 name") << QByteArray("res/\xe4\xb8\xad\xe6\x96\x87.txt") << true
                                << QByteArray("\xe4\xb8\xad").repeated(100) << 8;
    // Past the whole-file size: deflated in blocks, its header written last.
    QTest::newRow("streamed") << QByteArray("res/big.bin") << false
                              << letters(int(ZipWriter::kWholeFileBytes) + 3 * 1048576 + 5, 3) << 8;
}

void TestZipWriter::readersAgree()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, utf8);
    QFETCH(QByteArray, data);
    QFETCH(int, method);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.zip"));
    QFile output(path);
    QVERIFY(output.open(QIODevice::WriteOnly));
    QBuffer source(&data);
    QVERIFY(source.open(QIODevice::ReadOnly));
    qint64 observed = 0;
    ZipWriter writer(&output);
    QVERIFY(writer.addFile(
        name, utf8, QDateTime(QDate(2024, 5, 6), QTime(7, 8, 10)), &source, [&observed](qint64 bytes) {
            observed += bytes;
            return true;
        }));
    QVERIFY(writer.addDirectory("res", false, QDateTime(QDate(1970, 1, 2), QTime(0, 0))));
    QVERIFY(writer.finish());
    output.close();
    QCOMPARE(observed, qint64(data.size()));
    // the method of the first entry, in its header
    QCOMPARE(int(uchar(FileTree::read(path).at(8))), method);

    QString error;
    const QVector<ReadEntry> entries = readBack(path, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0].name, name);
    QVERIFY(!entries[0].directory);
    QVERIFY(entries[0].data == data);
    QCOMPARE(entries[1].name, QByteArray("res/"));
    QVERIFY(entries[1].directory);
    checkWithUnzip(path);
}

void TestZipWriter::manyEntriesUseTheZip64End()
{
    // More entries than the classic end record can count.
    const int count = 70000;
    QByteArray bytes;
    QBuffer output(&bytes);
    QVERIFY(output.open(QIODevice::WriteOnly));
    ZipWriter writer(&output);
    const QDateTime when(QDate(2020, 1, 1), QTime(12, 0));
    for (int i = 0; i < count; ++i)
        QVERIFY(writer.addDirectory("d" + QByteArray::number(i), false, when));
    QVERIFY(writer.finish());
    // The locator before the end record points at the zip64 record, which
    // has the true count.
    const int locator = bytes.lastIndexOf(QByteArray("PK\x06\x07", 4));
    QCOMPARE(locator, bytes.size() - 22 - 20);
    const qint64 record = qFromLittleEndian<qint64>(bytes.constData() + locator + 8);
    QCOMPARE(bytes.mid(int(record), 4), QByteArray("PK\x06\x06", 4));
    QCOMPARE(qFromLittleEndian<qint64>(bytes.constData() + record + 32), qint64(count));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("many.zip"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QString error;
    const QVector<ReadEntry> entries = readBack(path, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(entries.size(), count);
    QCOMPARE(entries.last().name, QByteArray("d69999/"));
    checkWithUnzip(path);
}

void TestZipWriter::stoppedWhileStreaming()
{
    QByteArray data = letters(int(ZipWriter::kWholeFileBytes) + 4 * 1048576, 5);
    QBuffer source(&data);
    QVERIFY(source.open(QIODevice::ReadOnly));
    QByteArray bytes;
    QBuffer output(&bytes);
    QVERIFY(output.open(QIODevice::WriteOnly));
    ZipWriter writer(&output);
    qint64 seen = 0;
    // Stops once the streamed part has begun.
    QVERIFY(!writer.addFile("big.bin", false, QDateTime::currentDateTime(), &source, [&seen](qint64 bytes) {
        seen += bytes;
        return seen <= ZipWriter::kWholeFileBytes + 1048576;
    }));
    QVERIFY(writer.stopped());
    QVERIFY(!writer.finish());
    QVERIFY(!writer.addDirectory("later", false, QDateTime::currentDateTime()));
}

QTEST_GUILESS_MAIN(TestZipWriter)
#include "tst_zipwriter.moc"
