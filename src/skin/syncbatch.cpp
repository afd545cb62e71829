#include "syncbatch.h"

#include "atomicfile.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace {

thread_local SyncBatch *currentBatch = nullptr;

bool syncPath(const QString &path, bool directory)
{
    AtomicFile::observe(directory ? AtomicFile::Step::SyncDirectory : AtomicFile::Step::Sync, path);
    const int fd
        = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | (directory ? O_DIRECTORY : 0));
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
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
    mDirectories.append(QFileInfo(path).absolutePath());
}

bool SyncBatch::sync(QStringList *failed)
{
    bool ok = true;
    QSet<QString> directories;
    QStringList order;
    for (const QString &file : qAsConst(mFiles)) {
        if (!syncPath(file, false)) {
            ok = false;
            if (failed)
                failed->append(file);
        }
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
    for (const QString &directory : qAsConst(order)) {
        if (!syncPath(directory, true)) {
            ok = false;
            if (failed)
                failed->append(directory);
        }
    }
    mFiles.clear();
    mSeen.clear();
    mDirectories.clear();
    return ok;
}
