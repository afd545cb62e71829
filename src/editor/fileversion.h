#pragma once

#include <QByteArray>
#include <QString>

// What a file on disk was when the text editor last read or wrote it: its
// identity in the file system and a hash of its bytes. Times alone are too
// coarse (two writes within one clock tick look alike) and a file replaced
// through a rename may keep size and time, so the inode and the content
// count too; a changed identity with the same content (a touch) is no change.
class FileVersion
{
public:
    // The identity of the file now, without its content. Take it before
    // reading the bytes, so that a write in between shows at the next look.
    static FileVersion identityOf(const QString &path);

    void setContent(const QByteArray &bytes);

    bool exists() const { return mExists; }
    bool hasContent() const { return !mHash.isEmpty(); }
    bool sameIdentity(const FileVersion &other) const;
    bool sameContent(const FileVersion &other) const;
    // Modified so shortly before it was looked at that a second write within
    // the same tick would leave the identity as it is: only the content tells.
    bool isRacy() const;

private:
    bool mExists = false;
    qint64 mSize = -1;
    qint64 mModifiedNs = 0;
    quint64 mInode = 0;
    qint64 mSeenMs = 0;
    QByteArray mHash;
};
