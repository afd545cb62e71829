#include "fileversion.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// Timestamps of some file systems are whole seconds, of others two.
constexpr qint64 RacyWindowMs = 2000;

} // namespace

FileVersion FileVersion::identityOf(const QString &path)
{
    FileVersion version;
    version.mSeenMs = QDateTime::currentMSecsSinceEpoch();
#ifdef Q_OS_UNIX
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return version;
    version.mExists = true;
    version.mSize = info.st_size;
    version.mModifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    version.mInode = info.st_ino;
#else
    const QFileInfo info(path);
    if (!info.isFile())
        return version;
    version.mExists = true;
    version.mSize = info.size();
    version.mModifiedNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
#endif
    return version;
}

void FileVersion::setContent(const QByteArray &bytes)
{
    mHash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

bool FileVersion::sameIdentity(const FileVersion &other) const
{
    return mExists == other.mExists && mSize == other.mSize && mModifiedNs == other.mModifiedNs
        && mInode == other.mInode;
}

bool FileVersion::sameContent(const FileVersion &other) const
{
    return hasContent() && mHash == other.mHash;
}

bool FileVersion::isRacy() const
{
    return mExists && mModifiedNs / 1000000 >= mSeenMs - RacyWindowMs;
}
