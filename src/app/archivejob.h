#pragma once

#include "skin/operationresult.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

// Imports a skin archive into the working directory, or exports a skin to an
// archive, on a thread of its own: a big skin must not freeze the window, and
// the author can cancel. One run at a time. A cancelled or failed run leaves
// the working directory, or an archive already at the target, as it was.
//
// The worker calls SkinArchive only, which touches nothing of the UI; its
// progress and its result come back to this object's thread as queued calls.
// What a run came to goes to `reported` (start-up connects it to the
// window's messages) and then to `finished`, for the window's next steps.
class ArchiveJob : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool running READ isRunning NOTIFY runningChanged)
    Q_PROPERTY(bool importing READ isImporting NOTIFY runningChanged)
    Q_PROPERTY(QString archive READ archive NOTIFY runningChanged)
    Q_PROPERTY(qreal progress READ progress NOTIFY progressChanged)

public:
    explicit ArchiveJob(QObject *parent = nullptr);
    // A run still going is cancelled and waited for.
    ~ArchiveJob() override;

    bool isRunning() const { return mRunning; }
    bool isImporting() const { return mImporting; }
    QString archive() const { return mArchive; }
    // 0 to 1: the share of the archive read (import) or of the skin's bytes
    // packed (export).
    qreal progress() const { return mProgress; }

    // Unpacks `archive` beside `workingDirectory` and puts it in its place
    // once complete. False, with a message, while another run is going.
    Q_INVOKABLE bool startImport(const QString &archive, const QString &workingDirectory);
    // Packs `skinDirectory` into `archive`, replacing an existing one only
    // once the new one is complete; the files left out are named.
    Q_INVOKABLE bool startExport(const QString &skinDirectory, const QString &archive);
    // Asks the run to stop; `finished` follows. Safe from any thread.
    Q_INVOKABLE void cancel();

    // Called on the worker thread at every step, with the core's numbers.
    // Lets a test cancel at a known point.
    void setStepHook(std::function<void(qint64 done, qint64 total)> hook) { mStepHook = std::move(hook); }

signals:
    void runningChanged();
    void progressChanged();
    void reported(const OperationResult &result);
    void finished(const OperationResult &result);

private:
    bool start(bool importing, const QString &archive, std::function<OperationResult()> work);
    void report(qint64 done, qint64 total);
    void setProgress(qreal progress);
    void finish(const OperationResult &result);

    OperationResult importNow(const QString &archive, const QString &workingDirectory);
    OperationResult exportNow(const QString &skinDirectory, const QString &archive);

    std::unique_ptr<QThread> mThread;
    std::atomic_bool mCancel { false };
    std::function<void(qint64, qint64)> mStepHook;
    int mReportedPermille = -1; // worker thread only
    bool mRunning = false;
    bool mImporting = false;
    QString mArchive;
    qreal mProgress = 0;
};
