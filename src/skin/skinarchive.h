#pragma once

#include <QString>
#include <QtGlobal>

// Skin archives: zip files (also named ".bds" or ".bdi") packed from and
// unpacked into a skin directory.
//
// Archives come from anywhere, so unpacking trusts nothing in them: every
// entry name is checked, every target must resolve inside the output
// directory, nothing is written through a link that exists there, and bytes
// are counted as they are written to stop decompression bombs. A refused entry
// is logged and skipped; the rest of the archive is still unpacked.
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
    };

    // What a pack or an unpack came to, for the author: the files written
    // and, when it failed, why, as one translated sentence (the log has the
    // details, such as the name of each refused entry).
    struct Report
    {
        int files = 0;
        int refused = 0;
        QString problem;
    };

    // Packs the tree below inDir into outFile. An existing outFile is
    // replaced only when the new archive is complete.
    static bool zip(const QString &inDir, const QString &outFile, Report *report = nullptr);

    // Unpacks inFile into outDir (created when missing) without clearing it.
    // False when the archive cannot be read or any entry was refused.
    static bool unzip(const QString &inFile, const QString &outDir);
    static bool unzip(
        const QString &inFile, const QString &outDir, const Limits &limits, Report *report = nullptr);

    // Whether the file opens as a zip archive with at least one entry.
    static bool isZipArchive(const QString &path);

    // The entry name as a relative path with "/" separators, or an empty text
    // (and the reason in `why`) when it must not be unpacked.
    static QString checkedEntryName(const QString &name, QString *why = nullptr);
};
