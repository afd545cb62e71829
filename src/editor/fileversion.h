#pragma once

#include "skin/filestamp.h"

#include <QByteArray>
#include <QString>

// What a file on disk was when the text editor last read or wrote it: its
// stamp in the file system and a hash of its bytes. A changed stamp with the
// same content (a touch) is no change; and a file written twice within one
// clock tick keeps its stamp, so while its time is that recent only the
// content can tell.
class FileVersion
{
public:
    // The stamp of the file now, without its content. Take it before reading
    // the bytes, so that a write in between shows at the next look.
    static FileVersion identityOf(const QString &path);

    void setContent(const QByteArray &bytes);

    bool exists() const { return mStamp.exists() && mStamp.isFile(); }
    bool hasContent() const { return !mHash.isEmpty(); }
    bool sameIdentity(const FileVersion &other) const { return mStamp == other.mStamp; }
    bool sameContent(const FileVersion &other) const;
    // Modified so shortly before it was looked at that a second write within
    // the same tick would leave the stamp as it is.
    bool isRacy() const;

private:
    FileStamp mStamp;
    qint64 mSeenMs = 0;
    QByteArray mHash;
};
