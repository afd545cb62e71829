#include "skinarchive.h"

#include "skin/atomicfile.h"
#include "skin/syncbatch.h"
#include "skin/zipreader.h"
#include "skin/zipwriter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTextCodec>

#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The compressed bytes an entry is allowed beyond those it used, when its
// ratio is looked at: one block of the archive.
const qint64 kReadAllowance = 10240;
// Sizes stated past this are taken as this, so that sums cannot overflow.
const qint64 kAbsurdBytes = qint64(1) << 50;

// Longest name of one path component and of a whole path, in bytes.
#ifdef NAME_MAX
const int kMaxComponentBytes = NAME_MAX;
#else
const int kMaxComponentBytes = 255;
#endif
#ifdef PATH_MAX
const int kMaxPathBytes = PATH_MAX - 1;
#else
const int kMaxPathBytes = 4095;
#endif

// Where packing stands: the bytes of the files read so far against their
// total, and whether the caller asked it to stop.
struct PackProgress
{
    const SkinArchive::Progress *progress = nullptr;
    qint64 done = 0;
    qint64 total = 0;

    bool cancelled() const { return progress && progress->cancel && progress->cancel->load(); }
    void advance(qint64 bytes)
    {
        done += bytes;
        if (progress && progress->report)
            progress->report(done, total);
    }
};

// Names are stored in the local 8-bit encoding, marked as UTF-8 when that is
// what it is and they are not plain ASCII.
bool localIsUtf8()
{
    const int utf8Mib = 106;
    return QTextCodec::codecForLocale()->mibEnum() == utf8Mib;
}

// False when the archive could not be written or packing was cancelled
// (`writer.stopped()`); a file that can not be read is logged and left out.
bool writeEntry(ZipWriter &writer, const QFileInfo &info, const QString &name, PackProgress &packing)
{
    const QByteArray stored = name.toLocal8Bit();
    bool ascii = true;
    for (const char c : stored)
        ascii = ascii && uchar(c) < 0x80;
    const bool utf8 = !ascii && localIsUtf8();
    if (info.isDir())
        return writer.addDirectory(stored, utf8, info.lastModified());

    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly)) {
        qInfo() << "zip: "
                << "can't open file " << info.absoluteFilePath();
        return true;
    }
    const bool added = writer.addFile(stored, utf8, info.lastModified(), &file, [&packing](qint64 bytes) {
        if (packing.cancelled())
            return false;
        packing.advance(bytes);
        return true;
    });
    if (added || writer.failed() || writer.stopped())
        return added;
    qInfo() << "zip: "
            << "can't read file " << info.absoluteFilePath() << ": " << writer.readError();
    return true;
}

// True when an existing component of base/relative below base is a link:
// writing there would land wherever the link points.
bool passesThroughLink(const QString &base, const QString &relative)
{
    QString path = base;
    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        path += QLatin1Char('/') + part;
        const QFileInfo info(path);
        if (info.isSymLink())
            return true;
        if (!info.exists())
            return false;
    }
    return false;
}

// The archive being written, or the temporary file it is written through
// (its name plus "." and six characters).
bool isOwnOutput(const QString &path, const QString &ownPath)
{
    if (path == ownPath)
        return true;
    return path.size() == ownPath.size() + 7 && path.startsWith(ownPath + QLatin1Char('.'));
}

bool isInside(const QString &base, const QString &path)
{
    return QDir::cleanPath(path).startsWith(base + QLatin1Char('/'));
}

bool isOnlyDots(const QString &name)
{
    const QStringList parts = QString(name)
                                  .replace(QLatin1Char('\\'), QLatin1Char('/'))
                                  .split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (part != QLatin1String("."))
            return false;
    }
    return true;
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// write() until all of it is written, or false with errno set.
bool writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= size_t(written);
    }
    return true;
}

struct Unpacker
{
    ZipReader *reader = nullptr;
    int entryIndex = -1; // the entry being extracted
    SkinArchive::Limits limits;
    QString outDir; // absolute, as given
    QString base; // canonical, once created
    qint64 totalBytes = 0;
    int entries = 0;
    bool stopped = false;
    bool refused = false;
    qint64 archiveSize = 0;
    SkinArchive::Progress progress;
    bool writeFailed = false;
    bool cancelled = false;
    QString error;
    // Complete files waiting to be put in place together at the end.
    std::vector<std::unique_ptr<AtomicFile>> prepared;
    // Each name in Unicode normal form C, with the name it first came as.
    QHash<QString, QString> normalNames;

    // An output directory that does not exist yet is unpacked into a new
    // directory beside it, which takes its place once at the end: nothing
    // there to replace, so every file is written straight to its name, with
    // no temporary file and no rename of its own, and no entry can meet a
    // link. Paths are opened relative to that directory.
    bool fresh = false;
    QString freshPath; // the new directory, once made
    int freshFd = -1;
    QSet<QString> freshDirectories; // relative names made so far
    QStringList freshFiles; // relative names written
    mode_t umask = 0;

    ~Unpacker()
    {
        if (freshFd >= 0)
            ::close(freshFd);
    }

    bool cancelRequested()
    {
        if (progress.cancel && progress.cancel->load()) {
            cancelled = true;
            stopped = true;
        }
        return cancelled;
    }

    void writeError(const QString &reason)
    {
        qInfo() << "unzip: " << reason;
        if (error.isEmpty())
            error = reason;
        writeFailed = true;
        refused = true;
        stopped = true;
    }

    bool cannotCreate()
    {
        qInfo() << "unzip: "
                << "can not create " << outDir;
        if (error.isEmpty())
            error = QStringLiteral("can not create %1").arg(outDir);
        return false;
    }

    bool ensureBase()
    {
        if (!base.isEmpty())
            return true;
        if (fresh) {
            const QFileInfo info(outDir);
            const QString parent = info.absolutePath();
            if (!QDir().mkpath(parent))
                return cannotCreate();
            QByteArray pattern = QFile::encodeName(
                parent + QStringLiteral("/.") + info.fileName() + QStringLiteral(".unpack-XXXXXX"));
            if (!::mkdtemp(pattern.data()))
                return cannotCreate();
            freshPath = QFile::decodeName(pattern);
            freshFd = ::open(pattern.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            const QString canonicalParent = QFileInfo(parent).canonicalFilePath();
            if (freshFd < 0 || canonicalParent.isEmpty())
                return cannotCreate();
            // Where the files will be, for the checks and the messages.
            base = canonicalParent + QLatin1Char('/') + info.fileName();
            return true;
        }
        if (!QDir().mkpath(outDir))
            return cannotCreate();
        base = QFileInfo(outDir).canonicalFilePath();
        return !base.isEmpty();
    }

    void refuse(const QString &name, const QString &why)
    {
        qInfo() << "unzip: "
                << "refusing " << name << ": " << why;
        if (error.isEmpty())
            error = QStringLiteral("refused %1: %2").arg(name, why);
        refused = true;
    }

    // Makes the directory `relative` and the missing ones above it inside
    // the new directory; false when one of them is a file.
    bool makeFreshDirectory(const QString &relative)
    {
        if (relative.isEmpty() || freshDirectories.contains(relative))
            return true;
        const int slash = relative.lastIndexOf(QLatin1Char('/'));
        if (slash > 0 && !makeFreshDirectory(relative.left(slash)))
            return false;
        const QByteArray path = QFile::encodeName(relative);
        if (::mkdirat(freshFd, path.constData(), 0777) != 0) {
            struct stat info;
            if (errno != EEXIST || ::fstatat(freshFd, path.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0
                || !S_ISDIR(info.st_mode))
                return false;
        }
        freshDirectories.insert(relative);
        return true;
    }

    void extractDirectory(const QString &name, const QString &relative, const QString &target)
    {
        if (fresh ? !makeFreshDirectory(relative) : !QDir().mkpath(target))
            refuse(name, QStringLiteral("the directory can not be created"));
    }

    // Copies the entry's data to `write` straight from the reader's buffer,
    // counting against the limits. False when the entry was refused, broken
    // or the write failed; the reason is recorded.
    template <typename Write> bool copyData(const QString &name, Write write)
    {
        qint64 written = 0;
        const auto broken = [&] {
            qInfo() << "unzip: " << name << ": " << reader->errorString();
            // the caller says why nothing was changed
            if (error.isEmpty())
                error = name + QStringLiteral(": ") + reader->errorString();
            refused = true;
            // What was inflated for it counts against the whole archive all
            // the same: many entries sharing one stretch of data that fails
            // its checksum must not inflate it again and again.
            totalBytes += qMax<qint64>(0, reader->entryBytesInflated() - written);
            return false;
        };
        // What the entry says it holds is looked at before any of it is
        // inflated: it holds exactly that or is broken. Many entries that
        // share one stretch of compressed data each cost nothing then.
        const ZipReader::Entry &entry = reader->entries()[size_t(entryIndex)];
        const qint64 stated = qint64(qMin<quint64>(entry.size, quint64(kAbsurdBytes)));
        if (!withinLimits(name, stated, qint64(qMin<quint64>(entry.compressedSize, quint64(kAbsurdBytes)))))
            return false;
        if (!reader->openEntry(entryIndex))
            return broken();
        for (;;) {
            const char *block = nullptr;
            const qint64 length = reader->readData(&block);
            if (length == 0)
                break;
            if (length < 0)
                return broken();
            if (cancelRequested())
                return false;
            if (!withinArchiveLimits(name, length) || !write(block, size_t(length)))
                return false;
            written += length;
            totalBytes += length;
        }
        return true;
    }

    // Whether an entry of `entryBytes` for `read` compressed bytes stays
    // within its own ratio, counted with one block of the archive to spare
    // so that small entries that compress well pass, and within what the
    // whole archive may write; the entry is refused when not. The reader
    // holds every entry to its stated sizes, so the ratio of the whole entry
    // is known before any of it is inflated: a large entry that compresses
    // well only at its start is not refused halfway.
    bool withinLimits(const QString &name, qint64 entryBytes, qint64 read)
    {
        if (entryBytes > limits.freeBytes && entryBytes > limits.maxRatio * (read + kReadAllowance)) {
            refuse(name, QStringLiteral("it inflates more than %1:1").arg(limits.maxRatio));
            return false;
        }
        return withinArchiveLimits(name, entryBytes);
    }

    // Whether `more` bytes stay within what the whole archive may write.
    bool withinArchiveLimits(const QString &name, qint64 more)
    {
        const qint64 archiveAllowance = limits.freeBytes + qint64(limits.maxArchiveRatio) * archiveSize;
        if (totalBytes + more > archiveAllowance) {
            refuse(name,
                QStringLiteral("the archive inflates more than %1:1 as a whole; the rest is refused")
                    .arg(limits.maxArchiveRatio));
            stopped = true;
            return false;
        }
        if (totalBytes + more > limits.maxTotalBytes) {
            refuse(name,
                QStringLiteral("the archive unpacks to more than %1 bytes; the rest is refused")
                    .arg(limits.maxTotalBytes));
            stopped = true;
            return false;
        }
        return true;
    }

    // The entry is written to a temporary file beside its target, which
    // replaces the target only once every entry is complete: a refused or
    // broken entry never leaves a truncated file behind, and a failed write
    // leaves the target as it was. No sync per file, so a skin of thousands
    // of files unpacks quickly; they are synced together at the end.
    void extractFile(const QString &name, const QString &relative, const QString &target)
    {
        if (fresh) {
            extractFreshFile(name, relative, target);
            return;
        }
        const QString parent = QFileInfo(target).absolutePath();
        if (!QDir(parent).exists())
            QDir().mkpath(parent);
        auto output = std::make_unique<AtomicFile>(target);
        AtomicFile &file = *output;
        if (!file.open()) {
            writeError(file.errorString());
            return;
        }
        const bool complete = copyData(name, [&](const char *data, size_t size) {
            if (file.write(data, qint64(size)))
                return true;
            writeError(file.errorString());
            return false;
        });
        if (!complete)
            return;
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
            | QFileDevice::ReadOther);
        if (!file.finish()) {
            writeError(file.errorString());
            return;
        }
        prepared.push_back(std::move(output));
    }

    // Into the new directory: the file itself, written once. One that is
    // refused or broken halfway goes again.
    void extractFreshFile(const QString &name, const QString &relative, const QString &target)
    {
        auto failed = [&](int code) {
            writeError(QStringLiteral("%1 can not be written: %2").arg(target, systemError(code)));
        };
        const int slash = relative.lastIndexOf(QLatin1Char('/'));
        if (slash > 0 && !makeFreshDirectory(relative.left(slash))) {
            failed(ENOTDIR);
            return;
        }
        const QByteArray path = QFile::encodeName(relative);
        const int fd = ::openat(freshFd, path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            failed(errno);
            return;
        }
        // rw-r--r-- whatever the umask, as a replaced file gets
        if ((0644 & umask) != 0)
            ::fchmod(fd, 0644);
        int code = 0;
        const bool complete = copyData(name, [&](const char *data, size_t size) {
            if (writeAll(fd, data, size))
                return true;
            code = errno;
            return false;
        });
        // On its way to the disk now, without waiting: by the time the
        // batch syncs it, one journal commit covers this file and the rest.
        if (complete && code == 0)
            ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
        if (::close(fd) != 0 && complete && code == 0)
            code = errno;
        if (!complete || code != 0) {
            ::unlinkat(freshFd, path.constData(), 0);
            if (code != 0)
                failed(code);
            return;
        }
        freshFiles.append(relative);
    }

    // The new directory, with every file and directory in it, goes to disk
    // through `batch` and then takes the place of the output directory.
    // False, with the reason, when it cannot; when the disk refuses what was
    // unpacked, the new directory is removed and the output directory is
    // not made.
    bool placeFresh(SyncBatch &batch)
    {
        if (freshPath.isEmpty())
            return true;
        ::fchmod(freshFd, 0777 & ~umask);
        auto failed = [this](const QString &reason) {
            qInfo() << "unzip: " << reason;
            error = reason;
            return false;
        };
        for (const QString &file : qAsConst(freshFiles))
            batch.add(freshPath + QLatin1Char('/') + file);
        for (const QString &directory : qAsConst(freshDirectories))
            batch.addDirectory(freshPath + QLatin1Char('/') + directory);
        batch.addDirectory(freshPath);
        if (!batch.sync()) {
            // Named where they were to be.
            const QString reason = batch.errorString().replace(freshPath, base);
            dropFresh();
            return failed(reason + QStringLiteral("; nothing was changed"));
        }
        const QByteArray from = QFile::encodeName(freshPath);
        const QByteArray to = QFile::encodeName(outDir);
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0) {
            const int code = errno;
            dropFresh();
            return failed(
                (code == EEXIST ? QStringLiteral("%1 appeared while unpacking").arg(outDir)
                                : QStringLiteral("can not create %1: %2").arg(outDir, systemError(code)))
                + QStringLiteral("; nothing was changed"));
        }
        // The rename lives in the directory that holds the output directory.
        batch.addDirectory(QFileInfo(base).absolutePath());
        if (!batch.sync())
            return failed(batch.problem());
        return true;
    }

    // Removes the new directory and all that was unpacked into it.
    void dropFresh()
    {
        if (freshPath.isEmpty())
            return;
        QDir(freshPath).removeRecursively();
        freshPath.clear();
    }

    void extract(int index, const QByteArray &rawBytes, const QString &rawName)
    {
        entryIndex = index;
        ++entries;
        if (stopped) {
            refuse(rawName, QStringLiteral("the size limit was reached"));
            return;
        }
        if (entries > limits.maxEntries) {
            refuse(rawName, QStringLiteral("the archive has more than %1 entries").arg(limits.maxEntries));
            return;
        }
        const ZipReader::Type type = reader->entries()[size_t(index)].type;
        if (type != ZipReader::Type::File && type != ZipReader::Type::Directory) {
            refuse(rawName, QStringLiteral("it is a link, a device or a fifo, not a file or directory"));
            return;
        }
        if (type == ZipReader::Type::Directory && isOnlyDots(rawName))
            return;
        QString why;
        const QString name = SkinArchive::checkedEntryName(rawName, &why);
        if (name.isEmpty()) {
            refuse(rawName, why);
            return;
        }
        if (!ensureBase()) {
            refused = true;
            return;
        }
        const QString target = base + QLatin1Char('/') + name;
        if (!isInside(base, target)) {
            refuse(rawName, QStringLiteral("it lies outside the output directory"));
            return;
        }
        if (target.toLocal8Bit().size() > kMaxPathBytes) {
            refuse(rawName, QStringLiteral("the name is too long"));
            return;
        }
        if (!fresh && passesThroughLink(base, name)) {
            refuse(rawName, QStringLiteral("it would be written through a link"));
            return;
        }
        // Two names that differ only in their Unicode form reach us alike
        // (the reader composes them) and would land in one file: the later
        // one is refused. The bytes are read as UTF-8 whatever the locale.
        const QString utf8Name = QString::fromUtf8(rawBytes);
        const QString keys[]
            = { utf8Name.normalized(QString::NormalizationForm_C), QStringLiteral("\x01") + name };
        for (const QString &key : keys) {
            const auto seen = normalNames.constFind(key);
            if (seen == normalNames.constEnd())
                continue;
            // A directory named twice is harmless.
            if (type == ZipReader::Type::Directory && seen.value() == utf8Name)
                return;
            refuse(rawName,
                QStringLiteral("its name equals the earlier %1 under Unicode normalisation")
                    .arg(seen.value()));
            return;
        }
        for (const QString &key : keys)
            normalNames.insert(key, utf8Name);
        if (type == ZipReader::Type::Directory)
            extractDirectory(rawName, name, target);
        else
            extractFile(rawName, name, target);
    }
};

} // namespace

QString SkinArchive::checkedEntryName(const QString &name, QString *why)
{
    auto fail = [why](const QString &reason) {
        if (why)
            *why = reason;
        return QString();
    };
    QString text = name;
    text.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (text.contains(QChar(0)))
        return fail(QStringLiteral("the name contains a NUL"));
    if (text.startsWith(QLatin1Char('/')))
        return fail(QStringLiteral("the name is absolute"));
    QStringList kept;
    const QStringList parts = text.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (part == QLatin1String(".."))
            return fail(QStringLiteral("the name contains a '..' component"));
        if (part == QLatin1String("."))
            continue;
        if (part.toLocal8Bit().size() > kMaxComponentBytes)
            return fail(QStringLiteral("the name is too long"));
        kept.append(part);
    }
    if (kept.isEmpty())
        return fail(QStringLiteral("the name is empty"));
    // Looked at once "." components are gone, so that "./c:x" is refused
    // like "c:x" and a name that passes passes again.
    const QString &first = kept.first();
    if (first.size() >= 2 && first.at(1) == QLatin1Char(':') && first.at(0).unicode() < 128
        && first.at(0).isLetter())
        return fail(QStringLiteral("the name starts with a drive letter"));
    const QString result = kept.join(QLatin1Char('/'));
    if (result.toLocal8Bit().size() > kMaxPathBytes)
        return fail(QStringLiteral("the name is too long"));
    return result;
}

namespace {

// Walks a skin tree for packing: every regular file, hidden ones included,
// and every directory, version-control directories aside. Links are
// followed only while they stay inside the tree and do not loop.
struct PackWalker
{
    struct Item
    {
        QFileInfo info; // what is packed, a link resolved
        QString name;
    };

    QString root; // canonical
    QString ownPath;
    QStringList leftOut;
    QStringList openDirectories; // canonical paths on the way down
    // Listed first and written afterwards, so that progress can be told
    // against the total.
    std::vector<Item> items;
    qint64 totalBytes = 0;

    bool isInsideRoot(const QString &canonical) const
    {
        return canonical == root || canonical.startsWith(root + QLatin1Char('/'));
    }

    void walk(const QString &directory, const QString &prefix)
    {
        const QFileInfoList entries = QDir(directory).entryInfoList(
            QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
        for (const QFileInfo &info : entries) {
            const QString name = prefix + info.fileName();
            if (isOwnOutput(info.absoluteFilePath(), ownPath))
                continue;
            QFileInfo real = info;
            if (info.isSymLink()) {
                const QString canonical = info.canonicalFilePath();
                if (canonical.isEmpty() || !isInsideRoot(canonical) || isOwnOutput(canonical, ownPath)
                    || (QFileInfo(canonical).isDir() && openDirectories.contains(canonical))) {
                    qDebug() << "zip: "
                             << "leaving out " << info.absoluteFilePath()
                             << ": a link leading outside the skin";
                    leftOut.append(name);
                    continue;
                }
                real = QFileInfo(canonical);
            }
            if (real.isDir()) {
                if (!info.isSymLink() && isVersionControl(info.fileName()))
                    continue;
                items.push_back({ real, name });
                const QString canonical = real.canonicalFilePath();
                openDirectories.append(canonical);
                walk(real.absoluteFilePath(), name + QLatin1Char('/'));
                openDirectories.removeLast();
            } else if (real.isFile()) {
                items.push_back({ real, name });
                totalBytes += real.size();
            } else {
                qDebug() << "zip: "
                         << "leaving out " << info.absoluteFilePath() << ": not a regular file";
                leftOut.append(name);
            }
        }
    }

    static bool isVersionControl(const QString &name)
    {
        return name == QLatin1String(".git") || name == QLatin1String(".svn") || name == QLatin1String(".hg");
    }
};

} // namespace

bool SkinArchive::zip(const QString &inDir, const QString &outFile, QStringList *leftOut)
{
    return zip(inDir, outFile, Progress(), leftOut);
}

bool SkinArchive::zip(
    const QString &inDir, const QString &outFile, const Progress &progress, QStringList *leftOut)
{
    qDebug() << "zip: " << inDir << ", " << outFile;

    AtomicFile output(outFile);
    if (!output.open()) {
        qInfo() << "zip: "
                << "can not create " << outFile << output.errorString();
        return false;
    }

    const QFileInfo dirInfo(inDir);
    if (inDir.isEmpty() || !dirInfo.isDir()) {
        qInfo() << "zip: " << dirInfo.absoluteFilePath() << "not exists!";
        output.cancel();
        return false;
    }

    // The archive being written may lie inside the packed tree: it and its
    // temporary file are not packed into themselves.
    const QFileInfo outInfo(outFile);
    const QString outDir = QFileInfo(outInfo.absolutePath()).canonicalFilePath();
    PackWalker walker;
    walker.root = dirInfo.canonicalFilePath();
    walker.ownPath
        = outDir.isEmpty() ? outInfo.absoluteFilePath() : outDir + QLatin1Char('/') + outInfo.fileName();
    walker.openDirectories.append(walker.root);
    walker.walk(walker.root, QString());
    if (leftOut)
        *leftOut = walker.leftOut;

    ZipWriter writer(output.device());
    PackProgress packing;
    packing.progress = &progress;
    packing.total = walker.totalBytes;
    for (const PackWalker::Item &item : walker.items) {
        if (packing.cancelled() || !writeEntry(writer, item.info, item.name, packing))
            break;
    }
    // A cancel that comes after the last file still keeps the old archive.
    if (writer.stopped() || packing.cancelled()) {
        qDebug() << "zip: "
                 << "cancelled, " << outFile << " is left as it was";
        output.cancel();
        return false;
    }
    if (!writer.finish()) {
        qInfo() << "zip: "
                << "write error on " << outFile << writer.errorString();
        output.cancel();
        return false;
    }
    if (!output.commit()) {
        qInfo() << "zip: "
                << "write error on " << outFile << output.errorString();
        return false;
    }
    return true;
}

bool SkinArchive::unzip(const QString &inFile, const QString &outDir)
{
    return unzip(inFile, outDir, Limits());
}

bool SkinArchive::unzip(const QString &inFile, const QString &outDir, const Limits &limits)
{
    return unzip(inFile, outDir, limits, Progress(), nullptr);
}

bool SkinArchive::unzip(const QString &inFile, const QString &outDir, const Limits &limits,
    const Progress &progress, QString *error)
{
    qDebug() << "unzip: " << inFile << ", " << outDir;
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (outDir.isEmpty()) {
        qInfo() << "unzip: "
                << "no output directory given";
        return fail(QStringLiteral("no output directory given"));
    }

    ZipReader reader(QFileInfo(inFile).absoluteFilePath());
    if (!reader.open()) {
        const QString reason = inFile + QStringLiteral(": ") + reader.errorString();
        qInfo() << "unzip: " << reason;
        return fail(reason);
    }

    // Every file is put in place at once and synced with the others at the end.
    SyncBatch batch;
    Unpacker unpacker;
    unpacker.reader = &reader;
    unpacker.limits = limits;
    unpacker.outDir = QFileInfo(outDir).absoluteFilePath();
    unpacker.archiveSize = reader.fileSize();
    unpacker.progress = progress;
    unpacker.umask = currentUmask();
    struct stat existing;
    unpacker.fresh
        = ::lstat(QFile::encodeName(unpacker.outDir).constData(), &existing) != 0 && errno == ENOENT;
    const std::vector<ZipReader::Entry> &entries = reader.entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (unpacker.cancelRequested() || unpacker.writeFailed)
            break;
        const ZipReader::Entry &entry = entries[i];
        // The name as UTF-8 too, whatever the locale: in the local encoding
        // it may have lost what tells two names apart.
        // (Sized, so that a NUL in the name is kept for the name check.)
        const QString rawName = entry.utf8
            ? QString::fromUtf8(entry.name.constData(), entry.name.size())
            : QString::fromLocal8Bit(entry.name.constData(), entry.name.size());
        unpacker.extract(int(i), entry.utf8 ? entry.name : rawName.toUtf8(), rawName);
        if (progress.report)
            progress.report(reader.position(), unpacker.archiveSize);
    }
    if (unpacker.cancelled) {
        unpacker.dropFresh();
        return fail(QStringLiteral("unpacking was cancelled; nothing was changed"));
    }
    // The reader need not have counted every byte of the archive (its
    // directory, a comment) by the time the last entry is done.
    if (progress.report && !unpacker.writeFailed)
        progress.report(unpacker.archiveSize, unpacker.archiveSize);
    if (unpacker.writeFailed) {
        unpacker.dropFresh();
        return fail(unpacker.error + QStringLiteral("; nothing was changed"));
    }
    if (unpacker.fresh) {
        if (!unpacker.placeFresh(batch))
            return fail(unpacker.error);
        if (unpacker.refused)
            return fail(unpacker.error);
        return true;
    }
    // Every file is complete: they go in place back to back, and a rename
    // that fails puts back what the others replaced.
    QVector<AtomicFile *> files;
    for (const auto &file : unpacker.prepared)
        files.append(file.get());
    QString commitError;
    if (!AtomicFile::commitAll(files, &commitError)) {
        qInfo() << "unzip: " << commitError;
        return fail(commitError + QStringLiteral("; nothing was changed"));
    }
    if (!batch.sync()) {
        qInfo() << "unzip: " << batch.errorString();
        return fail(batch.problem());
    }
    if (unpacker.refused)
        return fail(unpacker.error);
    return true;
}

bool SkinArchive::unzipReplacing(const QString &inFile, const QString &outDir, const Limits &limits,
    const Progress &progress, QString *error)
{
    auto fail = [error](const QString &reason) {
        qInfo() << "unzip: " << reason;
        if (error)
            *error = reason;
        return false;
    };
    if (outDir.isEmpty())
        return fail(QStringLiteral("no output directory given"));
    const QFileInfo outInfo(outDir);
    const QString target = outInfo.absoluteFilePath();
    const QString parent = outInfo.absolutePath();
    if (!QDir().mkpath(parent))
        return fail(QStringLiteral("can not create %1").arg(parent));
    if (outInfo.exists() && (!outInfo.isDir() || outInfo.isSymLink()))
        return fail(QStringLiteral("%1 is not a directory").arg(target));

    QTemporaryDir fresh(
        parent + QStringLiteral("/.") + outInfo.fileName() + QStringLiteral(".unpack-XXXXXX"));
    if (!fresh.isValid())
        return fail(QStringLiteral("can not create a directory beside %1").arg(target));
    // Into a directory that does not exist yet: each file is written
    // straight to its name, with no temporary file or rename of its own.
    const QString unpacked = fresh.path() + QStringLiteral("/skin");
    if (!unzip(inFile, unpacked, limits, progress, error))
        return false;
    QFile::setPermissions(unpacked,
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
            | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
    if (progress.cancel && progress.cancel->load())
        return fail(QStringLiteral("unpacking was cancelled; nothing was changed"));

    const QByteArray from = QFile::encodeName(unpacked);
    const QByteArray to = QFile::encodeName(target);
    if (!outInfo.exists()) {
        if (std::rename(from.constData(), to.constData()) != 0)
            return fail(QStringLiteral("can not move the unpacked skin to %1").arg(target));
    } else if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) != 0) {
        // Without an exchange the old directory steps aside first; it comes
        // back if the new one cannot take its place.
        QTemporaryDir aside(
            parent + QStringLiteral("/.") + outInfo.fileName() + QStringLiteral(".old-XXXXXX"));
        if (!aside.isValid())
            return fail(QStringLiteral("can not create a directory beside %1").arg(target));
        const QByteArray old = QFile::encodeName(aside.path());
        ::rmdir(old.constData());
        if (std::rename(to.constData(), old.constData()) != 0)
            return fail(QStringLiteral("can not move %1 aside").arg(target));
        if (std::rename(from.constData(), to.constData()) != 0) {
            std::rename(old.constData(), to.constData());
            return fail(QStringLiteral("can not move the unpacked skin to %1").arg(target));
        }
    }
    // After an exchange the unpacked name holds the old contents, which go
    // with the temporary directory. The renames live in the two directories.
    SyncBatch batch;
    batch.addDirectory(target);
    batch.addDirectory(parent);
    if (!batch.sync())
        return fail(batch.problem());
    return true;
}

bool SkinArchive::zip(const QString &inDir, const QString &outFile, Report *report)
{
    QStringList leftOut;
    const bool packed = zip(inDir, outFile, &leftOut);
    if (report) {
        report->leftOut = leftOut;
        report->files = packed ? fileCount(outFile) : 0;
        if (!packed)
            report->problem
                = QCoreApplication::translate("SkinArchive", "%1 can not be written.").arg(outFile);
    }
    return packed;
}

bool SkinArchive::unzip(const QString &inFile, const QString &outDir, const Limits &limits, Report *report)
{
    QString error;
    const bool unpacked = unzip(inFile, outDir, limits, Progress(), &error);
    if (report) {
        report->files = unpacked ? fileCount(inFile) : 0;
        report->problem = error;
    }
    return unpacked;
}

bool SkinArchive::unzipReplacing(const QString &inFile, const QString &outDir, Report *report)
{
    QString error;
    const bool unpacked = unzipReplacing(inFile, outDir, Limits(), Progress(), &error);
    if (report) {
        report->files = unpacked ? fileCount(inFile) : 0;
        report->problem = error;
    }
    return unpacked;
}

int SkinArchive::fileCount(const QString &path)
{
    ZipReader reader(path);
    if (!reader.open())
        return -1;
    const auto &entries = reader.entries();
    return int(std::count_if(entries.begin(), entries.end(),
        [](const ZipReader::Entry &entry) { return entry.type == ZipReader::Type::File; }));
}

bool SkinArchive::isZipArchive(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        qInfo() << path << " not exists!";
        return false;
    }
    ZipReader reader(path);
    if (!reader.open()) {
        qInfo() << path << " is not a zip archive: " << reader.errorString();
        return false;
    }
    if (reader.entries().empty()) {
        qInfo() << path << " is an empty zip archive!";
        return false;
    }
    return true;
}
