#include "filestamp.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

FileStamp FileStamp::of(const QString &path)
{
    FileStamp stamp;
    if (path.isEmpty())
        return stamp;
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return stamp;
    stamp.mExists = true;
    stamp.mIsFile = S_ISREG(st.st_mode);
    stamp.mSize = qint64(st.st_size);
    stamp.mModified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.mChanged = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    stamp.mInode = quint64(st.st_ino);
    stamp.mDevice = quint64(st.st_dev);
#else
    const QFileInfo info(path);
    if (!info.exists())
        return stamp;
    stamp.mExists = true;
    stamp.mIsFile = info.isFile();
    stamp.mSize = info.size();
    stamp.mModified = info.lastModified().toMSecsSinceEpoch() * 1000000;
    stamp.mChanged = info.metadataChangeTime().toMSecsSinceEpoch() * 1000000;
#endif
    return stamp;
}

bool FileStamp::operator==(const FileStamp &other) const
{
    return mExists == other.mExists && mIsFile == other.mIsFile && mSize == other.mSize
        && mModified == other.mModified && mChanged == other.mChanged && mInode == other.mInode
        && mDevice == other.mDevice;
}
