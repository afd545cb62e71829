#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

// Reads a zip archive through its central directory: the entries with their
// names, types and sizes, then the data of one entry after another, inflated
// and checked against its size and checksum.
//
// Archives come from anywhere: every offset and length is checked against
// the file before it is used, an entry's data is never read past its stated
// size, and memory stays bounded whatever the archive says (the directory is
// read whole only up to kMaxDirectoryBytes; an entry is inflated whole only
// up to kWholeEntryBytes, larger ones block by block). Stored and deflated
// entries are read; encrypted ones and other methods are refused with a
// reason. Zip64 archives, and archives with bytes before them (a
// self-extracting stub), are read too.
class ZipReader
{
public:
    enum class Type { File, Directory, Link, Special };

    struct Entry
    {
        QByteArray name; // as stored, or from the Unicode path field
        bool utf8 = false; // the name is UTF-8
        Type type = Type::File;
        quint16 flags = 0;
        quint16 method = 0;
        quint32 crc = 0;
        quint64 compressedSize = 0;
        quint64 size = 0;
        quint64 headerOffset = 0; // in the file, any stub counted
    };

    static const qint64 kMaxDirectoryBytes = qint64(16) << 20;
    static const qint64 kWholeEntryBytes = qint64(16) << 20;

    explicit ZipReader(const QString &path);
    ~ZipReader();
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;

    // Reads the directory. False, with the reason, when the file can not
    // be read or is no zip archive.
    bool open();
    // In the order of their data in the file.
    const std::vector<Entry> &entries() const { return mEntries; }

    // Starts on the data of entry `index`. False, with the reason, when its
    // header is broken or its data can not be read (encrypted, an unknown
    // method).
    bool openEntry(int index);
    // The next piece of the open entry's data, valid until the next call:
    // its length (the bytes at `*data`), 0 once the entry is complete and
    // checked, or -1 with the reason when it is broken.
    qint64 readData(const char **data);
    // Compressed bytes of the open entry used so far for what it gave.
    qint64 entryBytesRead() const { return mUsed; }
    // Bytes of the open entry inflated so far, handed out or not: an entry
    // found broken has cost that much all the same.
    qint64 entryBytesInflated() const { return qint64(mProduced); }
    // How far into the file reading has come, against its size.
    qint64 position() const { return mPosition; }
    qint64 fileSize() const { return mFileSize; }

    QString errorString() const { return mError; }

private:
    bool fail(const QString &reason);
    qint64 failed(const QString &reason);
    bool readAt(qint64 offset, char *into, qint64 length);
    bool readDirectory(qint64 eocd, const QByteArray &tail, qint64 tailStart);
    bool parseDirectory(const QByteArray &directory, qint64 shift);
    qint64 readWhole(const char **data);
    qint64 readStored(const char **data);
    qint64 readInflating(const char **data);
    qint64 finishEntry();
    void endInflating();

    QByteArray mPath;
    int mFd = -1;
    qint64 mFileSize = 0;
    std::vector<Entry> mEntries;
    QString mError;

    // The open entry.
    const Entry *mEntry = nullptr;
    qint64 mDataStart = 0;
    qint64 mTaken = 0; // compressed bytes read from the file
    qint64 mUsed = 0; // of them, those inflated so far
    quint64 mProduced = 0; // bytes handed out
    quint32 mCrc = 0;
    bool mEnded = false;
    bool mStreamEnded = false;
    qint64 mPosition = 0;
    QByteArray mInput;
    QByteArray mOutput;
    struct z_stream_s *mStream = nullptr;
    struct libdeflate_decompressor *mDecompressor = nullptr;
};
