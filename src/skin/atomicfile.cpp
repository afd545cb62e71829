#include "atomicfile.h"

#include "syncbatch.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// Follows a chain of links to the file it ends at, which need not exist yet.
QString resolvedTarget(const QString &fileName)
{
    QString path = QFileInfo(fileName).absoluteFilePath();
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(path);
        if (!info.isSymLink())
            return path;
        path = info.symLinkTarget();
    }
    return path;
}

bool syncDirectory(const QString &directory)
{
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

AtomicFile::AtomicFile(const QString &fileName, Mode mode)
    : mFileName(fileName)
    , mMode(mode)
{
    if (mMode == Mode::Auto)
        mMode = SyncBatch::current() ? Mode::Deferred : Mode::Durable;
}

AtomicFile::~AtomicFile()
{
    cancel();
}

bool AtomicFile::fail(const QString &reason)
{
    if (!mFailed)
        mError = reason;
    mFailed = true;
    return false;
}

bool AtomicFile::open()
{
    if (mFileName.isEmpty())
        return fail(QStringLiteral("no file name given"));
    mTarget = resolvedTarget(mFileName);
    if (QFileInfo(mTarget).isDir())
        return fail(QStringLiteral("%1 is a directory").arg(mTarget));

    struct stat old;
    const bool existed = ::stat(QFile::encodeName(mTarget).constData(), &old) == 0;

    // The same name pattern as the target plus "." and six characters, so
    // that walkers of a directory can tell a writer's temporary file.
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        QString suffix;
        for (int i = 0; i < 6; ++i)
            suffix += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))]);
        mTempName = mTarget + QLatin1Char('.') + suffix;
        fd = ::open(QFile::encodeName(mTempName).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            const int code = errno;
            mTempName.clear();
            return fail(QStringLiteral("%1 can not be written: %2").arg(mFileName, systemError(code)));
        }
    }
    if (fd < 0) {
        mTempName.clear();
        return fail(QStringLiteral("%1 can not be written: no free temporary name").arg(mFileName));
    }
    // The replacement keeps the old file's permissions.
    if (existed)
        ::fchmod(fd, old.st_mode & 07777);
    if (!mFile.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        ::unlink(QFile::encodeName(mTempName).constData());
        mTempName.clear();
        return fail(QStringLiteral("%1 can not be written: %2").arg(mFileName, mFile.errorString()));
    }
    return true;
}

bool AtomicFile::write(const char *data, qint64 size)
{
    if (mFailed)
        return false;
    if (!mFile.isOpen())
        return fail(QStringLiteral("%1 is not open for writing").arg(mFileName));
    if (mFile.write(data, size) != size)
        return fail(QStringLiteral("%1 can not be written: %2").arg(mFileName, mFile.errorString()));
    return true;
}

bool AtomicFile::setPermissions(QFileDevice::Permissions permissions)
{
    if (!mFile.isOpen())
        return false;
    mode_t mode = 0;
    const struct
    {
        QFileDevice::Permission permission;
        mode_t bit;
    } bits[] = { { QFileDevice::ReadOwner, S_IRUSR }, { QFileDevice::WriteOwner, S_IWUSR },
        { QFileDevice::ExeOwner, S_IXUSR }, { QFileDevice::ReadGroup, S_IRGRP },
        { QFileDevice::WriteGroup, S_IWGRP }, { QFileDevice::ExeGroup, S_IXGRP },
        { QFileDevice::ReadOther, S_IROTH }, { QFileDevice::WriteOther, S_IWOTH },
        { QFileDevice::ExeOther, S_IXOTH } };
    for (const auto &bit : bits) {
        if (permissions & bit.permission)
            mode |= bit.bit;
    }
    return ::fchmod(mFile.handle(), mode) == 0;
}

bool AtomicFile::finish()
{
    if (mFinished)
        return true;
    if (mFailed)
        return false;
    if (!mFile.isOpen())
        return fail(QStringLiteral("%1 is not open for writing").arg(mFileName));
    // A failed write of a streaming writer shows only in the device's error.
    if (mFile.error() != QFileDevice::NoError || !mFile.flush())
        return fail(QStringLiteral("%1 can not be written: %2").arg(mFileName, mFile.errorString()));
    if (mMode == Mode::Durable && ::fsync(mFile.handle()) != 0)
        return fail(QStringLiteral("%1 can not be written: %2").arg(mFileName, systemError(errno)));
    // Deferred: the data starts on its way to the disk now, without waiting,
    // so that little is left to write when the file is renamed.
    if (mMode == Mode::Deferred)
        ::sync_file_range(mFile.handle(), 0, 0, SYNC_FILE_RANGE_WRITE);
    mFile.close();
    if (mFile.error() != QFileDevice::NoError)
        return fail(QStringLiteral("%1 can not be written: %2").arg(mFileName, mFile.errorString()));
    mFinished = true;
    return true;
}

bool AtomicFile::commit()
{
    if (!finish()) {
        cancel();
        return false;
    }
    if (std::rename(QFile::encodeName(mTempName).constData(), QFile::encodeName(mTarget).constData()) != 0) {
        fail(QStringLiteral("%1 can not be replaced: %2").arg(mFileName, systemError(errno)));
        cancel();
        return false;
    }
    mTempName.clear();
    mFinished = false;
    if (mMode == Mode::Durable) {
        // The file is in place; a directory that cannot be synced only makes
        // the rename less certain to survive a crash.
        syncDirectory(QFileInfo(mTarget).absolutePath());
    } else if (SyncBatch *batch = SyncBatch::current()) {
        batch->add(mTarget);
    }
    return true;
}

void AtomicFile::cancel()
{
    if (mFile.isOpen())
        mFile.close();
    if (!mTempName.isEmpty()) {
        ::unlink(QFile::encodeName(mTempName).constData());
        mTempName.clear();
    }
    mFinished = false;
}

bool AtomicFile::writeFile(const QString &fileName, const QByteArray &bytes, QString *error, Mode mode)
{
    AtomicFile file(fileName, mode);
    if (file.open() && file.write(bytes) && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

bool AtomicFile::commitAll(const QVector<AtomicFile *> &files, QString *error)
{
    for (AtomicFile *file : files) {
        if (!file->finish()) {
            if (error)
                *error = file->errorString();
            for (AtomicFile *other : files)
                other->cancel();
            return false;
        }
    }
    // Some file systems write a replacing file's data out during the rename
    // itself, which makes a rename slow and the gap between two renames
    // wide. The data goes out first (no journal commit, unlike a sync), so
    // the renames follow each other closely.
    for (AtomicFile *file : files) {
        const int fd = ::open(QFile::encodeName(file->mTempName).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
        ::close(fd);
    }
    for (int i = 0; i < files.size(); ++i) {
        if (!files.at(i)->commit()) {
            if (error)
                *error = files.at(i)->errorString();
            for (int j = i + 1; j < files.size(); ++j)
                files.at(j)->cancel();
            return false;
        }
    }
    return true;
}
