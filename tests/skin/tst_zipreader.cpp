#include "filetree.h"
#include "skin/zipreader.h"
#include "skin/zipwriter.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <sys/stat.h>
#include <zlib.h>

namespace {

// One entry, laid out by hand so that every field can be set wrong.
struct RawEntry
{
    QByteArray name = "a.txt";
    QByteArray data;
    bool deflate = false;
    QByteArray stub; // bytes before the archive
    bool zip64 = false; // sizes and offset in the zip64 field
    quint16 flags = 0;
    int method = -1; // else the one the data has
    qint64 statedSize = -1; // else the real one
    qint64 headerOffset = -1; // else the real one
    quint32 crcXor = 0;
};

QByteArray le(quint64 value, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xff));
    return out;
}

QByteArray rawDeflate(const QByteArray &data)
{
    // qCompress: a 4-byte length, the zlib header and, at the end, the
    // Adler-32 sum around the raw stream.
    const QByteArray wrapped = qCompress(data, 6);
    return wrapped.mid(6, wrapped.size() - 10);
}

QByteArray build(const RawEntry &e)
{
    const QByteArray packed = e.deflate ? rawDeflate(e.data) : e.data;
    const quint16 method = quint16(e.method >= 0 ? e.method : (e.deflate ? 8 : 0));
    const quint32 crc
        = quint32(crc32(0, reinterpret_cast<const uchar *>(e.data.constData()), uint(e.data.size())))
        ^ e.crcXor;
    const quint64 size = quint64(e.statedSize >= 0 ? e.statedSize : e.data.size());
    const quint64 offset = quint64(e.headerOffset >= 0 ? e.headerOffset : 0);
    const quint64 all = 0xffffffffu;
    QByteArray local = le(0x04034b50, 4) + le(e.zip64 ? 45 : 20, 2) + le(e.flags, 2) + le(method, 2)
        + le(0, 4) + le(crc, 4) + le(e.zip64 ? all : packed.size(), 4) + le(e.zip64 ? all : size, 4)
        + le(quint64(e.name.size()), 2) + le(e.zip64 ? 20 : 0, 2) + e.name;
    if (e.zip64)
        local += le(1, 2) + le(16, 2) + le(size, 8) + le(quint64(packed.size()), 8);
    QByteArray central = le(0x02014b50, 4) + le(0x0300 | (e.zip64 ? 45 : 20), 2) + le(e.zip64 ? 45 : 20, 2)
        + le(e.flags, 2) + le(method, 2) + le(0, 4) + le(crc, 4) + le(e.zip64 ? all : packed.size(), 4)
        + le(e.zip64 ? all : size, 4) + le(quint64(e.name.size()), 2) + le(e.zip64 ? 28 : 0, 2) + le(0, 2)
        + le(0, 2) + le(0, 2) + le(quint64(0100644) << 16, 4) + le(e.zip64 ? all : offset, 4) + e.name;
    if (e.zip64)
        central += le(1, 2) + le(24, 2) + le(size, 8) + le(quint64(packed.size()), 8) + le(offset, 8);
    const QByteArray body = local + packed;
    const QByteArray end = le(0x06054b50, 4) + le(0, 4) + le(1, 2) + le(1, 2) + le(quint64(central.size()), 4)
        + le(quint64(body.size()), 4) + le(0, 2);
    return e.stub + body + central + end;
}

QString saved(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("in.zip"));
    FileTree::write(path, bytes);
    return path;
}

// An archive of one entry large enough to be deflated, and inflated, in
// blocks.
QByteArray streamedArchive(QByteArray data)
{
    QByteArray archive;
    QBuffer output(&archive);
    output.open(QIODevice::WriteOnly);
    QBuffer source(&data);
    source.open(QIODevice::ReadOnly);
    ZipWriter writer(&output);
    writer.addFile("big.ini", false, QDateTime::currentDateTime(), &source);
    writer.finish();
    return archive;
}

QByteArray largeText()
{
    const QByteArray line("[KEY1]\r\nVIEW_RECT=0,0,100,80\r\n");
    return line.repeated(int(ZipReader::kWholeEntryBytes / line.size()) + 400);
}

// The data of entry `index`, or a null array and the reason.
QByteArray readEntry(ZipReader &reader, int index, QString *error)
{
    if (!reader.openEntry(index)) {
        *error = reader.errorString();
        return QByteArray();
    }
    QByteArray data("");
    for (;;) {
        const char *block = nullptr;
        const qint64 length = reader.readData(&block);
        if (length == 0)
            return data;
        if (length < 0) {
            *error = reader.errorString();
            return QByteArray();
        }
        data.append(block, int(length));
    }
}

} // namespace

class TestZipReader : public QObject
{
    Q_OBJECT

private slots:
    void readsWhatOthersWrite_data();
    void readsWhatOthersWrite();
    void brokenEntryIsRefused_data();
    void brokenEntryIsRefused();
    void onlyFilesAreOpened();
};

void TestZipReader::readsWhatOthersWrite_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("data");

    const QByteArray text = QByteArray("[KEY1]\r\nVIEW_RECT=0,0,100,80\r\n").repeated(40);
    RawEntry plain;
    plain.data = text;
    plain.deflate = true;
    RawEntry stub = plain;
    stub.stub = QByteArray("#!/bin/sh\nexit 0\n").repeated(5);
    QTest::newRow("after a stub") << build(stub) << plain.name << text;
    RawEntry zip64 = plain;
    zip64.zip64 = true;
    QTest::newRow("zip64 fields") << build(zip64) << plain.name << text;

    // Past the whole-entry size, read block by block.
    RawEntry bigStored;
    bigStored.data = FileTree::randomBytes(int(ZipReader::kWholeEntryBytes) + 300000);
    QTest::newRow("large, stored") << build(bigStored) << bigStored.name << bigStored.data;
    const QByteArray bigText = largeText();
    const QByteArray streamed = streamedArchive(bigText);
    QTest::newRow("large, deflated") << streamed << QByteArray("big.ini") << bigText;
}

void TestZipReader::readsWhatOthersWrite()
{
    QFETCH(QByteArray, archive);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, data);

    QTemporaryDir dir;
    ZipReader reader(saved(dir, archive));
    QVERIFY2(reader.open(), qPrintable(reader.errorString()));
    QCOMPARE(int(reader.entries().size()), 1);
    QCOMPARE(reader.entries()[0].name, name);
    QString error;
    const QByteArray read = readEntry(reader, 0, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(read == data);
}

void TestZipReader::brokenEntryIsRefused_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QString>("reason");

    RawEntry base;
    base.data = QByteArray("[GLOBAL]\r\nUSE_ALPHA=1\r\n").repeated(20);
    base.deflate = true;
    RawEntry e = base;
    e.crcXor = 1;
    QTest::newRow("wrong checksum") << build(e) << "checksum";
    e = base;
    e.flags = 1;
    QTest::newRow("encrypted") << build(e) << "encrypted";
    e = base;
    e.method = 12;
    QTest::newRow("another method") << build(e) << "method 12";
    e = base;
    e.statedSize = base.data.size() - 1;
    QTest::newRow("longer than stated") << build(e) << "more than its stated size";
    e = base;
    e.statedSize = base.data.size() + 1;
    QTest::newRow("shorter than stated") << build(e) << "less than its stated size";
    e = base;
    e.headerOffset = 7;
    QTest::newRow("no header where stated") << build(e) << "header is missing";
    e = base;
    e.deflate = false;
    e.statedSize = base.data.size() + 5;
    QTest::newRow("stored, sizes differ") << build(e) << "stored size";
    // Its data runs into the directory and past the end.
    QByteArray cut = build(base);
    const int sizeField = cut.indexOf("PK\x01\x02") + 20;
    cut.replace(sizeField, 4, le(quint64(cut.size()), 4));
    QTest::newRow("data past the end") << cut << "past the end";
    QByteArray damaged = build(base);
    for (int i = 40; i < 50; ++i)
        damaged[i] = char(damaged.at(i) ^ 0x5a);
    QTest::newRow("damaged compressed data") << damaged << "";
    QByteArray damagedLarge = streamedArchive(largeText());
    const int middle = damagedLarge.indexOf("PK\x01\x02") / 2;
    for (int i = middle; i < middle + 16; ++i)
        damagedLarge[i] = char(damagedLarge.at(i) ^ 0x5a);
    QTest::newRow("damaged compressed data, large") << damagedLarge << "";
}

void TestZipReader::brokenEntryIsRefused()
{
    QFETCH(QByteArray, archive);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    ZipReader reader(saved(dir, archive));
    QVERIFY2(reader.open(), qPrintable(reader.errorString()));
    QCOMPARE(int(reader.entries().size()), 1);
    QString error;
    const QByteArray read = readEntry(reader, 0, &error);
    QVERIFY(read.isNull());
    QVERIFY(!error.isEmpty());
    QVERIFY2(error.contains(reason), qPrintable(error));
}

// A fifo or a directory given as the archive is refused at once; a fifo
// with no writer must not hang the reader.
void TestZipReader::onlyFilesAreOpened()
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.zip"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : { fifo, dir.path() }) {
        ZipReader reader(path);
        QVERIFY(!reader.open());
        QVERIFY2(!reader.errorString().isEmpty(), qPrintable(path));
    }
}

QTEST_GUILESS_MAIN(TestZipReader)
#include "tst_zipreader.moc"
