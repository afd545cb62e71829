// Stand-ins for the sync calls, ahead of the C library's: they fail while
// SyncFailure names them and otherwise do what the real calls do.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

bool failing(const char *call)
{
    const char *calls = std::getenv("QUILLMARK_TEST_FAILING_SYNCS");
    if (!calls)
        return false;
    const size_t length = std::strlen(call);
    for (const char *at = std::strstr(calls, call); at; at = std::strstr(at + 1, call)) {
        const bool starts = at == calls || at[-1] == ',';
        const bool ends = at[length] == '\0' || at[length] == ',';
        if (starts && ends)
            return true;
    }
    return false;
}

} // namespace

extern "C" {

int fsync(int fd)
{
    if (failing("fsync")) {
        errno = EIO;
        return -1;
    }
    return int(::syscall(SYS_fsync, fd));
}

int sync_file_range(int fd, off64_t offset, off64_t count, unsigned int flags)
{
    // Only a call that waits for the data learns of the failure.
    if ((flags & SYNC_FILE_RANGE_WAIT_AFTER) && failing("sync_file_range")) {
        errno = EIO;
        return -1;
    }
    return int(::syscall(SYS_sync_file_range, fd, offset, count, flags));
}
}
