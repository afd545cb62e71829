#include "filetree.h"
#include "rawzip.h"
#include "skin/zipreader.h"
#include "skin/zipwriter.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <sys/stat.h>

namespace {

using namespace RawZip;

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
    // Some writers give an empty file no deflate stream at all.
    RawEntry emptyDeflated;
    emptyDeflated.method = 8;
    QTest::newRow("empty, deflated to nothing")
        << build(emptyDeflated) << emptyDeflated.name << QByteArray("");

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
