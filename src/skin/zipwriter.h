#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

class QIODevice;

// Writes a zip archive, entry after entry, to a device: each file deflated
// at the default level (or stored when deflating does not make it smaller),
// with its modification time and Unix permissions, and the central
// directory at the end. Sizes and offsets past 4 GiB, and more than 65,535
// entries, are written in the zip64 form.
//
// A file is read and deflated whole when it is small enough, which is much
// faster than deflating it block by block; a larger one is streamed, so that
// memory stays bounded (the device must then be seekable: the entry's header
// gets its sizes once they are known).
class ZipWriter
{
public:
    // Bytes read from a file so far, for progress; false stops the writing.
    using ReadObserver = std::function<bool(qint64 bytes)>;

    explicit ZipWriter(QIODevice *device);
    ~ZipWriter();
    ZipWriter(const ZipWriter &) = delete;
    ZipWriter &operator=(const ZipWriter &) = delete;

    // `name` is the entry's path with "/" separators, in the bytes stored;
    // `utf8` marks it as UTF-8 for readers. A directory's name gets its
    // trailing "/" here.
    bool addDirectory(const QByteArray &name, bool utf8, const QDateTime &modified);
    // Copies what `source` has left to read. False when writing failed
    // (`failed`), when `observer` asked to stop (`stopped`), or when the
    // source could not be read (`readError`): when that happened before
    // anything of the entry was written, the archive goes on without it.
    bool addFile(const QByteArray &name, bool utf8, const QDateTime &modified, QIODevice *source,
        const ReadObserver &observer = ReadObserver());
    // Writes the central directory. No entry may follow.
    bool finish();

    bool failed() const { return mFailed; }
    bool stopped() const { return mStopped; }
    QString errorString() const { return mError; }
    QString readError() const { return mReadError; }

    // Files up to this size are deflated whole.
    static const qint64 kWholeFileBytes = qint64(16) << 20;

private:
    struct Entry
    {
        QByteArray name;
        quint64 offset = 0;
        quint64 compressed = 0;
        quint64 size = 0;
        quint32 crc = 0;
        quint32 mode = 0;
        quint16 flags = 0;
        quint16 method = 0;
        quint16 dosTime = 0;
        quint16 dosDate = 0;
        qint64 mtime = 0;
        bool streamed = false;

        // Whether its sizes go in the zip64 field, in its local header and
        // in the central directory alike.
        bool sizesInZip64() const;
    };

    bool addWhole(Entry &entry, const QByteArray &data);
    bool addStreamed(Entry &entry, const QByteArray &head, QIODevice *source, const ReadObserver &observer);
    // Appends up to `limit` bytes of `source` to `into`: how many, or -1
    // when reading failed or the observer stopped it.
    qint64 readUpTo(QIODevice *source, QByteArray *into, qint64 limit, const ReadObserver &observer);
    QByteArray localHeader(const Entry &entry) const;
    bool write(const QByteArray &bytes);
    bool write(const char *data, qint64 size);
    bool fail(const QString &reason);
    // An entry at the current end, with its times in both forms.
    Entry newEntry(const QByteArray &name, bool utf8, const QDateTime &modified, quint32 mode) const;

    QIODevice *mDevice;
    quint64 mOffset = 0;
    std::vector<Entry> mEntries;
    struct libdeflate_compressor *mCompressor = nullptr;
    bool mFailed = false;
    bool mStopped = false;
    QString mError;
    QString mReadError;
};
