#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The files a batch run wrote without syncing each one: they are renamed into
// place at once, and `sync` flushes every one of them and each directory that
// holds them to disk once, at the end of the run. A batch installs itself as
// the current one of its thread while it lives, so the writers used inside the
// run defer their syncs to it without being told.
class SyncBatch
{
public:
    SyncBatch();
    ~SyncBatch();
    SyncBatch(const SyncBatch &) = delete;
    SyncBatch &operator=(const SyncBatch &) = delete;

    // The innermost batch alive on this thread, or null.
    static SyncBatch *current();

    void add(const QString &fileName);
    // A directory made in the run: it is synced with the directories, and
    // so is the one that holds it.
    void addDirectory(const QString &path);

    // Syncs what was added since the last call. False, with the files that
    // could not be synced in `failed`, when the disk refused any of them.
    bool sync(QStringList *failed = nullptr);

    int pending() const { return mFiles.size(); }

private:
    QStringList mFiles;
    QSet<QString> mSeen;
    QStringList mDirectories; // besides those of the files

    SyncBatch *mOuter = nullptr;
};
