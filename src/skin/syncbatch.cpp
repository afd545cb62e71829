#include "syncbatch.h"

#include "atomicfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

thread_local SyncBatch *currentBatch = nullptr;
thread_local QString lastProblem;

// 0, or the errno of what failed.
int syncPath(const QString &path, bool directory)
{
    AtomicFile::observe(directory ? AtomicFile::Step::SyncDirectory : AtomicFile::Step::Sync, path);
    const int fd
        = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | (directory ? O_DIRECTORY : 0));
    if (fd < 0)
        return errno;
    const int code = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return code;
}

} // namespace

SyncBatch::SyncBatch()
    : mOuter(currentBatch)
{
    currentBatch = this;
}

SyncBatch::~SyncBatch()
{
    // A run that ends without asking still gets its files to disk.
    sync();
    currentBatch = mOuter;
}

SyncBatch *SyncBatch::current()
{
    return currentBatch;
}

void SyncBatch::add(const QString &fileName)
{
    if (mSeen.contains(fileName))
        return;
    mSeen.insert(fileName);
    mFiles.append(fileName);
}

void SyncBatch::addDirectory(const QString &path)
{
    mDirectories.append(path);
}

QString SyncBatch::takeProblem()
{
    QString problem;
    problem.swap(lastProblem);
    return problem;
}

bool SyncBatch::sync(QStringList *failed)
{
    QStringList refused;
    QString reason;
    mError.clear();
    mProblem.clear();
    auto check = [&](const QString &path, bool directory) {
        const int code = syncPath(path, directory);
        if (code == 0)
            return;
        if (refused.isEmpty()) {
            reason = QString::fromLocal8Bit(std::strerror(code));
            mError = QStringLiteral("%1 can not be synced to disk: %2").arg(path, reason);
        }
        refused.append(path);
    };
    QSet<QString> directories;
    QStringList order;
    for (const QString &file : qAsConst(mFiles)) {
        check(file, false);
        const QString directory = QFileInfo(file).absolutePath();
        if (!directories.contains(directory)) {
            directories.insert(directory);
            order.append(directory);
        }
    }
    for (const QString &directory : qAsConst(mDirectories)) {
        if (!directories.contains(directory)) {
            directories.insert(directory);
            order.append(directory);
        }
    }
    // The renames live in the directories: they are durable only once those
    // are synced too.
    for (const QString &directory : qAsConst(order))
        check(directory, true);
    mFiles.clear();
    mSeen.clear();
    mDirectories.clear();
    if (refused.isEmpty())
        return true;
    // A failing disk refuses every file of a run: the first names them.
    const QString what = refused.size() == 1 ? refused.first()
                                             : QCoreApplication::translate("SyncBatch", "%1 and %2 more")
                                                   .arg(refused.first())
                                                   .arg(refused.size() - 1);
    mProblem
        = QCoreApplication::translate("SyncBatch", "%1 may not have reached the disk: %2.").arg(what, reason);
    lastProblem = mProblem;
    if (failed)
        failed->append(refused);
    return false;
}
