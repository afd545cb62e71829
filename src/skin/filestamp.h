#pragma once

#include <QString>
#include <QtGlobal>

// What a file looks like from outside without reading it: whether it exists,
// its size, its modification and change times to the nanosecond and its
// inode. Two stamps differ when anybody wrote or replaced the file between
// them, which a modification time alone (second steps on some file systems,
// the same time after a quick second write) cannot tell.
class FileStamp
{
public:
    FileStamp() = default;

    static FileStamp of(const QString &path);

    bool exists() const { return mExists; }
    bool isFile() const { return mIsFile; }
    qint64 size() const { return mSize; }
    // nanoseconds since the epoch
    qint64 modified() const { return mModified; }

    bool operator==(const FileStamp &other) const;
    bool operator!=(const FileStamp &other) const { return !(*this == other); }

private:
    bool mExists = false;
    bool mIsFile = false;
    qint64 mSize = 0;
    qint64 mModified = 0; // nanoseconds since the epoch
    qint64 mChanged = 0;
    quint64 mInode = 0;
    quint64 mDevice = 0;
};
