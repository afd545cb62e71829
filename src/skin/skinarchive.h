#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <atomic>
#include <functional>

// Skin archives: zip files (also named ".bds" or ".bdi") packed from and
// unpacked into a skin directory.
//
// Archives come from anywhere, so unpacking trusts nothing in them: every
// entry name is checked, every target must resolve inside the output
// directory, nothing is written through a link that exists there, links,
// devices and fifos are refused, a name equal to an earlier one under Unicode
// normalisation is refused, and decompression bombs are stopped: an entry's
// stated size meets the limits before it is inflated, and its bytes are
// counted as they are written. A refused entry is logged and skipped; the
// rest of the archive is still unpacked. Files are put in place only once
// every one of them is complete: a failed write leaves the target as it was.
class SkinArchive
{
public:
    struct Limits
    {
        qint64 maxTotalBytes = qint64(1) << 30;
        int maxEntries = 20000;
        // An entry may inflate freely up to this size, then by at most
        // maxRatio times the compressed bytes read for it.
        qint64 freeBytes = qint64(1) << 20;
        int maxRatio = 200;
        // The whole archive writes at most freeBytes plus this many times its
        // own size: many small entries, or entries sharing their compressed
        // data, cannot add up to more.
        int maxArchiveRatio = 50;
    };

    // Reports while unpacking (the bytes of the archive read so far and its
    // size) or packing (the bytes of the files packed so far and their sum).
    // Either stops, changing nothing, once `cancel` is set; both may be used
    // from another thread than the one working.
    struct Progress
    {
        std::function<void(qint64 done, qint64 total)> report;
        const std::atomic_bool *cancel = nullptr;
    };

    // Packs every regular file below inDir, hidden ones included, into
    // outFile, leaving out version-control directories (.git, .svn, .hg). A
    // link to a file or directory inside the tree is packed as what it
    // points at; a link leading outside it, dangling or in a loop is left
    // out and named in `leftOut`. An existing outFile is replaced only when
    // the new archive is complete.
    static bool zip(const QString &inDir, const QString &outFile, QStringList *leftOut = nullptr);
    // Needs nothing of the UI thread: a window may run it in a worker. A
    // cancelled run returns false and leaves an existing outFile as it was.
    static bool zip(
        const QString &inDir, const QString &outFile, const Progress &progress, QStringList *leftOut);

    // Unpacks inFile into outDir (created when missing) without clearing it.
    // False when the archive cannot be read or any entry was refused; the
    // reason in `error`.
    static bool unzip(const QString &inFile, const QString &outDir);
    static bool unzip(const QString &inFile, const QString &outDir, const Limits &limits);
    static bool unzip(const QString &inFile, const QString &outDir, const Limits &limits,
        const Progress &progress, QString *error);

    // Unpacks inFile into a new directory beside outDir and, only when that
    // is complete and nothing was refused, puts it in the place of outDir
    // (whose old contents go). A failed or cancelled run leaves outDir as it
    // was. Needs nothing of the UI thread: a window may run it in a worker.
    static bool unzipReplacing(const QString &inFile, const QString &outDir, const Limits &limits,
        const Progress &progress, QString *error);

    // What a pack or an unpack came to, for the author: the files in the
    // archive and, when it failed, why (the log has the details, such as
    // the name of each refused entry).
    struct Report
    {
        int files = 0;
        QString problem;
        QStringList leftOut;
    };
    static bool zip(const QString &inDir, const QString &outFile, Report *report);
    static bool unzip(const QString &inFile, const QString &outDir, const Limits &limits, Report *report);
    static bool unzipReplacing(const QString &inFile, const QString &outDir, Report *report);

    // The regular files an archive lists; -1 when it cannot be read.
    static int fileCount(const QString &path);

    // Whether the file opens as a zip archive with at least one entry.
    static bool isZipArchive(const QString &path);

    // The entry name as a relative path with "/" separators, or an empty text
    // (and the reason in `why`) when it must not be unpacked.
    static QString checkedEntryName(const QString &name, QString *why = nullptr);
};
