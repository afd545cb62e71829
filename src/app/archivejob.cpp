#include "archivejob.h"

#include "skin/skinarchive.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QThread>

namespace {

// More names than this make the message unreadable; the log has them all.
const int kNamesShown = 10;

QString absolute(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

QString namesOf(const QStringList &names)
{
    if (names.size() <= kNamesShown)
        return names.join(QStringLiteral(", "));
    return QCoreApplication::translate("ArchiveJob", "%1 and %2 more")
        .arg(names.mid(0, kNamesShown).join(QStringLiteral(", ")),
            QString::number(names.size() - kNamesShown));
}

} // namespace

ArchiveJob::ArchiveJob(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<OperationResult>();
}

ArchiveJob::~ArchiveJob()
{
    if (mThread) {
        mCancel = true;
        mThread->wait();
    }
}

bool ArchiveJob::startImport(const QString &archive, const QString &workingDirectory)
{
    return start(
        true, archive, [this, archive, workingDirectory] { return importNow(archive, workingDirectory); });
}

bool ArchiveJob::startExport(const QString &skinDirectory, const QString &archive)
{
    return start(
        false, archive, [this, skinDirectory, archive] { return exportNow(skinDirectory, archive); });
}

void ArchiveJob::cancel()
{
    // (the next run starts uncancelled)
    mCancel = true;
}

bool ArchiveJob::start(bool importing, const QString &archive, std::function<OperationResult()> work)
{
    if (mRunning) {
        emit reported(OperationResult::failure(
            QCoreApplication::translate("ArchiveJob",
                "%1 was not started: another import or export is running. Wait for it or cancel it first.")
                .arg(absolute(archive)),
            { absolute(archive) }));
        return false;
    }
    mCancel = false;
    mReportedPermille = -1;
    mImporting = importing;
    mArchive = absolute(archive);
    mRunning = true;
    setProgress(0);
    emit runningChanged();

    mThread.reset(QThread::create([this, work] {
        const OperationResult result = work();
        QMetaObject::invokeMethod(
            this, [this, result] { finish(result); }, Qt::QueuedConnection);
    }));
    mThread->start();
    return true;
}

// On the worker thread: a queued call only when the shown value changes, so
// that a big skin does not flood the window's event queue.
void ArchiveJob::report(qint64 done, qint64 total)
{
    if (mStepHook)
        mStepHook(done, total);
    const int permille = total > 0 ? int(qBound<qint64>(0, done * 1000 / total, 1000)) : 0;
    if (permille == mReportedPermille)
        return;
    mReportedPermille = permille;
    QMetaObject::invokeMethod(
        this, [this, permille] { setProgress(permille / 1000.0); }, Qt::QueuedConnection);
}

void ArchiveJob::setProgress(qreal progress)
{
    // (a step queued before the run ended may arrive after it)
    if (!mRunning || qFuzzyCompare(progress + 1, mProgress + 1))
        return;
    mProgress = progress;
    emit progressChanged();
}

void ArchiveJob::finish(const OperationResult &result)
{
    mThread->wait();
    mThread.reset();
    mRunning = false;
    emit runningChanged();
    emit reported(result);
    emit finished(result);
}

OperationResult ArchiveJob::importNow(const QString &archive, const QString &workingDirectory)
{
    SkinArchive::Progress progress;
    progress.report = [this](qint64 done, qint64 total) { report(done, total); };
    progress.cancel = &mCancel;
    QString error;
    const QString archivePath = absolute(archive);
    const QString directory = absolute(workingDirectory);
    if (SkinArchive::unzipReplacing(archive, workingDirectory, SkinArchive::Limits(), progress, &error)) {
        return OperationResult::success(
            QCoreApplication::translate("ArchiveJob", "Imported %1 into %2 (%3 files).")
                .arg(archivePath, directory, QString::number(SkinArchive::fileCount(archive))),
            { archivePath });
    }
    if (mCancel) {
        return OperationResult::failure(
            QCoreApplication::translate(
                "ArchiveJob", "The import of %1 was cancelled; the skin working directory %2 is as it was.")
                .arg(archivePath, directory),
            { archivePath });
    }
    return OperationResult::failure(QCoreApplication::translate("ArchiveJob",
                                        "%1 was not imported; the skin working directory %2 is as it was: %3")
                                        .arg(archivePath, directory, error),
        { archivePath });
}

OperationResult ArchiveJob::exportNow(const QString &skinDirectory, const QString &archive)
{
    const QString archivePath = absolute(archive);
    if (skinDirectory.isEmpty() || !QFileInfo(skinDirectory).isDir()) {
        return OperationResult::failure(
            QCoreApplication::translate(
                "ArchiveJob", "The skin directory %1 does not exist, so nothing was exported to %2.")
                .arg(skinDirectory.isEmpty() ? QStringLiteral("\"\"") : absolute(skinDirectory), archivePath),
            { archivePath });
    }
    SkinArchive::Progress progress;
    progress.report = [this](qint64 done, qint64 total) { report(done, total); };
    progress.cancel = &mCancel;
    QStringList leftOut;
    if (SkinArchive::zip(skinDirectory, archive, progress, &leftOut)) {
        QString text = QCoreApplication::translate("ArchiveJob", "Exported the skin %1 to %2 (%3 files).")
                           .arg(absolute(skinDirectory), archivePath,
                               QString::number(SkinArchive::fileCount(archive)));
        if (!leftOut.isEmpty()) {
            qInfo() << "zip: left out " << leftOut;
            text += QLatin1Char(' ')
                + QCoreApplication::translate("ArchiveJob",
                    "Left out (links leading outside the skin or in a loop, or not regular files): %1.")
                      .arg(namesOf(leftOut));
        }
        return OperationResult::success(text, { archivePath });
    }
    if (mCancel) {
        return OperationResult::failure(QCoreApplication::translate("ArchiveJob",
                                            "The export to %1 was cancelled; nothing was written there.")
                                            .arg(archivePath),
            { archivePath });
    }
    return OperationResult::failure(
        QCoreApplication::translate("ArchiveJob", "The skin was not exported: %1 can not be written.")
            .arg(archivePath),
        { archivePath });
}
