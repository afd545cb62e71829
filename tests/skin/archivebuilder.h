#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Writes zip archives entry by entry, so that tests can make the hostile
// archives no packer of ours would produce.
class ArchiveBuilder
{
public:
    enum Type { File, Directory, SymLink };

    struct Entry
    {
        QByteArray name;
        Type type = File;
        QByteArray data; // file contents
        QByteArray linkTarget; // symlink target
        qint64 zeros = 0; // extra zero bytes after data, written in chunks
    };

    ArchiveBuilder &file(const QByteArray &name, const QByteArray &data);
    ArchiveBuilder &directory(const QByteArray &name);
    ArchiveBuilder &symlink(const QByteArray &name, const QByteArray &target);
    ArchiveBuilder &zeros(const QByteArray &name, qint64 count);

    // False (and the library's reason in `error`) when writing failed.
    bool write(const QString &path, QString *error = nullptr) const;

private:
    QVector<Entry> mEntries;
};
