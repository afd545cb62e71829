#include "archivebuilder.h"
#include "faultinjection.h"
#include "filetree.h"
#include "rawzip.h"
#include "skin/atomicfile.h"
#include "skin/skinarchive.h"
#include "syncfailure.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using FileTree::randomBytes;

// Marks the entry `name` of a zip archive as a fifo in its central directory
// record, which no packer of ours would write.
bool markAsFifo(QByteArray &zip, const QByteArray &name)
{
    for (int at = zip.indexOf("PK\x01\x02"); at >= 0; at = zip.indexOf("PK\x01\x02", at + 4)) {
        const int nameLength = uchar(zip.at(at + 28)) | (uchar(zip.at(at + 29)) << 8);
        if (zip.mid(at + 46, nameLength) != name)
            continue;
        const quint32 mode = quint32(0010644) << 16; // S_IFIFO | 0644
        zip[at + 5] = 3; // made on Unix: the mode is read
        for (int i = 0; i < 4; ++i)
            zip[at + 38 + i] = char((mode >> (8 * i)) & 0xff);
        return true;
    }
    return false;
}

// What the writers did to the disk, in order, while an observer was set.
QStringList observedSteps;

void recordStep(AtomicFile::Step step, const QString &path)
{
    static const char *const names[]
        = { "write", "finish", "sync", "reserve", "rename", "release", "sync-directory", "defer" };
    observedSteps.append(QLatin1String(names[int(step)]) + QLatin1Char(' ') + path);
}

} // namespace

class TestSkinArchive : public QObject
{
    Q_OBJECT

private slots:
    void roundTripReproducesSkinTree();
    void failedZipKeepsOldArchive_data();
    void failedZipKeepsOldArchive();
    void zipIntoThePackedTree();
    void zipSkipsLinks();
    void hostileNames_data();
    void hostileNames();
    void checkedEntryName_data();
    void checkedEntryName();
    void symlinkEntriesAreSkipped();
    void existingLinkInTargetIsNotFollowed_data();
    void existingLinkInTargetIsNotFollowed();
    void fileWithoutDirectoryEntry();
    void bombOfZerosIsRefused();
    void incompressibleLargeFileIsExtracted();
    void largeEntryIsJudgedWhole();
    void brokenEntriesCountAgainstTheArchive();
    void nameWithNulIsRefused();
    void totalSizeLimit();
    void manyEmptyEntries();
    void emptyArchive();
    void truncatedArchive();
    void notAnArchive_data();
    void notAnArchive();
    void wholeArchiveRatio_data();
    void wholeArchiveRatio();
    void fifoEntryIsRefused();
    void namesEqualUnderNormalisation();
    void packTakesHiddenFilesAndInsideLinks();
    void unzipReplacingSwapsOnlyWhenComplete_data();
    void unzipReplacingSwapsOnlyWhenComplete();
    void unzipIntoNewDirectory_data();
    void unzipIntoNewDirectory();

private:
    // Unpacks `builder`'s archive into <root>/out; the archive itself lies in
    // a separate directory so that the root holds only what unzip wrote.
    bool unpack(const ArchiveBuilder &builder, QTemporaryDir &root,
        const SkinArchive::Limits &limits = SkinArchive::Limits());
    QTemporaryDir mArchives;
};

bool TestSkinArchive::unpack(
    const ArchiveBuilder &builder, QTemporaryDir &root, const SkinArchive::Limits &limits)
{
    const QString archive
        = mArchives.filePath(QStringLiteral("test-%1.zip").arg(QRandomGenerator::global()->generate()));
    QString error;
    if (!builder.write(archive, &error))
        qFatal("could not build the test archive: %s", qPrintable(error));
    const bool ok = SkinArchive::unzip(archive, root.filePath(QStringLiteral("out")), limits);
    QFile::remove(archive);
    return ok;
}

void TestSkinArchive::roundTripReproducesSkinTree()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString skin = dir.filePath(QStringLiteral("skin"));
    QImage sheet(40, 20, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(10, 20, 30, 200));
    QVERIFY(QDir().mkpath(skin + QStringLiteral("/res")));
    QVERIFY(sheet.save(skin + QStringLiteral("/res/keys.png")));
    QVERIFY(FileTree::write(skin + QStringLiteral("/port/py_26.ini"),
        "[GENERAL]\r\nVIEW_RECT=0,0,1080,600\r\n\r\n[KEY1]\r\nVIEW_RECT=0,0,100,80\r\n"));
    QVERIFY(FileTree::write(skin + QStringLiteral("/port/gen.ini"), "[OFFSET1]\r\nPOS=1,2\r\n"));
    QVERIFY(FileTree::write(skin + QStringLiteral("/res/default.css"), "[STYLE1]\r\nFORE_COLOR=ff0000\r\n"));
    QVERIFY(FileTree::write(skin + QStringLiteral("/res/keys.til"), "[IMG1]\r\nSOURCE_RECT=0,0,20,20\r\n"));
    QVERIFY(FileTree::write(skin + QStringLiteral("/res/\xe4\xb8\xad\xe6\x96\x87.txt"), "\xe4\xb8\xad"));
    QVERIFY(FileTree::write(skin + QStringLiteral("/res/big.bin"), randomBytes(300000)));
    QVERIFY(QDir().mkpath(skin + QStringLiteral("/empty/inner")));

    const QString archive = dir.filePath(QStringLiteral("skin.bds"));
    QVERIFY(SkinArchive::zip(skin, archive));
    QVERIFY(SkinArchive::isZipArchive(archive));
    const QString out = dir.filePath(QStringLiteral("out"));
    QVERIFY(SkinArchive::unzip(archive, out));

    QCOMPARE(FileTree::list(out), FileTree::list(skin));
    const QStringList files = FileTree::list(skin);
    for (const QString &path : files) {
        if (!path.endsWith(QLatin1Char('/')))
            QCOMPARE(FileTree::read(out + QLatin1Char('/') + path),
                FileTree::read(skin + QLatin1Char('/') + path));
    }
}

void TestSkinArchive::failedZipKeepsOldArchive_data()
{
    QTest::addColumn<QString>("skin");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("no such directory") << "no-such-skin" << 0 << "not exists!";
    // Past the whole-file size, where the file is deflated in blocks, too.
    QTest::newRow("full disk") << "skin" << 300000 << "write error on";
    QTest::newRow("full disk, streamed file") << "skin" << (17 << 20) << "write error on";
}

void TestSkinArchive::failedZipKeepsOldArchive()
{
    QFETCH(QString, skin);
    QFETCH(int, bytes);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QTemporaryDir skins;
    QVERIFY(FileTree::write(skins.filePath(QStringLiteral("skin/res/noise.bin")), randomBytes(bytes)));
    const QString archive = dir.filePath(QStringLiteral("old.zip"));
    QVERIFY(FileTree::write(archive, "an earlier export"));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(message));
    {
        FileSizeLimit disk(100000);
        QVERIFY(!SkinArchive::zip(skins.filePath(skin), archive));
    }
    QCOMPARE(FileTree::read(archive), QByteArray("an earlier export"));
    QCOMPARE(FileTree::list(dir.path()), QStringList { QStringLiteral("old.zip") });
}

void TestSkinArchive::zipIntoThePackedTree()
{
    QTemporaryDir dir;
    QVERIFY(FileTree::write(dir.filePath(QStringLiteral("port/a.ini")), "[A]\r\n"));
    QVERIFY(FileTree::write(dir.filePath(QStringLiteral("self.zip.txt")), "notes"));
    const QString archive = dir.filePath(QStringLiteral("self.zip"));
    QVERIFY(SkinArchive::zip(dir.path(), archive));
    // Packing again replaces the earlier archive, which is not packed either.
    QVERIFY(SkinArchive::zip(dir.path(), archive));
    QTemporaryDir out;
    QVERIFY(SkinArchive::unzip(archive, out.path()));
    QCOMPARE(FileTree::list(out.path()),
        (QStringList {
            QStringLiteral("port/"), QStringLiteral("port/a.ini"), QStringLiteral("self.zip.txt") }));
}

void TestSkinArchive::zipSkipsLinks()
{
    QTemporaryDir dir;
    QTemporaryDir secret;
    QVERIFY(FileTree::write(secret.filePath(QStringLiteral("key.txt")), "secret"));
    const QString skin = dir.filePath(QStringLiteral("skin"));
    QVERIFY(FileTree::write(skin + QStringLiteral("/a.ini"), "[A]\r\n"));
    QVERIFY(QFile::link(secret.filePath(QStringLiteral("key.txt")), skin + QStringLiteral("/key.txt")));
    QVERIFY(QFile::link(secret.path(), skin + QStringLiteral("/secretdir")));
    const QString archive = dir.filePath(QStringLiteral("s.zip"));
    QVERIFY(SkinArchive::zip(skin, archive));
    QTemporaryDir out;
    QVERIFY(SkinArchive::unzip(archive, out.path()));
    QCOMPARE(FileTree::list(out.path()), QStringList { QStringLiteral("a.ini") });
}

void TestSkinArchive::hostileNames_data()
{
    QTest::addColumn<QByteArray>("name");
    // A path (relative to the temporary root) that must not appear.
    QTest::addColumn<QString>("escape");

    QTest::newRow("absolute name") << QByteArray("@ROOT@/abs.txt") << QStringLiteral("abs.txt");
    QTest::newRow("dot-dot name") << QByteArray("../x.txt") << QStringLiteral("x.txt");
    QTest::newRow("dot-dot in the middle") << QByteArray("a/../../x.txt") << QStringLiteral("x.txt");
    QTest::newRow("backslash dot-dot") << QByteArray("..\\x.txt") << QStringLiteral("x.txt");
    QTest::newRow("backslash dot-dot below a directory")
        << QByteArray("sub/..\\..\\x.txt") << QStringLiteral("x.txt");
    QTest::newRow("drive letter with backslash") << QByteArray("C:\\x.txt") << QStringLiteral("out/C:/x.txt");
    QTest::newRow("drive letter with slash") << QByteArray("C:/x.txt") << QStringLiteral("out/C:/x.txt");
    QTest::newRow("very long component") << QByteArray(300, 'n') << QString();
    QByteArray deep;
    for (int i = 0; i < 40; ++i)
        deep += QByteArray(200, char('a' + i % 26)) + '/';
    QTest::newRow("very long path") << QByteArray(deep + "x.txt") << QString();
}

void TestSkinArchive::hostileNames()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, escape);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    name.replace("@ROOT@", QFile::encodeName(root.path()));

    ArchiveBuilder builder;
    builder.file("first.txt", "first").file(name, "evil").file("port/py_26.ini", "[KEY1]\r\n");
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("refusing")));
    QVERIFY2(!unpack(builder, root), "a refused entry must make unzip report false");

    // The good entries around the hostile one are still there, and nothing else.
    QCOMPARE(FileTree::list(root.path()),
        (QStringList { QStringLiteral("out/"), QStringLiteral("out/first.txt"), QStringLiteral("out/port/"),
            QStringLiteral("out/port/py_26.ini") }));
    QCOMPARE(FileTree::read(root.filePath(QStringLiteral("out/port/py_26.ini"))), QByteArray("[KEY1]\r\n"));
    if (!escape.isEmpty())
        QVERIFY(!QFileInfo::exists(root.filePath(escape)));
}

void TestSkinArchive::checkedEntryName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << "port/py_26.ini"
                           << "port/py_26.ini";
    QTest::newRow("backslashes become slashes") << "res\\keys.til"
                                                << "res/keys.til";
    QTest::newRow("dot components dropped") << "./res/./a.png"
                                            << "res/a.png";
    QTest::newRow("doubled slash") << "res//a.png"
                                   << "res/a.png";
    QTest::newRow("directory with trailing slash") << "res/"
                                                   << "res";
    QTest::newRow("dots inside a name are fine") << "a..b/c..ini"
                                                 << "a..b/c..ini";
    QTest::newRow("colon later in the name is fine") << "res/a:b.png"
                                                     << "res/a:b.png";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("only dots") << "./."
                               << "";
    QTest::newRow("absolute") << "/etc/passwd"
                              << "";
    QTest::newRow("absolute with backslash") << "\\etc\\passwd"
                                             << "";
    QTest::newRow("dot-dot") << "a/../b"
                             << "";
    QTest::newRow("trailing dot-dot") << "a/.."
                                      << "";
    QTest::newRow("drive letter") << "c:x"
                                  << "";
    // found by the archive fuzzer: the dot hid the drive letter
    QTest::newRow("drive letter behind a dot") << "./h:4./.@"
                                               << "";
    QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << "";
}

void TestSkinArchive::checkedEntryName()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QString why;
    QCOMPARE(SkinArchive::checkedEntryName(name, &why), expected);
    QCOMPARE(why.isEmpty(), !expected.isEmpty());
}

void TestSkinArchive::symlinkEntriesAreSkipped()
{
    QTemporaryDir root;
    QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("outside"))));
    ArchiveBuilder builder;
    builder.symlink("escape", QFile::encodeName(root.filePath(QStringLiteral("outside"))))
        .file("escape/written-through.txt", "evil")
        .symlink("passwd", "/etc/passwd")
        .file("good.txt", "good");
    // Links are refused, which makes the whole unpacking fail.
    QVERIFY(!unpack(builder, root));

    // No link was made, so the file "through" it landed inside the target.
    QCOMPARE(FileTree::list(root.filePath(QStringLiteral("out"))),
        (QStringList { QStringLiteral("escape/"), QStringLiteral("escape/written-through.txt"),
            QStringLiteral("good.txt") }));
    QCOMPARE(FileTree::list(root.filePath(QStringLiteral("outside"))), QStringList());
}

void TestSkinArchive::existingLinkInTargetIsNotFollowed_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QString>("linkName");
    QTest::addColumn<QString>("linkTarget");

    QTest::newRow("link to a directory on the way") << QByteArray("lnk/x.txt") << "lnk"
                                                    << "outside";
    QTest::newRow("link deeper on the way") << QByteArray("res/lnk/x.txt") << "res/lnk"
                                            << "outside";
    QTest::newRow("link as the file itself") << QByteArray("victim.txt") << "victim.txt"
                                             << "outside/victim.txt";
    QTest::newRow("dangling link as the file") << QByteArray("new.txt") << "new.txt"
                                               << "outside/new.txt";
    QTest::newRow("link as a directory entry") << QByteArray("lnk/") << "lnk"
                                               << "outside";
}

void TestSkinArchive::existingLinkInTargetIsNotFollowed()
{
    QFETCH(QByteArray, entry);
    QFETCH(QString, linkName);
    QFETCH(QString, linkTarget);
    QTemporaryDir root;
    const QString outside = root.filePath(QStringLiteral("outside"));
    QVERIFY(FileTree::write(outside + QStringLiteral("/victim.txt"), "keep"));
    const QString out = root.filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(out + QStringLiteral("/res")));
    QVERIFY(QFile::link(root.filePath(linkTarget), out + QLatin1Char('/') + linkName));

    ArchiveBuilder builder;
    if (entry.endsWith('/'))
        builder.directory(entry).file(entry + "x.txt", "evil");
    else
        builder.file(entry, "evil");
    builder.file("good.txt", "good");
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("refusing.*link")));
    QVERIFY(!unpack(builder, root));

    QCOMPARE(FileTree::list(outside), QStringList { QStringLiteral("victim.txt") });
    QCOMPARE(FileTree::read(outside + QStringLiteral("/victim.txt")), QByteArray("keep"));
    QCOMPARE(FileTree::read(out + QStringLiteral("/good.txt")), QByteArray("good"));
}

void TestSkinArchive::fileWithoutDirectoryEntry()
{
    QTemporaryDir root;
    ArchiveBuilder builder;
    builder.file("res/deep/er/a.png", "png");
    QVERIFY(unpack(builder, root));
    QCOMPARE(FileTree::read(root.filePath(QStringLiteral("out/res/deep/er/a.png"))), QByteArray("png"));
}

void TestSkinArchive::bombOfZerosIsRefused()
{
    QTemporaryDir root;
    ArchiveBuilder builder;
    builder.file("before.txt", "before").zeros("bomb.bin", qint64(64) << 20).file("after.txt", "after");
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("refusing.*bomb.bin.*inflates")));
    QVERIFY(!unpack(builder, root));
    // The bomb is gone; the entries around it are there.
    QCOMPARE(FileTree::list(root.filePath(QStringLiteral("out"))),
        (QStringList { QStringLiteral("after.txt"), QStringLiteral("before.txt") }));
}

void TestSkinArchive::incompressibleLargeFileIsExtracted()
{
    QTemporaryDir root;
    const QByteArray data = randomBytes(3 << 20);
    // Ordinary skin text compresses well but far below the bomb ratio.
    QByteArray text;
    for (int i = 0; text.size() < (2 << 20); ++i)
        text += QByteArray("[KEY") + QByteArray::number(i)
            + "]\r\nVIEW_RECT=" + QByteArray::number(i * 7 % 1080) + ",0,100,80\r\n";
    ArchiveBuilder builder;
    builder.file("res/sheet.png", data).file("port/big.ini", text);
    QVERIFY(unpack(builder, root));
    QCOMPARE(FileTree::read(root.filePath(QStringLiteral("out/res/sheet.png"))), data);
    QCOMPARE(FileTree::read(root.filePath(QStringLiteral("out/port/big.ini"))), text);
}

// Zeros first and noise after: the entry as a whole is far within the ratio
// allowed, though its first megabytes alone are not.
void TestSkinArchive::largeEntryIsJudgedWhole()
{
    QTemporaryDir root;
    const QByteArray data = QByteArray(18 << 20, '\0') + randomBytes(1 << 20);
    QVERIFY(FileTree::write(root.filePath(QStringLiteral("skin/res/sheet.bmp")), data));
    const QString archive = root.filePath(QStringLiteral("skin.zip"));
    QVERIFY(SkinArchive::zip(root.filePath(QStringLiteral("skin")), archive));
    const QString out = root.filePath(QStringLiteral("out"));
    QVERIFY(SkinArchive::unzip(archive, out));
    QVERIFY(FileTree::read(out + QStringLiteral("/res/sheet.bmp")) == data);
}

namespace {

QStringList unzipLines;

void keepUnzipLines(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (message.startsWith(QLatin1String("unzip:")))
        unzipLines.append(message);
}

} // namespace

// Many names that share one stretch of data failing its checksum: what was
// inflated for each counts against the archive, so only the first few are
// inflated at all.
void TestSkinArchive::brokenEntriesCountAgainstTheArchive()
{
    RawZip::RawEntry shared;
    shared.name = "z/0";
    shared.data = QByteArray(1 << 20, '\0');
    shared.deflate = true;
    shared.crcXor = 1;
    for (int i = 1; i < 300; ++i)
        shared.aliases.append("z/" + QByteArray::number(i));
    QTemporaryDir root;
    const QString archive = root.filePath(QStringLiteral("shared.zip"));
    QVERIFY(FileTree::write(archive, RawZip::build(shared)));

    unzipLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepUnzipLines);
    const bool unpacked = SkinArchive::unzip(archive, root.filePath(QStringLiteral("out")));
    qInstallMessageHandler(previous);
    QVERIFY(!unpacked);
    const int inflated = unzipLines.filter(QStringLiteral("checksum does not match")).size();
    QVERIFY2(inflated >= 1 && inflated <= 3, qPrintable(QString::number(inflated)));
    QCOMPARE(unzipLines.filter(QStringLiteral("refusing")).size(), 300 - inflated);
}

// A NUL in a stored name ends it for most readers; here it is refused, not cut.
void TestSkinArchive::nameWithNulIsRefused()
{
    RawZip::RawEntry entry;
    entry.name = QByteArray("ok.txt\0/../../evil.txt", 23);
    entry.data = "evil";
    QTemporaryDir root;
    const QString archive = root.filePath(QStringLiteral("nul.zip"));
    QVERIFY(FileTree::write(archive, RawZip::build(entry)));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("refusing.*contains a NUL")));
    QVERIFY(!SkinArchive::unzip(archive, root.filePath(QStringLiteral("out"))));
    QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("out/ok.txt"))));
}

void TestSkinArchive::totalSizeLimit()
{
    QTemporaryDir root;
    SkinArchive::Limits limits;
    limits.maxTotalBytes = 100000;
    ArchiveBuilder builder;
    builder.file("a.bin", randomBytes(60000)).file("b.bin", randomBytes(60000)).file("c.txt", "small");
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("refusing.*b.bin")));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("refusing.*c.txt")));
    QVERIFY(!unpack(builder, root, limits));
    QCOMPARE(FileTree::list(root.filePath(QStringLiteral("out"))), QStringList { QStringLiteral("a.bin") });
}

void TestSkinArchive::manyEmptyEntries()
{
    QTemporaryDir root;
    const int limit = SkinArchive::Limits().maxEntries;
    QCOMPARE(limit, 20000);
    ArchiveBuilder builder;
    for (int i = 0; i < limit + 5; ++i)
        builder.file("e/" + QByteArray::number(i), QByteArray());
    for (int i = limit; i < limit + 5; ++i)
        QTest::ignoreMessage(
            QtInfoMsg, QRegularExpression(QStringLiteral("refusing.*more than 20000 entries")));
    QVERIFY(!unpack(builder, root));
    const QStringList written = QDir(root.filePath(QStringLiteral("out/e"))).entryList(QDir::Files);
    QCOMPARE(written.size(), limit);
    QVERIFY(written.contains(QStringLiteral("19999")));
    QVERIFY(!written.contains(QStringLiteral("20000")));
}

void TestSkinArchive::emptyArchive()
{
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("empty.zip"));
    QVERIFY(ArchiveBuilder().write(archive));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("is an empty zip archive!")));
    QVERIFY(!SkinArchive::isZipArchive(archive));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("not exists!")));
    QVERIFY(!SkinArchive::isZipArchive(dir.filePath(QStringLiteral("missing.zip"))));
    // Nothing to unpack is no failure, and creates nothing.
    QVERIFY(SkinArchive::unzip(archive, dir.filePath(QStringLiteral("out"))));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("out"))));
}

void TestSkinArchive::truncatedArchive()
{
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("whole.zip"));
    ArchiveBuilder builder;
    builder.file("a.bin", randomBytes(50000)).file("b.bin", randomBytes(50000));
    QVERIFY(builder.write(archive));
    QFile file(archive);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.resize(file.size() / 2));
    file.close();
    const QString out = dir.filePath(QStringLiteral("out"));
    QVERIFY(!SkinArchive::unzip(archive, out));
    // Whatever was read is complete; a broken entry leaves no partial file.
    const QStringList written = FileTree::list(out);
    for (const QString &name : written)
        QCOMPARE(QFileInfo(out + QLatin1Char('/') + name).size(), qint64(50000));
}

void TestSkinArchive::notAnArchive_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("outDirExists");

    QTest::newRow("text, new output directory") << QByteArray("[GENERAL]\r\nthis is no zip\r\n") << false;
    QTest::newRow("text, existing output directory") << QByteArray("[GENERAL]\r\nthis is no zip\r\n") << true;
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("zip signature only") << QByteArray("PK\x03\x04", 4) << true;
    QTest::newRow("tar-like header") << QByteArray(512, '\0') << true;
}

void TestSkinArchive::notAnArchive()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, outDirExists);
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("skin.zip"));
    QVERIFY(FileTree::write(archive, content));
    const QString out = dir.filePath(QStringLiteral("out"));
    if (outDirExists)
        QVERIFY(FileTree::write(out + QStringLiteral("/mine.ini"), "mine"));
    const QStringList before = FileTree::list(dir.path());

    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("is not a zip archive")));
    QVERIFY(!SkinArchive::isZipArchive(archive));
    QVERIFY(!SkinArchive::unzip(archive, out));
    QCOMPARE(FileTree::list(dir.path()), before);
    if (outDirExists)
        QCOMPARE(FileTree::read(out + QStringLiteral("/mine.ini")), QByteArray("mine"));
}

// Many small entries that each inflate within the free allowance, or
// entries sharing compressed data, add up to no more than the whole
// archive's ratio allows.
void TestSkinArchive::wholeArchiveRatio_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<bool>("ok");

    QTest::newRow("within the free allowance") << 3 << true;
    QTest::newRow("forty megabytes of zeros") << 40 << false;
}

void TestSkinArchive::wholeArchiveRatio()
{
    QFETCH(int, entries);
    QFETCH(bool, ok);

    QTemporaryDir root;
    ArchiveBuilder builder;
    const qint64 entrySize = ok ? qint64(256) << 10 : qint64(1) << 20;
    for (int i = 0; i < entries; ++i)
        builder.zeros("z/" + QByteArray::number(i), entrySize);
    const QString archive = root.filePath(QStringLiteral("zeros.zip"));
    QVERIFY(builder.write(archive));
    const QString out = root.filePath(QStringLiteral("out"));
    QCOMPARE(SkinArchive::unzip(archive, out), ok);
    qint64 written = 0;
    QDirIterator it(out, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        written += it.fileInfo().size();
    }
    const SkinArchive::Limits limits;
    QVERIFY(written <= limits.freeBytes + limits.maxArchiveRatio * QFileInfo(archive).size());
    if (ok)
        QCOMPARE(written, entries * entrySize);
}

void TestSkinArchive::fifoEntryIsRefused()
{
    QTemporaryDir root;
    ArchiveBuilder builder;
    builder.file("pipe", "").file("good.txt", "good");
    const QString archive = root.filePath(QStringLiteral("fifo.zip"));
    QVERIFY(builder.write(archive));
    QByteArray zip = FileTree::read(archive);
    QVERIFY(markAsFifo(zip, "pipe"));
    QVERIFY(FileTree::write(archive, zip));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("refusing.*pipe.*not a file")));
    QVERIFY(!SkinArchive::unzip(archive, root.filePath(QStringLiteral("out"))));
    QCOMPARE(
        FileTree::list(root.filePath(QStringLiteral("out"))), QStringList { QStringLiteral("good.txt") });
}

void TestSkinArchive::namesEqualUnderNormalisation()
{
    QTemporaryDir root;
    const QByteArray composed = QStringLiteral("caf\u00e9.txt").toUtf8();
    const QByteArray decomposed = QStringLiteral("cafe\u0301.txt").toUtf8();
    ArchiveBuilder builder;
    builder.file(composed, "first").file(decomposed, "second");
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("refusing.*Unicode normalisation")));
    QVERIFY(!unpack(builder, root));
    const QString out = root.filePath(QStringLiteral("out"));
    QCOMPARE(FileTree::list(out), QStringList { QString::fromUtf8(composed) });
    QCOMPARE(FileTree::read(out + QLatin1Char('/') + QString::fromUtf8(composed)), QByteArray("first"));
}

void TestSkinArchive::packTakesHiddenFilesAndInsideLinks()
{
    QTemporaryDir dir;
    QTemporaryDir outside;
    QVERIFY(FileTree::write(outside.filePath(QStringLiteral("secret.txt")), "secret"));
    const QString skin = dir.filePath(QStringLiteral("skin"));
    QVERIFY(FileTree::write(skin + QStringLiteral("/res/keys.til"), "[IMG1]\r\n"));
    QVERIFY(FileTree::write(skin + QStringLiteral("/.notes"), "hidden"));
    QVERIFY(FileTree::write(skin + QStringLiteral("/.git/config"), "vcs"));
    QVERIFY(QFile::link(skin + QStringLiteral("/res/keys.til"), skin + QStringLiteral("/alias.til")));
    QVERIFY(QFile::link(outside.filePath(QStringLiteral("secret.txt")), skin + QStringLiteral("/leak.txt")));
    QVERIFY(QFile::link(skin + QStringLiteral("/res"), skin + QStringLiteral("/res/loop")));
    const QString archive = dir.filePath(QStringLiteral("s.zip"));
    QStringList leftOut;
    QVERIFY(SkinArchive::zip(skin, archive, &leftOut));
    leftOut.sort();
    QCOMPARE(leftOut, (QStringList { QStringLiteral("leak.txt"), QStringLiteral("res/loop") }));
    QTemporaryDir out;
    QVERIFY(SkinArchive::unzip(archive, out.path()));
    QCOMPARE(FileTree::list(out.path()),
        (QStringList { QStringLiteral(".notes"), QStringLiteral("alias.til"), QStringLiteral("res/"),
            QStringLiteral("res/keys.til") }));
    QCOMPARE(FileTree::read(out.filePath(QStringLiteral("alias.til"))), QByteArray("[IMG1]\r\n"));
}

void TestSkinArchive::unzipReplacingSwapsOnlyWhenComplete_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<bool>("ok");

    QTest::newRow("complete") << "complete" << true;
    QTest::newRow("an entry refused") << "refused" << false;
    QTest::newRow("cancelled") << "cancelled" << false;
    QTest::newRow("not an archive") << "broken" << false;
    QTest::newRow("the disk refuses to sync") << "unsynced" << false;
}

void TestSkinArchive::unzipReplacingSwapsOnlyWhenComplete()
{
    QFETCH(QString, situation);
    QFETCH(bool, ok);

    QTemporaryDir root;
    const QString work = root.filePath(QStringLiteral("work"));
    QVERIFY(FileTree::write(work + QStringLiteral("/old.ini"), "old"));
    ArchiveBuilder builder;
    builder.file("port/new.ini", "new").file("res/keys.til", "[IMG1]\r\n");
    if (situation == QLatin1String("refused"))
        builder.symlink("link", "/etc/passwd");
    const QString archive = root.filePath(QStringLiteral("skin.zip"));
    QVERIFY(builder.write(archive));
    if (situation == QLatin1String("broken"))
        QVERIFY(FileTree::write(archive, "not a zip"));

    std::atomic_bool cancel { false };
    int reports = 0;
    SkinArchive::Progress progress;
    progress.cancel = &cancel;
    progress.report = [&](qint64 done, qint64 total) {
        ++reports;
        QVERIFY(done >= 0 && total > 0);
        if (situation == QLatin1String("cancelled"))
            cancel = true;
    };
    QString error;
    observedSteps.clear();
    AtomicFile::setStepObserver(recordStep);
    {
        SyncFailure refused(situation == QLatin1String("unsynced") ? "fsync" : "");
        QCOMPARE(SkinArchive::unzipReplacing(archive, work, SkinArchive::Limits(), progress, &error), ok);
    }
    AtomicFile::setStepObserver(nullptr);
    QCOMPARE(error.isEmpty(), ok);
    if (ok) {
        QCOMPARE(FileTree::list(work),
            (QStringList { QStringLiteral("port/"), QStringLiteral("port/new.ini"), QStringLiteral("res/"),
                QStringLiteral("res/keys.til") }));
        QVERIFY(reports > 0);
        // each file written straight to its name
        for (const QString &step : qAsConst(observedSteps))
            QVERIFY2(!step.startsWith(QLatin1String("rename")) && !step.startsWith(QLatin1String("reserve")),
                qPrintable(observedSteps.join(QLatin1Char('\n'))));
    } else {
        QCOMPARE(FileTree::list(work), QStringList { QStringLiteral("old.ini") });
    }
    // Nothing is left beside the working directory.
    QCOMPARE(QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        (QStringList { QStringLiteral("skin.zip"), QStringLiteral("work") }));
}

void TestSkinArchive::unzipIntoNewDirectory_data()
{
    QTest::addColumn<bool>("cancel");

    QTest::newRow("complete") << false;
    QTest::newRow("cancelled after the first file") << true;
}

// A directory that does not exist yet is made whole beside its place and
// moved there once: each file written straight to its name, every file and
// directory synced once at the end; a run that does not finish leaves
// nothing at all, neither the directory nor the one it was made in.
void TestSkinArchive::unzipIntoNewDirectory()
{
    QFETCH(bool, cancel);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString archive = mArchives.filePath(QStringLiteral("new-directory.zip"));
    ArchiveBuilder builder;
    builder.file("port/py_26.ini", "[KEY1]\r\n")
        .directory("res/empty/")
        .file("res/keys.til", "[IMG1]\r\n")
        .file("readme.txt", "skin");
    QVERIFY(builder.write(archive));
    const QString root = dir.filePath(QStringLiteral("skins"));
    const QString out = root + QStringLiteral("/new");

    std::atomic_bool stop { false };
    SkinArchive::Progress progress;
    progress.cancel = &stop;
    progress.report = [&](qint64, qint64) { stop = cancel; };
    QString error;
    observedSteps.clear();
    AtomicFile::setStepObserver(recordStep);
    const bool ok = SkinArchive::unzip(archive, out, SkinArchive::Limits(), progress, &error);
    AtomicFile::setStepObserver(nullptr);
    const QStringList steps = observedSteps;

    QCOMPARE(ok, !cancel);
    if (cancel) {
        QVERIFY2(error.contains(QLatin1String("nothing was changed")), qPrintable(error));
        QCOMPARE(QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
        return;
    }
    QCOMPARE(FileTree::list(out),
        QStringList({ "port/", "port/py_26.ini", "readme.txt", "res/", "res/empty/", "res/keys.til" }));
    QCOMPARE(FileTree::read(out + QStringLiteral("/res/keys.til")), QByteArray("[IMG1]\r\n"));
    QCOMPARE(QFileInfo(out + QStringLiteral("/readme.txt")).permissions() & 0x7777,
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser
            | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    // beside it, nothing else is left
    QCOMPARE(QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList { QStringLiteral("new") });
    // no temporary file and no rename per file
    for (const QString &step : steps)
        QVERIFY2(!step.startsWith(QLatin1String("rename")) && !step.startsWith(QLatin1String("reserve")),
            qPrintable(steps.join(QLatin1Char('\n'))));
    // Everything is synced while still in the new directory, so that a disk
    // that refuses it leaves no output directory; then the directory that
    // holds the moved one.
    const QRegularExpression made(QStringLiteral("^sync-directory (.*/\\.new\\.unpack-\\w{6})$"));
    const int madeAt = steps.indexOf(made);
    QVERIFY2(madeAt >= 0, qPrintable(steps.join(QLatin1Char('\n'))));
    const QString base = made.match(steps.at(madeAt)).captured(1);
    const QStringList synced = {
        "sync " + base + "/port/py_26.ini",
        "sync " + base + "/res/keys.til",
        "sync " + base + "/readme.txt",
        "sync-directory " + base + "/port",
        "sync-directory " + base + "/res",
        "sync-directory " + base + "/res/empty",
        "sync-directory " + base,
        "sync-directory " + QFileInfo(root).canonicalFilePath(),
    };
    QCOMPARE(steps.filter(QRegularExpression(QStringLiteral("^sync"))).size(), synced.size());
    for (const QString &step : synced)
        QVERIFY2(steps.count(step) == 1,
            qPrintable(step + QStringLiteral(" in\n") + steps.join(QLatin1Char('\n'))));
    // each file is synced before the directories, and the holding one last
    QVERIFY(steps.lastIndexOf(QRegularExpression(QStringLiteral("^sync /.*")))
        < steps.indexOf(QRegularExpression(QStringLiteral("^sync-directory .*"))));
    QCOMPARE(steps.last(), synced.last());
}

QTEST_GUILESS_MAIN(TestSkinArchive)
#include "tst_skinarchive.moc"
