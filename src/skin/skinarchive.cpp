#include "skinarchive.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <QTemporaryFile>

#include <archive.h>
#include <archive_entry.h>

#include <climits>
#include <cstdio>

namespace {

const int kBlockSize = 8192;

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

QString errorText(struct archive *archive)
{
    return QString::fromLocal8Bit(archive_error_string(archive));
}

// The archive is written to a temporary file that replaces outFile only once
// it is complete; a failed write is remembered so the archive is not kept.
struct ZipOutput
{
    QSaveFile file;
    bool failed = false;
    explicit ZipOutput(const QString &name)
        : file(name)
    { }
};

la_ssize_t writeToOutput(struct archive *archive, void *data, const void *buffer, size_t length)
{
    auto *output = static_cast<ZipOutput *>(data);
    const qint64 written = output->file.write(static_cast<const char *>(buffer), qint64(length));
    if (written != qint64(length)) {
        output->failed = true;
        archive_set_error(archive, EIO, "write error");
        return -1;
    }
    return la_ssize_t(written);
}

qint64 secondsOf(const QDateTime &time, const QDateTime &fallback)
{
    return time.isValid() ? time.toSecsSinceEpoch() : fallback.toSecsSinceEpoch();
}

// True when a file's contents were packed.
bool writeEntry(struct archive *writer, const QFileInfo &info, const QString &name)
{
    struct archive_entry *entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.toLocal8Bit().constData());
    const QDateTime modified = info.lastModified();
    archive_entry_set_birthtime(entry, secondsOf(info.birthTime(), modified), 0);
    archive_entry_set_atime(entry, modified.toSecsSinceEpoch(), 0);
    archive_entry_set_mtime(entry, modified.toSecsSinceEpoch(), 0);
    archive_entry_set_ctime(entry, secondsOf(info.metadataChangeTime(), modified), 0);

    if (info.isDir()) {
        archive_entry_set_size(entry, 0);
        archive_entry_set_filetype(entry, AE_IFDIR);
        archive_entry_set_perm(entry, 0755);
        const int result = archive_write_header(writer, entry);
        if (result < ARCHIVE_OK)
            qInfo() << "zip: " << errorText(writer);
        archive_entry_free(entry);
        return false;
    }

    archive_entry_set_size(entry, info.size());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    const int result = archive_write_header(writer, entry);
    archive_entry_free(entry);
    if (result < ARCHIVE_OK) {
        qInfo() << "zip: " << errorText(writer);
        if (result < ARCHIVE_WARN)
            return false;
    }
    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly)) {
        qInfo() << "zip: "
                << "can't open file " << info.absoluteFilePath();
        return false;
    }
    char buffer[kBlockSize];
    qint64 length;
    while ((length = file.read(buffer, sizeof buffer)) > 0)
        archive_write_data(writer, buffer, size_t(length));
    return true;
}

// Fills the report's reason, when the caller asked for one.
bool fail(SkinArchive::Report *report, const QString &problem)
{
    if (report)
        report->problem = problem;
    return false;
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

struct Unpacker
{
    struct archive *reader;
    SkinArchive::Limits limits;
    QString outDir; // absolute, as given
    QString base; // canonical, once created
    qint64 totalBytes = 0;
    int entries = 0;
    int files = 0;
    int refusedEntries = 0;
    bool stopped = false;
    bool refused = false;

    bool ensureBase()
    {
        if (!base.isEmpty())
            return true;
        if (!QDir().mkpath(outDir)) {
            qInfo() << "unzip: "
                    << "can not create " << outDir;
            return false;
        }
        base = QFileInfo(outDir).canonicalFilePath();
        return !base.isEmpty();
    }

    void refuse(const QString &name, const QString &why)
    {
        qInfo() << "unzip: "
                << "refusing " << name << ": " << why;
        notWritten();
    }

    void notWritten()
    {
        refused = true;
        ++refusedEntries;
    }

    void extractDirectory(const QString &name, const QString &target)
    {
        if (!QDir().mkpath(target))
            qInfo() << "unzip: "
                    << "can not create " << name;
    }

    // The entry is written to a temporary file beside its target, which
    // replaces the target only once complete: a refused or broken entry never
    // leaves a truncated file behind. No sync per file, so a skin of
    // thousands of files unpacks quickly.
    void extractFile(const QString &name, const QString &target)
    {
        const QString parent = QFileInfo(target).absolutePath();
        if (!QDir(parent).exists())
            QDir().mkpath(parent);
        QTemporaryFile file(parent + QStringLiteral("/.unzip-XXXXXX"));
        if (!file.open()) {
            qDebug() << "unzip: "
                     << "can not open " << target;
            return;
        }
        const qint64 startRead = archive_filter_bytes(reader, -1);
        qint64 written = 0;
        char buffer[kBlockSize];
        for (;;) {
            const la_ssize_t length = archive_read_data(reader, buffer, sizeof buffer);
            if (length == 0)
                break;
            if (length < 0) {
                qInfo() << "unzip: " << name << ": " << errorText(reader);
                notWritten();
                return;
            }
            if (totalBytes + length > limits.maxTotalBytes) {
                refuse(name,
                    QStringLiteral("the archive unpacks to more than %1 bytes; the rest is refused")
                        .arg(limits.maxTotalBytes));
                stopped = true;
                return;
            }
            if (file.write(buffer, length) != length) {
                qInfo() << "unzip: "
                        << "write error on " << target;
                notWritten();
                return;
            }
            written += length;
            totalBytes += length;
            // The reader fetches the archive in blocks, so the bytes read for
            // this entry are known only to within one block.
            const qint64 read = archive_filter_bytes(reader, -1) - startRead + 10240;
            if (written > limits.freeBytes && written > limits.maxRatio * read) {
                refuse(name, QStringLiteral("it inflates more than %1:1").arg(limits.maxRatio));
                return;
            }
        }
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
            | QFileDevice::ReadOther);
        if (!file.flush()
            || std::rename(
                   QFile::encodeName(file.fileName()).constData(), QFile::encodeName(target).constData())
                != 0) {
            qInfo() << "unzip: "
                    << "write error on " << target;
            notWritten();
            return;
        }
        file.setAutoRemove(false);
        ++files;
    }

    void extract(struct archive_entry *entry, const QString &rawName)
    {
        ++entries;
        if (stopped) {
            refuse(rawName, QStringLiteral("the size limit was reached"));
            return;
        }
        if (entries > limits.maxEntries) {
            refuse(rawName, QStringLiteral("the archive has more than %1 entries").arg(limits.maxEntries));
            return;
        }
        const auto type = archive_entry_filetype(entry);
        if (type != AE_IFREG && type != AE_IFDIR) {
            qInfo() << "unzip: "
                    << "skipping " << rawName << ": not a file or directory";
            return;
        }
        if (type == AE_IFDIR && isOnlyDots(rawName))
            return;
        QString why;
        const QString name = SkinArchive::checkedEntryName(rawName, &why);
        if (name.isEmpty()) {
            refuse(rawName, why);
            return;
        }
        if (!ensureBase()) {
            notWritten();
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
        if (passesThroughLink(base, name)) {
            refuse(rawName, QStringLiteral("it would be written through a link"));
            return;
        }
        if (type == AE_IFDIR)
            extractDirectory(rawName, target);
        else
            extractFile(rawName, target);
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
    if (text.size() >= 2 && text.at(1) == QLatin1Char(':') && text.at(0).unicode() < 128
        && text.at(0).isLetter())
        return fail(QStringLiteral("the name starts with a drive letter"));

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
    const QString result = kept.join(QLatin1Char('/'));
    if (result.toLocal8Bit().size() > kMaxPathBytes)
        return fail(QStringLiteral("the name is too long"));
    return result;
}

bool SkinArchive::zip(const QString &inDir, const QString &outFile, Report *report)
{
    qDebug() << "zip: " << inDir << ", " << outFile;

    struct archive *writer = archive_write_new();
    archive_write_set_format_zip(writer);
    archive_write_set_bytes_in_last_block(writer, 1);

    ZipOutput output(outFile);
    if (!output.file.open(QIODevice::WriteOnly)) {
        qInfo() << "zip: "
                << "can not create " << outFile;
        archive_write_free(writer);
        return fail(
            report, QCoreApplication::translate("SkinArchive", "%1 can not be created.").arg(outFile));
    }
    const int opened = archive_write_open(writer, &output, nullptr, writeToOutput, nullptr);
    if (opened < ARCHIVE_OK) {
        qInfo() << "zip: " << errorText(writer);
        if (opened < ARCHIVE_WARN) {
            const QString why = errorText(writer);
            archive_write_free(writer);
            output.file.cancelWriting();
            return fail(report,
                QCoreApplication::translate("SkinArchive", "%1 can not be written: %2").arg(outFile, why));
        }
    }

    const QFileInfo dirInfo(inDir);
    if (inDir.isEmpty() || !dirInfo.isDir()) {
        qInfo() << "zip: " << dirInfo.absoluteFilePath() << "not exists!";
        archive_write_free(writer);
        output.file.cancelWriting();
        return fail(report,
            QCoreApplication::translate("SkinArchive", "The skin directory %1 does not exist.")
                .arg(dirInfo.absoluteFilePath()));
    }

    const QDir root(dirInfo.absoluteFilePath());
    // The archive being written may lie inside the packed tree: it and its
    // temporary file are not packed into themselves.
    const QString ownPath = QFileInfo(outFile).absoluteFilePath();
    QDirIterator it(root.absolutePath(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (isOwnOutput(info.absoluteFilePath(), ownPath))
            continue;
        // Links are not packed: their targets may lie outside the skin.
        if (info.isSymLink() || !(info.isFile() || info.isDir())) {
            qDebug() << "zip: "
                     << "skipping " << info.absoluteFilePath();
            continue;
        }
        if (writeEntry(writer, info, root.relativeFilePath(info.absoluteFilePath())) && report)
            ++report->files;
    }

    const int closed = archive_write_close(writer);
    archive_write_free(writer);
    if (closed < ARCHIVE_OK || output.failed) {
        qInfo() << "zip: "
                << "write error on " << outFile;
        output.file.cancelWriting();
        return fail(report,
            QCoreApplication::translate("SkinArchive", "%1 can not be written (is the disk full?).")
                .arg(outFile));
    }
    if (!output.file.commit()) {
        qInfo() << "zip: "
                << "write error on " << outFile;
        return fail(report,
            QCoreApplication::translate("SkinArchive", "%1 can not be written: %2")
                .arg(outFile, output.file.errorString()));
    }
    return true;
}

bool SkinArchive::unzip(const QString &inFile, const QString &outDir)
{
    return unzip(inFile, outDir, Limits());
}

bool SkinArchive::unzip(const QString &inFile, const QString &outDir, const Limits &limits, Report *report)
{
    qDebug() << "unzip: " << inFile << ", " << outDir;
    if (outDir.isEmpty()) {
        qInfo() << "unzip: "
                << "no output directory given";
        return fail(
            report, QCoreApplication::translate("SkinArchive", "No directory to unpack into was given."));
    }

    struct archive *reader = archive_read_new();
    archive_read_support_format_zip(reader);
    const QByteArray path = QFileInfo(inFile).absoluteFilePath().toLocal8Bit();
    if (archive_read_open_filename(reader, path.constData(), 10240) != ARCHIVE_OK) {
        qInfo() << "unzip: " << inFile << ": " << errorText(reader);
        const QString why = errorText(reader);
        archive_read_free(reader);
        return fail(report,
            QCoreApplication::translate("SkinArchive", "%1 is not a readable zip archive: %2")
                .arg(inFile, why));
    }

    Unpacker unpacker { reader, limits, QFileInfo(outDir).absoluteFilePath(), QString() };
    for (;;) {
        struct archive_entry *entry = nullptr;
        const int result = archive_read_next_header(reader, &entry);
        if (result == ARCHIVE_EOF)
            break;
        if (result < ARCHIVE_OK)
            qInfo() << "unzip: " << errorText(reader);
        if (result < ARCHIVE_WARN) {
            const QString why = errorText(reader);
            archive_read_free(reader);
            if (report) {
                report->files = unpacker.files;
                report->refused = unpacker.refusedEntries;
            }
            return fail(report,
                QCoreApplication::translate("SkinArchive", "%1 is damaged after %2 files: %3")
                    .arg(inFile, QString::number(unpacker.files), why));
        }
        const char *name = archive_entry_pathname(entry);
        const QString rawName
            = name ? QString::fromLocal8Bit(name) : QString::fromUtf8(archive_entry_pathname_utf8(entry));
        unpacker.extract(entry, rawName);
    }
    archive_read_free(reader);
    if (report) {
        report->files = unpacker.files;
        report->refused = unpacker.refusedEntries;
    }
    if (unpacker.refused)
        return fail(report,
            QCoreApplication::translate(
                "SkinArchive", "%1 entries of %2 were refused or could not be written; the log names them.")
                .arg(QString::number(unpacker.refusedEntries), inFile));
    return true;
}

bool SkinArchive::isZipArchive(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        qInfo() << path << " not exists!";
        return false;
    }
    struct archive *reader = archive_read_new();
    archive_read_support_format_zip(reader);
    bool readable = false;
    if (archive_read_open_filename(reader, QFile::encodeName(path).constData(), 10240) != ARCHIVE_OK) {
        qInfo() << path << " is not a zip archive: " << archive_error_string(reader);
    } else {
        struct archive_entry *entry = nullptr;
        const int result = archive_read_next_header(reader, &entry);
        if (result == ARCHIVE_OK || result == ARCHIVE_WARN)
            readable = true;
        else if (result == ARCHIVE_EOF)
            qInfo() << path << " is an empty zip archive!";
        else
            qInfo() << path << " is not a zip archive: " << archive_error_string(reader);
    }
    archive_read_free(reader);
    return readable;
}
