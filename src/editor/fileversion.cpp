#include "fileversion.h"

#include <QCryptographicHash>
#include <QDateTime>

namespace {

// Timestamps of some file systems are whole seconds, of others two.
constexpr qint64 RacyWindowMs = 2000;

} // namespace

FileVersion FileVersion::identityOf(const QString &path)
{
    FileVersion version;
    version.mSeenMs = QDateTime::currentMSecsSinceEpoch();
    version.mStamp = FileStamp::of(path);
    return version;
}

void FileVersion::setContent(const QByteArray &bytes)
{
    mHash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

bool FileVersion::sameContent(const FileVersion &other) const
{
    return hasContent() && mHash == other.mHash;
}

bool FileVersion::isRacy() const
{
    return exists() && mStamp.modified() / 1000000 >= mSeenMs - RacyWindowMs;
}
