#pragma once

#include <QFile>
#include <QString>
#include <QVector>

// Writes one file so that the old one stays whole until the new one is
// complete: the bytes go to a temporary file in the same directory, every
// write and the final flush are checked, and only then is the temporary
// renamed over the target. On any failure the temporary goes away, the old
// file is untouched and `errorString` says why.
//
// A target that is a link stays a link: the file it points at is replaced.
// The new file keeps the permissions of the one it replaces.
//
// Durable mode syncs the file before the rename and its directory after it,
// for edits that must survive a crash as soon as they are reported saved.
// Deferred mode renames at once and leaves the syncing to the current
// SyncBatch, which does it once for the whole run; the batch tools write so.
class AtomicFile
{
public:
    // Auto is Deferred while a SyncBatch is alive on this thread, else Durable.
    enum class Mode { Auto, Durable, Deferred };

    explicit AtomicFile(const QString &fileName, Mode mode = Mode::Auto);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    QString fileName() const { return mFileName; }
    QString errorString() const { return mError; }

    bool open();
    // The temporary file, for writers that stream (image encoders, archives).
    QIODevice *device() { return &mFile; }
    bool write(const char *data, qint64 size);
    bool write(const QByteArray &bytes) { return write(bytes.constData(), bytes.size()); }

    // Completes the temporary file: flushed, checked and, when durable,
    // synced. The target is not touched yet.
    bool finish();
    // Finishes when not yet done, then renames the temporary over the target
    // (a commitAll of this one file).
    bool commit();
    // Drops the temporary file; the target stays as it was.
    void cancel();

    bool isOpen() const { return mFile.isOpen(); }
    // Permissions of the new file, instead of those of the file it replaces.
    bool setPermissions(QFileDevice::Permissions permissions);

    // The whole of `bytes` into `fileName`, or nothing changed and the reason
    // in `error`.
    static bool writeFile(
        const QString &fileName, const QByteArray &bytes, QString *error = nullptr, Mode mode = Mode::Auto);

    // Finishes every file first, then renames them back to back in the order
    // given, with nothing else in between, so that an interrupted run leaves
    // a mismatch at most in the moment between two renames; directory syncs
    // come after the last. When any file cannot be finished none is renamed;
    // when a rename fails, the files renamed before it are put back as they
    // were. False, with the reason, when anything failed.
    static bool commitAll(const QVector<AtomicFile *> &files, QString *error = nullptr);

    // What the writers do to the disk, step by step, for tests that check
    // the order of a run's steps. `path` names the file meant, or the
    // directory for SyncDirectory.
    enum class Step { Write, Finish, Sync, Reserve, Rename, Release, SyncDirectory, Defer };
    using StepObserver = void (*)(Step step, const QString &path);
    // One observer for the process, or null for none.
    static void setStepObserver(StepObserver observer);
    static void observe(Step step, const QString &path);

private:
    bool fail(const QString &reason);

    QString mFileName;
    QString mTarget; // the file really replaced (a link resolved)
    QString mTempName;
    QFile mFile;
    Mode mMode;
    bool mFinished = false;
    bool mFailed = false;
    QString mError;
};
