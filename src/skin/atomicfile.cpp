#include "atomicfile.h"

#include "syncbatch.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/random.h>
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

AtomicFile::StepObserver stepObserver = nullptr;

bool syncDirectory(const QString &directory)
{
    AtomicFile::observe(AtomicFile::Step::SyncDirectory, directory);
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Random bits for temporary names. Seeded once from the kernel: Qt's global
// generator would fill its whole state from the processor's seed instruction
// first, which costs more than a short run of the command-line tool does.
quint64 randomBits()
{
    static std::atomic<quint64> state { [] {
        quint64 seed = 0;
        if (::getrandom(&seed, sizeof seed, GRND_NONBLOCK) != ssize_t(sizeof seed))
            seed = quint64(::getpid()) << 32 ^ quint64(::time(nullptr)) ^ quint64(quintptr(&seed));
        return seed;
    }() };
    // splitmix64: every call a different, well-mixed value
    quint64 z = state.fetch_add(0x9e3779b97f4a7c15ull) + 0x9e3779b97f4a7c15ull;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

// `target` + "." + six random letters: the pattern of a writer's temporary
// files, which walkers of a directory can tell. `create` tries to make a file
// of the name and returns false with errno EEXIST when it is taken; the free
// name it took, or an empty one with errno set.
template <typename Create> QString siblingName(const QString &target, Create create)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString name = target + QLatin1Char('.');
        quint64 bits = randomBits();
        for (int i = 0; i < 6; ++i, bits /= sizeof letters - 1)
            name += QLatin1Char(letters[bits % (sizeof letters - 1)]);
        if (create(QFile::encodeName(name)))
            return name;
        if (errno != EEXIST)
            return QString();
    }
    errno = EEXIST;
    return QString();
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

    int fd = -1;
    mTempName = siblingName(mTarget, [&fd](const QByteArray &name) {
        fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return fd >= 0;
    });
    if (fd < 0) {
        const int code = errno;
        mTempName.clear();
        return fail(QStringLiteral("%1 can not be written: %2")
                        .arg(mFileName,
                            code == EEXIST ? QStringLiteral("no free temporary name") : systemError(code)));
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
    observe(Step::Write, mFileName);
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
    observe(Step::Finish, mFileName);
    // A failed write of a streaming writer shows only in the device's error.
    if (mFile.error() != QFileDevice::NoError || !mFile.flush())
        return fail(QStringLiteral("%1 can not be written: %2").arg(mFileName, mFile.errorString()));
    if (mMode == Mode::Durable)
        observe(Step::Sync, mFileName);
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
    return commitAll({ this });
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
    auto failed = [&](AtomicFile *file) {
        if (error)
            *error = file->errorString();
        for (AtomicFile *other : files)
            other->cancel();
        return false;
    };
    // Everything that takes time happens before the first rename: writing,
    // flushing, the syncs of durable mode.
    for (AtomicFile *file : files) {
        if (!file->finish())
            return failed(file);
    }
    // Some file systems write a replacing file's data out during the rename
    // itself, which makes a rename slow and the gap between two renames
    // wide. The data goes out first (no journal commit, unlike a sync).
    // A disk that refuses it (full, failing) stops the run here, while every
    // old file is still in place.
    for (AtomicFile *file : files) {
        if (file->mMode != Mode::Deferred)
            continue;
        observe(Step::Sync, file->mFileName);
        const int fd = ::open(QFile::encodeName(file->mTempName).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        const int code = ::sync_file_range(fd, 0, 0,
                             SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER)
                == 0
            ? 0
            : errno;
        ::close(fd);
        // (A file system that cannot write out a range is no failure.)
        if (code != 0 && code != EINVAL && code != ESPIPE && code != ENOSYS) {
            file->fail(QStringLiteral("%1 can not be written: %2").arg(file->mFileName, systemError(code)));
            return failed(file);
        }
    }
    // A rename that drops the last link of the file it replaces frees that
    // file's blocks inside the rename, which takes many times longer than the
    // rename proper. Each replaced file keeps a second name until all renames
    // are done; the same names put the old files back if a rename fails.
    struct Move
    {
        QByteArray from;
        QByteArray to;
        QByteArray reserve; // the replaced file's second name, if any
        bool replaces = false;
    };
    QVector<Move> moves;
    moves.reserve(files.size());
    for (AtomicFile *file : files) {
        Move move;
        move.from = QFile::encodeName(file->mTempName);
        move.to = QFile::encodeName(file->mTarget);
        struct stat old;
        move.replaces = ::lstat(move.to.constData(), &old) == 0;
        if (move.replaces && S_ISREG(old.st_mode)) {
            observe(Step::Reserve, file->mFileName);
            // A file system without hard links only makes the rename slower.
            move.reserve = QFile::encodeName(siblingName(file->mTarget, [&move](const QByteArray &name) {
                return ::link(move.to.constData(), name.constData()) == 0;
            }));
        }
        moves.append(move);
    }

    // Back to back: nothing but renames until the last one.
    int renamed = 0;
    int code = 0;
    for (; renamed < moves.size(); ++renamed) {
        observe(Step::Rename, files.at(renamed)->mFileName);
        if (std::rename(moves.at(renamed).from.constData(), moves.at(renamed).to.constData()) != 0) {
            code = errno;
            break;
        }
    }
    if (renamed < moves.size()) {
        // The files already renamed make way for the old ones again, the
        // last first; a new file goes away. A replaced file without a second
        // name can not come back and stays new.
        for (int i = renamed - 1; i >= 0; --i) {
            const Move &move = moves.at(i);
            if (!move.reserve.isEmpty())
                std::rename(move.reserve.constData(), move.to.constData());
            else if (!move.replaces)
                ::unlink(move.to.constData());
        }
        for (const Move &move : qAsConst(moves)) {
            if (!move.reserve.isEmpty())
                ::unlink(move.reserve.constData());
        }
        AtomicFile *file = files.at(renamed);
        file->fail(QStringLiteral("%1 can not be replaced: %2").arg(file->mFileName, systemError(code)));
        return failed(file);
    }

    // The old files are freed now, and the renames made durable: by one
    // directory sync each in durable mode, by the run's batch otherwise.
    for (const Move &move : qAsConst(moves)) {
        if (!move.reserve.isEmpty()) {
            observe(Step::Release, QFile::decodeName(move.reserve));
            ::unlink(move.reserve.constData());
        }
    }
    QSet<QString> synced;
    for (AtomicFile *file : files) {
        file->mTempName.clear();
        file->mFinished = false;
        if (file->mMode == Mode::Durable) {
            // The file is in place; a directory that cannot be synced only
            // makes the rename less certain to survive a crash.
            const QString directory = QFileInfo(file->mTarget).absolutePath();
            if (!synced.contains(directory)) {
                synced.insert(directory);
                syncDirectory(directory);
            }
        } else if (SyncBatch *batch = SyncBatch::current()) {
            observe(Step::Defer, file->mFileName);
            batch->add(file->mTarget);
        }
    }
    return true;
}

void AtomicFile::setStepObserver(StepObserver observer)
{
    stepObserver = observer;
}

void AtomicFile::observe(Step step, const QString &path)
{
    if (stepObserver)
        stepObserver(step, path);
}
