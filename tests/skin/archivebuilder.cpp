#include "archivebuilder.h"

#include <QFile>

#include <archive.h>
#include <archive_entry.h>

ArchiveBuilder &ArchiveBuilder::file(const QByteArray &name, const QByteArray &data)
{
    mEntries.append({ name, File, data, QByteArray(), 0 });
    return *this;
}

ArchiveBuilder &ArchiveBuilder::directory(const QByteArray &name)
{
    mEntries.append({ name, Directory, QByteArray(), QByteArray(), 0 });
    return *this;
}

ArchiveBuilder &ArchiveBuilder::symlink(const QByteArray &name, const QByteArray &target)
{
    mEntries.append({ name, SymLink, QByteArray(), target, 0 });
    return *this;
}

ArchiveBuilder &ArchiveBuilder::zeros(const QByteArray &name, qint64 count)
{
    mEntries.append({ name, File, QByteArray(), QByteArray(), count });
    return *this;
}

bool ArchiveBuilder::write(const QString &path, QString *error) const
{
    struct archive *writer = archive_write_new();
    archive_write_set_format_zip(writer);
    bool ok = archive_write_open_filename(writer, QFile::encodeName(path).constData()) == ARCHIVE_OK;
    const QByteArray chunk(1 << 16, '\0');
    for (const Entry &e : mEntries) {
        if (!ok)
            break;
        struct archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname(entry, e.name.constData());
        archive_entry_set_mtime(entry, 1700000000, 0);
        switch (e.type) {
        case File:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_perm(entry, 0644);
            archive_entry_set_size(entry, e.data.size() + e.zeros);
            break;
        case Directory:
            archive_entry_set_filetype(entry, AE_IFDIR);
            archive_entry_set_perm(entry, 0755);
            break;
        case SymLink:
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_perm(entry, 0777);
            archive_entry_set_symlink(entry, e.linkTarget.constData());
            break;
        }
        ok = archive_write_header(writer, entry) >= ARCHIVE_WARN;
        archive_entry_free(entry);
        if (ok && e.type == File) {
            if (!e.data.isEmpty())
                ok = archive_write_data(writer, e.data.constData(), size_t(e.data.size())) == e.data.size();
            for (qint64 left = e.zeros; ok && left > 0; left -= chunk.size()) {
                const qint64 n = qMin<qint64>(left, chunk.size());
                ok = archive_write_data(writer, chunk.constData(), size_t(n)) == n;
            }
        }
    }
    if (!ok && error)
        *error = QString::fromLocal8Bit(archive_error_string(writer));
    if (archive_write_close(writer) != ARCHIVE_OK)
        ok = false;
    archive_write_free(writer);
    return ok;
}
