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
    // A directory made or changed in the run, synced with the directories
    // that hold the files.
    void addDirectory(const QString &path);

    // Syncs what was added since the last call. False, with the files that
    // could not be synced in `failed` and the first reason in
    // `errorString`, when the disk refused any of them: their data may not
    // have reached it (a full copy-on-write or network file system tells so
    // only here, as does a failing disk).
    bool sync(QStringList *failed = nullptr);
    QString errorString() const { return mError; }
    // The same for the author, as a sentence.
    QString problem() const { return mProblem; }

    // The author's sentence of the last sync on this thread that failed,
    // cleared; for a caller that only sees a tool's count of files.
    static QString takeProblem();

    int pending() const { return mFiles.size(); }

private:
    QStringList mFiles;
    QSet<QString> mSeen;
    QStringList mDirectories; // besides those of the files
    QString mError;
    QString mProblem;

    SyncBatch *mOuter = nullptr;
};
