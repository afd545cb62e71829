#pragma once

#include <QByteArray>
#include <QList>

#include <zlib.h>

// Zip archives laid out by hand, for the tests of what no packer writes.
namespace RawZip {

// One entry, laid out by hand so that every field can be set wrong.
struct RawEntry
{
    QByteArray name = "a.txt";
    QByteArray data;
    bool deflate = false;
    QByteArray stub; // bytes before the archive
    bool zip64 = false; // sizes and offset in the zip64 field
    quint16 flags = 0;
    int method = -1; // else the one the data has
    qint64 statedSize = -1; // else the real one
    qint64 headerOffset = -1; // else the real one
    quint32 crcXor = 0;
    // More names in the directory, each pointing at the same data.
    QList<QByteArray> aliases;
};

inline QByteArray le(quint64 value, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xff));
    return out;
}

inline QByteArray rawDeflate(const QByteArray &data)
{
    // qCompress: a 4-byte length, the zlib header and, at the end, the
    // Adler-32 sum around the raw stream.
    const QByteArray wrapped = qCompress(data, 6);
    return wrapped.mid(6, wrapped.size() - 10);
}

inline QByteArray build(const RawEntry &e)
{
    const QByteArray packed = e.deflate ? rawDeflate(e.data) : e.data;
    const quint16 method = quint16(e.method >= 0 ? e.method : (e.deflate ? 8 : 0));
    const quint32 crc
        = quint32(crc32(0, reinterpret_cast<const uchar *>(e.data.constData()), uint(e.data.size())))
        ^ e.crcXor;
    const quint64 size = quint64(e.statedSize >= 0 ? e.statedSize : e.data.size());
    const quint64 offset = quint64(e.headerOffset >= 0 ? e.headerOffset : 0);
    const quint64 all = 0xffffffffu;
    QByteArray local = le(0x04034b50, 4) + le(e.zip64 ? 45 : 20, 2) + le(e.flags, 2) + le(method, 2)
        + le(0, 4) + le(crc, 4) + le(e.zip64 ? all : packed.size(), 4) + le(e.zip64 ? all : size, 4)
        + le(quint64(e.name.size()), 2) + le(e.zip64 ? 20 : 0, 2) + e.name;
    if (e.zip64)
        local += le(1, 2) + le(16, 2) + le(size, 8) + le(quint64(packed.size()), 8);
    QByteArray central;
    for (const QByteArray &name : QList<QByteArray> { e.name } + e.aliases) {
        central += le(0x02014b50, 4) + le(0x0300 | (e.zip64 ? 45 : 20), 2) + le(e.zip64 ? 45 : 20, 2)
            + le(e.flags, 2) + le(method, 2) + le(0, 4) + le(crc, 4) + le(e.zip64 ? all : packed.size(), 4)
            + le(e.zip64 ? all : size, 4) + le(quint64(name.size()), 2) + le(e.zip64 ? 28 : 0, 2) + le(0, 2)
            + le(0, 2) + le(0, 2) + le(quint64(0100644) << 16, 4) + le(e.zip64 ? all : offset, 4) + name;
        if (e.zip64)
            central += le(1, 2) + le(24, 2) + le(size, 8) + le(quint64(packed.size()), 8) + le(offset, 8);
    }
    const quint64 count = quint64(1 + e.aliases.size());
    const QByteArray body = local + packed;
    const QByteArray end = le(0x06054b50, 4) + le(0, 4) + le(count, 2) + le(count, 2)
        + le(quint64(central.size()), 4) + le(quint64(body.size()), 4) + le(0, 2);
    return e.stub + body + central + end;
}

} // namespace RawZip
