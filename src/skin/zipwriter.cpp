#include "zipwriter.h"
#include "zipformat.h"

#include <QDate>
#include <QIODevice>
#include <QTime>

#include <libdeflate.h>
#include <zlib.h>

#include <limits>

namespace {

using namespace ZipFormat;

const quint16 kTimeExtra = 0x5455;
const quint16 kVersion = 20;
const quint16 kVersion64 = 45;
const quint16 kMadeByUnix = 3 << 8;
const quint32 kMax16 = 0xffff;
const quint64 kMax32 = 0xffffffffu;
const int kLevel = 6;
const qint64 kChunk = qint64(1) << 20;

// Little-endian fields appended to a header.
struct Fields
{
    QByteArray bytes;
    Fields &u16(quint32 value)
    {
        bytes.append(char(value & 0xff)).append(char((value >> 8) & 0xff));
        return *this;
    }
    Fields &u32(quint64 value) { return u16(quint32(value & 0xffff)).u16(quint32((value >> 16) & 0xffff)); }
    Fields &u64(quint64 value) { return u32(value & kMax32).u32(value >> 32); }
    Fields &raw(const QByteArray &more)
    {
        bytes.append(more);
        return *this;
    }
};

bool fitsInt32(qint64 value)
{
    return value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max();
}

// The modification time for readers that look at the Unix seconds.
QByteArray timeExtra(qint64 mtime)
{
    if (!fitsInt32(mtime))
        return QByteArray();
    return Fields().u16(kTimeExtra).u16(5).raw(QByteArray(1, char(1))).u32(quint32(qint32(mtime))).bytes;
}

} // namespace

ZipWriter::ZipWriter(QIODevice *device)
    : mDevice(device)
{ }

ZipWriter::~ZipWriter()
{
    if (mCompressor)
        libdeflate_free_compressor(mCompressor);
}

ZipWriter::Entry ZipWriter::newEntry(
    const QByteArray &name, bool utf8, const QDateTime &modified, quint32 mode) const
{
    Entry entry;
    entry.name = name;
    entry.flags = utf8 ? kUtf8Flag : 0;
    entry.mode = mode;
    entry.offset = mOffset;
    const QDateTime local = modified.isValid() ? modified.toLocalTime() : QDateTime::currentDateTime();
    entry.mtime = local.toSecsSinceEpoch();
    // DOS times run from 1980 to 2107, in two-second steps.
    QDate date = local.date();
    QTime time = local.time();
    if (date.year() < 1980) {
        date = QDate(1980, 1, 1);
        time = QTime(0, 0);
    } else if (date.year() > 2107) {
        date = QDate(2107, 12, 31);
        time = QTime(23, 59, 58);
    }
    entry.dosTime = quint16((time.hour() << 11) | (time.minute() << 5) | (time.second() / 2));
    entry.dosDate = quint16(((date.year() - 1980) << 9) | (date.month() << 5) | date.day());
    return entry;
}

bool ZipWriter::addDirectory(const QByteArray &name, bool utf8, const QDateTime &modified)
{
    if (mFailed)
        return false;
    const QByteArray stored = name.endsWith('/') ? name : name + '/';
    if (stored.size() >= int(kMax16))
        return fail(QStringLiteral("a name is too long for the archive"));
    Entry entry = newEntry(stored, utf8, modified, 040755);
    entry.method = kStored;
    if (!write(localHeader(entry)))
        return false;
    mEntries.push_back(entry);
    return true;
}

bool ZipWriter::addFile(const QByteArray &name, bool utf8, const QDateTime &modified, QIODevice *source,
    const ReadObserver &observer)
{
    if (mFailed)
        return false;
    if (name.size() >= int(kMax16))
        return fail(QStringLiteral("a name is too long for the archive"));
    Entry entry = newEntry(name, utf8, modified, 0100644);

    // Up to one byte past the whole-file size tells which way it goes.
    QByteArray head;
    mReadError.clear();
    if (readUpTo(source, &head, kWholeFileBytes + 1, observer) < 0)
        return false;
    const bool written
        = head.size() <= kWholeFileBytes ? addWhole(entry, head) : addStreamed(entry, head, source, observer);
    if (!written)
        return false;
    mEntries.push_back(entry);
    return true;
}

qint64 ZipWriter::readUpTo(QIODevice *source, QByteArray *into, qint64 limit, const ReadObserver &observer)
{
    const qint64 start = into->size();
    while (into->size() - start < limit) {
        const qint64 wanted = qMin(kChunk, limit - (into->size() - start));
        const qint64 at = into->size();
        into->resize(int(at + wanted));
        const qint64 got = source->read(into->data() + at, wanted);
        into->resize(int(at + qMax<qint64>(got, 0)));
        if (got < 0) {
            mReadError = source->errorString();
            return -1;
        }
        if (got == 0)
            break;
        if (observer && !observer(got)) {
            mStopped = true;
            mFailed = true;
            return -1;
        }
    }
    return into->size() - start;
}

bool ZipWriter::addWhole(Entry &entry, const QByteArray &data)
{
    entry.size = quint64(data.size());
    entry.crc = quint32(libdeflate_crc32(0, data.constData(), size_t(data.size())));
    QByteArray packed;
    if (!data.isEmpty()) {
        if (!mCompressor)
            mCompressor = libdeflate_alloc_compressor(kLevel);
        if (!mCompressor)
            return fail(QStringLiteral("out of memory"));
        packed.resize(int(libdeflate_deflate_compress_bound(mCompressor, size_t(data.size()))));
        const size_t length = libdeflate_deflate_compress(
            mCompressor, data.constData(), size_t(data.size()), packed.data(), size_t(packed.size()));
        packed.resize(int(length));
    }
    // Kept as it is when deflating does not make it smaller.
    const bool deflated = !packed.isEmpty() && packed.size() < data.size();
    entry.method = deflated ? kDeflated : kStored;
    entry.compressed = quint64(deflated ? packed.size() : data.size());
    return write(localHeader(entry)) && write(deflated ? packed : data);
}

bool ZipWriter::addStreamed(
    Entry &entry, const QByteArray &head, QIODevice *source, const ReadObserver &observer)
{
    // The sizes are known only at the end: the header gets its place now and
    // its values then, in the zip64 field that it always has.
    if (mDevice->isSequential())
        return fail(QStringLiteral("the archive can not be written to a stream"));
    entry.method = kDeflated;
    entry.streamed = true;
    if (!write(localHeader(entry)))
        return false;

    z_stream stream {};
    if (deflateInit2(&stream, kLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return fail(QStringLiteral("out of memory"));
    QByteArray input = head;
    QByteArray output(int(kChunk), Qt::Uninitialized);
    bool ok = true;
    for (bool last = false; ok && !last;) {
        entry.crc = quint32(libdeflate_crc32(entry.crc, input.constData(), size_t(input.size())));
        entry.size += quint64(input.size());
        // The last bytes are flushed once nothing more comes.
        QByteArray next;
        const qint64 read = readUpTo(source, &next, kChunk, observer);
        if (read < 0) {
            // Its header is out already: the archive can not be completed.
            ok = false;
            if (!mStopped)
                fail(mReadError);
            break;
        }
        last = read == 0;
        stream.next_in = reinterpret_cast<Bytef *>(input.data());
        stream.avail_in = uInt(input.size());
        do {
            stream.next_out = reinterpret_cast<Bytef *>(output.data());
            stream.avail_out = uInt(output.size());
            deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            const qint64 produced = output.size() - qint64(stream.avail_out);
            entry.compressed += quint64(produced);
            ok = write(output.constData(), produced);
        } while (ok && stream.avail_out == 0);
        input = next;
    }
    deflateEnd(&stream);
    if (!ok)
        return false;

    const quint64 end = mOffset;
    const QByteArray header = localHeader(entry);
    if (!mDevice->seek(qint64(entry.offset)) || !write(header) || !mDevice->seek(qint64(end)))
        return fail(mDevice->errorString());
    mOffset = end;
    return true;
}

bool ZipWriter::Entry::sizesInZip64() const
{
    // A streamed entry's sizes are not known when its header is written.
    return streamed || size >= kMax32 || compressed >= kMax32;
}

QByteArray ZipWriter::localHeader(const Entry &entry) const
{
    const bool zip64 = entry.sizesInZip64();
    QByteArray extra = timeExtra(entry.mtime);
    if (zip64)
        extra += Fields().u16(kZip64Extra).u16(16).u64(entry.size).u64(entry.compressed).bytes;
    return Fields()
        .u32(kLocalSignature)
        .u16(zip64 ? kVersion64 : kVersion)
        .u16(entry.flags)
        .u16(entry.method)
        .u16(entry.dosTime)
        .u16(entry.dosDate)
        .u32(entry.crc)
        .u32(zip64 ? kMax32 : entry.compressed)
        .u32(zip64 ? kMax32 : entry.size)
        .u16(quint32(entry.name.size()))
        .u16(quint32(extra.size()))
        .raw(entry.name)
        .raw(extra)
        .bytes;
}

bool ZipWriter::finish()
{
    if (mFailed)
        return false;
    const quint64 directoryOffset = mOffset;
    for (const Entry &entry : mEntries) {
        // Every value too large for its field goes into the zip64 field, in
        // this order; a streamed entry has its sizes there, as in its header.
        const bool bigSizes = entry.sizesInZip64();
        const bool bigOffset = entry.offset >= kMax32;
        Fields zip64;
        if (bigSizes)
            zip64.u64(entry.size).u64(entry.compressed);
        if (bigOffset)
            zip64.u64(entry.offset);
        QByteArray extra = timeExtra(entry.mtime);
        if (!zip64.bytes.isEmpty())
            extra += Fields().u16(kZip64Extra).u16(quint32(zip64.bytes.size())).raw(zip64.bytes).bytes;
        const quint16 version = zip64.bytes.isEmpty() ? kVersion : kVersion64;
        const quint32 dosAttributes = (entry.mode & 040000) ? 0x10 : 0;
        const QByteArray record = Fields()
                                      .u32(kCentralSignature)
                                      .u16(kMadeByUnix | version)
                                      .u16(version)
                                      .u16(entry.flags)
                                      .u16(entry.method)
                                      .u16(entry.dosTime)
                                      .u16(entry.dosDate)
                                      .u32(entry.crc)
                                      .u32(bigSizes ? kMax32 : entry.compressed)
                                      .u32(bigSizes ? kMax32 : entry.size)
                                      .u16(quint32(entry.name.size()))
                                      .u16(quint32(extra.size()))
                                      .u16(0) // comment
                                      .u16(0) // disk
                                      .u16(0) // internal attributes
                                      .u32((quint64(entry.mode) << 16) | dosAttributes)
                                      .u32(bigOffset ? kMax32 : entry.offset)
                                      .raw(entry.name)
                                      .raw(extra)
                                      .bytes;
        if (!write(record))
            return false;
    }
    const quint64 directorySize = mOffset - directoryOffset;
    const quint64 count = mEntries.size();
    const bool zip64 = count >= kMax16 || directorySize >= kMax32 || directoryOffset >= kMax32;
    Fields end;
    if (zip64) {
        const quint64 recordOffset = mOffset;
        end.u32(kEnd64Signature)
            .u64(44)
            .u16(kMadeByUnix | kVersion64)
            .u16(kVersion64)
            .u32(0)
            .u32(0)
            .u64(count)
            .u64(count)
            .u64(directorySize)
            .u64(directoryOffset);
        end.u32(kLocator64Signature).u32(0).u64(recordOffset).u32(1);
    }
    end.u32(kEndSignature)
        .u16(0)
        .u16(0)
        .u16(zip64 ? kMax16 : quint32(count))
        .u16(zip64 ? kMax16 : quint32(count))
        .u32(zip64 ? kMax32 : directorySize)
        .u32(zip64 ? kMax32 : directoryOffset)
        .u16(0);
    return write(end.bytes);
}

bool ZipWriter::write(const QByteArray &bytes)
{
    return write(bytes.constData(), bytes.size());
}

bool ZipWriter::write(const char *data, qint64 size)
{
    if (mFailed)
        return false;
    if (size > 0 && mDevice->write(data, size) != size)
        return fail(mDevice->errorString());
    mOffset += quint64(size);
    return true;
}

bool ZipWriter::fail(const QString &reason)
{
    mFailed = true;
    if (mError.isEmpty())
        mError = reason;
    return false;
}
