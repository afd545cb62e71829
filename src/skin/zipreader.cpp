#include "zipreader.h"
#include "zipformat.h"

#include <QFile>
#include <QtEndian>

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace ZipFormat;

const quint16 kUnicodePathExtra = 0x7075;
const quint16 kEncryptedFlag = 0x0001;
const int kEndSize = 22;
const int kLocatorSize = 20;
const int kEnd64Size = 56;
const int kCentralSize = 46;
const int kLocalSize = 30;
const qint64 kMaxComment = 0xffff;
const qint64 kChunk = qint64(256) << 10;

quint16 u16(const char *p)
{
    return qFromLittleEndian<quint16>(p);
}

quint32 u32(const char *p)
{
    return qFromLittleEndian<quint32>(p);
}

quint64 u64(const char *p)
{
    return qFromLittleEndian<quint64>(p);
}

quint32 crcOf(quint32 crc, const char *data, qint64 size)
{
    return quint32(libdeflate_crc32(crc, data, size_t(size)));
}

} // namespace

ZipReader::ZipReader(const QString &path)
    : mPath(QFile::encodeName(path))
{ }

ZipReader::~ZipReader()
{
    endInflating();
    if (mDecompressor)
        libdeflate_free_decompressor(mDecompressor);
    if (mFd >= 0)
        ::close(mFd);
}

bool ZipReader::fail(const QString &reason)
{
    mError = reason;
    return false;
}

qint64 ZipReader::failed(const QString &reason)
{
    mError = reason;
    return -1;
}

bool ZipReader::readAt(qint64 offset, char *into, qint64 length)
{
    while (length > 0) {
        const ssize_t got = ::pread(mFd, into, size_t(length), off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return fail(QString::fromLocal8Bit(std::strerror(errno)));
        if (got == 0)
            return fail(QStringLiteral("the archive ends early"));
        into += got;
        offset += got;
        length -= got;
    }
    return true;
}

bool ZipReader::open()
{
    // Not blocking, so that a fifo with no writer is refused at once rather
    // than waited for; it changes nothing for a regular file.
    mFd = ::open(mPath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (mFd < 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat info;
    if (::fstat(mFd, &info) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISREG(info.st_mode))
        return fail(QStringLiteral("not a file"));
    mFileSize = info.st_size;
    if (mFileSize < kEndSize)
        return fail(QStringLiteral("not a zip archive"));

    // The end record lies in the last bytes, followed by a comment of at
    // most 65,535 bytes: the last signature whose comment ends with the
    // file, else the last one with room for its fields.
    const qint64 tailStart = qMax<qint64>(0, mFileSize - (kMaxComment + kEndSize));
    QByteArray tail(int(mFileSize - tailStart), Qt::Uninitialized);
    if (!readAt(tailStart, tail.data(), tail.size()))
        return false;
    int fallback = -1;
    for (int at = tail.size() - kEndSize; at >= 0; --at) {
        if (u32(tail.constData() + at) != kEndSignature)
            continue;
        if (at + kEndSize + u16(tail.constData() + at + 20) == tail.size())
            return readDirectory(tailStart + at, tail, tailStart);
        if (fallback < 0)
            fallback = at;
    }
    if (fallback >= 0)
        return readDirectory(tailStart + fallback, tail, tailStart);
    return fail(QStringLiteral("not a zip archive"));
}

bool ZipReader::readDirectory(qint64 eocd, const QByteArray &tail, qint64 tailStart)
{
    const char *end = tail.constData() + (eocd - tailStart);
    const quint32 disk = u16(end + 4);
    const quint32 directoryDisk = u16(end + 6);
    quint64 directorySize = u32(end + 12);
    quint64 directoryOffset = u32(end + 16);
    // Where the directory ends: at the zip64 end record when there is one.
    qint64 recordsStart = eocd;

    char locator[kLocatorSize];
    const bool hasLocator = eocd >= kLocatorSize && readAt(eocd - kLocatorSize, locator, kLocatorSize)
        && u32(locator) == kLocator64Signature;
    if (hasLocator) {
        // Its offset, or where it must be when bytes were put before the
        // archive.
        char record[kEnd64Size];
        const quint64 stated = u64(locator + 8);
        const qint64 right = eocd - kLocatorSize - kEnd64Size;
        bool found = false;
        for (const qint64 at : { qint64(qMin<quint64>(stated, quint64(mFileSize))), right }) {
            if (at < 0 || at > eocd - kLocatorSize - kEnd64Size || !readAt(at, record, kEnd64Size)
                || u32(record) != kEnd64Signature)
                continue;
            if (u32(record + 16) != 0 || u32(record + 20) != 0)
                return fail(QStringLiteral("archives split over several disks are not read"));
            directorySize = u64(record + 40);
            directoryOffset = u64(record + 48);
            recordsStart = at;
            found = true;
            break;
        }
        if (!found)
            return fail(QStringLiteral("the archive's zip64 end record is missing"));
    } else if (disk != 0 || directoryDisk != 0) {
        return fail(QStringLiteral("archives split over several disks are not read"));
    }

    if (directorySize > quint64(recordsStart))
        return fail(QStringLiteral("the archive is truncated"));
    if (directorySize > quint64(kMaxDirectoryBytes))
        return fail(
            QStringLiteral("the archive's directory is larger than %1 bytes").arg(kMaxDirectoryBytes));
    // The directory where it says it is; else right before the end records,
    // every offset shifted by the bytes before the archive.
    const qint64 size = qint64(directorySize);
    QByteArray directory(int(size), Qt::Uninitialized);
    if (directoryOffset <= quint64(recordsStart - size)
        && (size == 0
            || (size >= 4 && readAt(qint64(directoryOffset), directory.data(), size)
                && u32(directory.constData()) == kCentralSignature))) {
        return parseDirectory(directory, 0);
    }
    const qint64 start = recordsStart - size;
    if (directoryOffset > quint64(start))
        return fail(QStringLiteral("the archive is truncated"));
    return readAt(start, directory.data(), size)
        && parseDirectory(directory, start - qint64(directoryOffset));
}

bool ZipReader::parseDirectory(const QByteArray &directory, qint64 shift)
{
    const auto broken = [this] { return fail(QStringLiteral("the archive's directory is broken")); };
    const char *p = directory.constData();
    const qint64 total = directory.size();
    qint64 at = 0;
    while (at < total) {
        if (total - at < kCentralSize || u32(p + at) != kCentralSignature)
            return broken();
        const char *record = p + at;
        Entry entry;
        const quint32 madeBy = u16(record + 4);
        entry.flags = u16(record + 8);
        entry.method = u16(record + 10);
        entry.crc = u32(record + 16);
        entry.compressedSize = u32(record + 20);
        entry.size = u32(record + 24);
        const int nameLength = u16(record + 28);
        const int extraLength = u16(record + 30);
        const int commentLength = u16(record + 32);
        const quint32 external = u32(record + 38);
        entry.headerOffset = u32(record + 42);
        const qint64 length = kCentralSize + nameLength + extraLength + commentLength;
        if (length > total - at)
            return broken();
        entry.name = QByteArray(record + kCentralSize, nameLength);
        entry.utf8 = entry.flags & kUtf8Flag;

        // Fields too large for the record are in the zip64 field, in this
        // order, each only when its place in the record holds all ones.
        bool bigSize = entry.size == 0xffffffffu;
        bool bigCompressed = entry.compressedSize == 0xffffffffu;
        bool bigOffset = entry.headerOffset == 0xffffffffu;
        const char *extra = record + kCentralSize + nameLength;
        const char *extraEnd = extra + extraLength;
        while (extraEnd - extra >= 4) {
            const quint16 id = u16(extra);
            const int size = u16(extra + 2);
            const char *field = extra + 4;
            if (size > extraEnd - field)
                break;
            if (id == kZip64Extra) {
                const char *value = field;
                const char *valueEnd = field + size;
                for (auto big : { std::make_pair(&bigSize, &entry.size),
                         std::make_pair(&bigCompressed, &entry.compressedSize),
                         std::make_pair(&bigOffset, &entry.headerOffset) }) {
                    if (!*big.first || valueEnd - value < 8)
                        continue;
                    *big.second = u64(value);
                    *big.first = false;
                    value += 8;
                }
            } else if (id == kUnicodePathExtra && size >= 5 && field[0] == 1
                && u32(field + 1)
                    == quint32(crc32(0, reinterpret_cast<const Bytef *>(entry.name.constData()),
                        uInt(entry.name.size())))) {
                entry.name = QByteArray(field + 5, size - 5);
                entry.utf8 = true;
            }
            extra = field + size;
        }
        if (bigSize || bigCompressed || bigOffset)
            return broken();
        // An offset past the end is kept there: that entry alone is broken.
        entry.headerOffset = entry.headerOffset >= quint64(mFileSize)
            ? quint64(mFileSize)
            : qMin(entry.headerOffset + quint64(shift), quint64(mFileSize));

        // Unix modes where the archive was made on Unix and gives one; else
        // a trailing "/" or the DOS directory attribute.
        const quint32 format = (external >> 16) & 0170000;
        const bool slash = entry.name.endsWith('/');
        if ((madeBy >> 8) == 3 && format != 0) {
            if (format == 0040000 || (format == 0100000 && slash))
                entry.type = Type::Directory;
            else if (format == 0100000)
                entry.type = Type::File;
            else if (format == 0120000)
                entry.type = Type::Link;
            else
                entry.type = Type::Special;
        } else {
            entry.type = slash || (external & 0x10) ? Type::Directory : Type::File;
        }
        mEntries.push_back(entry);
        at += length;
    }
    std::stable_sort(mEntries.begin(), mEntries.end(),
        [](const Entry &a, const Entry &b) { return a.headerOffset < b.headerOffset; });
    return true;
}

bool ZipReader::openEntry(int index)
{
    endInflating();
    mEntry = nullptr;
    mTaken = 0;
    mUsed = 0;
    mProduced = 0;
    mCrc = 0;
    mEnded = false;
    mStreamEnded = false;
    if (index < 0 || index >= int(mEntries.size()))
        return fail(QStringLiteral("no such entry"));
    const Entry &entry = mEntries[size_t(index)];
    char header[kLocalSize];
    if (qint64(entry.headerOffset) > mFileSize - kLocalSize
        || !readAt(qint64(entry.headerOffset), header, kLocalSize) || u32(header) != kLocalSignature)
        return fail(QStringLiteral("its header is missing"));
    mDataStart = qint64(entry.headerOffset) + kLocalSize + u16(header + 26) + u16(header + 28);
    if (entry.compressedSize > quint64(mFileSize) || mDataStart > mFileSize - qint64(entry.compressedSize))
        return fail(QStringLiteral("its data runs past the end of the archive"));
    if (entry.flags & kEncryptedFlag)
        return fail(QStringLiteral("it is encrypted"));
    if (entry.method != kStored && entry.method != kDeflated)
        return fail(QStringLiteral("its compression method %1 is not supported").arg(entry.method));
    if (entry.method == kStored && entry.compressedSize != entry.size)
        return fail(QStringLiteral("its stored size does not match its size"));
    mEntry = &entry;
    mPosition = mDataStart;
    return true;
}

qint64 ZipReader::readData(const char **data)
{
    if (!mEntry)
        return failed(QStringLiteral("no entry is open"));
    if (mEnded)
        return 0;
    if (mStreamEnded)
        return finishEntry();
    if (mEntry->size <= quint64(kWholeEntryBytes) && mEntry->compressedSize <= quint64(kWholeEntryBytes))
        return readWhole(data);
    return mEntry->method == kStored ? readStored(data) : readInflating(data);
}

qint64 ZipReader::readWhole(const char **data)
{
    // Read, inflated and checked before any of it is handed out.
    const Entry &entry = *mEntry;
    const qint64 packed = qint64(entry.compressedSize);
    const qint64 size = qint64(entry.size);
    mInput.resize(int(packed));
    if (!readAt(mDataStart, mInput.data(), packed))
        return -1;
    mTaken = packed;
    mUsed = packed;
    mPosition = mDataStart + packed;
    // Inflated up to its stated size, whether or not it turns out whole.
    mProduced = quint64(size);
    if (entry.method == kStored || (packed == 0 && size == 0)) {
        mOutput = mInput;
    } else {
        if (!mDecompressor)
            mDecompressor = libdeflate_alloc_decompressor();
        if (!mDecompressor)
            return failed(QStringLiteral("out of memory"));
        mOutput.resize(int(size));
        size_t used = 0;
        // Exactly the stated size, or it is broken.
        switch (libdeflate_deflate_decompress_ex(mDecompressor, mInput.constData(), size_t(packed),
            mOutput.data(), size_t(size), &used, nullptr)) {
        case LIBDEFLATE_SUCCESS:
            break;
        case LIBDEFLATE_SHORT_OUTPUT:
            return failed(QStringLiteral("it inflates to less than its stated size"));
        case LIBDEFLATE_INSUFFICIENT_SPACE:
            return failed(QStringLiteral("it inflates to more than its stated size"));
        default:
            return failed(QStringLiteral("its compressed data is broken"));
        }
    }
    mCrc = crcOf(0, mOutput.constData(), size);
    const qint64 checked = finishEntry();
    if (checked < 0 || size == 0)
        return checked;
    *data = mOutput.constData();
    return size;
}

qint64 ZipReader::readStored(const char **data)
{
    const qint64 left = qint64(mEntry->compressedSize) - mTaken;
    if (left == 0)
        return finishEntry();
    const qint64 length = qMin(kChunk, left);
    mOutput.resize(int(length));
    if (!readAt(mDataStart + mTaken, mOutput.data(), length))
        return -1;
    mTaken += length;
    mUsed = mTaken;
    mPosition = mDataStart + mTaken;
    mProduced += quint64(length);
    mCrc = crcOf(mCrc, mOutput.constData(), length);
    *data = mOutput.constData();
    return length;
}

qint64 ZipReader::readInflating(const char **data)
{
    if (!mStream) {
        mStream = new z_stream {};
        if (inflateInit2(mStream, -MAX_WBITS) != Z_OK) {
            delete mStream;
            mStream = nullptr;
            return failed(QStringLiteral("out of memory"));
        }
    }
    const qint64 packed = qint64(mEntry->compressedSize);
    mOutput.resize(int(kChunk));
    for (;;) {
        if (mStream->avail_in == 0 && mTaken < packed) {
            const qint64 length = qMin(kChunk, packed - mTaken);
            mInput.resize(int(length));
            if (!readAt(mDataStart + mTaken, mInput.data(), length))
                return -1;
            mTaken += length;
            mPosition = mDataStart + mTaken;
            mStream->next_in = reinterpret_cast<Bytef *>(mInput.data());
            mStream->avail_in = uInt(length);
        }
        mStream->next_out = reinterpret_cast<Bytef *>(mOutput.data());
        mStream->avail_out = uInt(kChunk);
        const int result = inflate(mStream, Z_NO_FLUSH);
        const qint64 produced = kChunk - qint64(mStream->avail_out);
        mUsed = mTaken - qint64(mStream->avail_in);
        if (result == Z_BUF_ERROR && produced == 0)
            return failed(QStringLiteral("its compressed data ends early"));
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
            return failed(QStringLiteral("its compressed data is broken"));
        if (mProduced + quint64(produced) > mEntry->size)
            return failed(QStringLiteral("it inflates to more than its stated size"));
        mProduced += quint64(produced);
        mCrc = crcOf(mCrc, mOutput.constData(), produced);
        if (result == Z_STREAM_END) {
            // Whatever follows the stream in the entry is not read; the
            // size and checksum are checked at the next call.
            endInflating();
            mStreamEnded = true;
            mTaken = packed;
        }
        if (produced > 0) {
            *data = mOutput.constData();
            return produced;
        }
        if (mStreamEnded)
            return finishEntry();
        if (mStream->avail_in == 0 && mTaken >= packed)
            return failed(QStringLiteral("its compressed data ends early"));
    }
}

qint64 ZipReader::finishEntry()
{
    if (mProduced != mEntry->size)
        return failed(QStringLiteral("it inflates to less than its stated size"));
    if (mCrc != mEntry->crc)
        return failed(QStringLiteral("its checksum does not match"));
    mEnded = true;
    return 0;
}

void ZipReader::endInflating()
{
    if (!mStream)
        return;
    inflateEnd(mStream);
    delete mStream;
    mStream = nullptr;
}
