#pragma once

#include <QByteArray>
#include <QtGlobal>

// While alive, the disk refuses to sync: each named call (`fsync`, or
// `sync_file_range` that waits for the data) fails with EIO, as on a failing
// disk or a full copy-on-write or network file system, which tell so only
// when the data is written out. Works in a process linked with the
// quillmark_syncfailure library, or started with it in LD_PRELOAD and the
// same environment (`environmentName` = `calls`).
class SyncFailure
{
public:
    static constexpr const char *environmentName = "QUILLMARK_TEST_FAILING_SYNCS";

    explicit SyncFailure(const QByteArray &calls = "fsync") { qputenv(environmentName, calls); }
    ~SyncFailure() { qunsetenv(environmentName); }
    SyncFailure(const SyncFailure &) = delete;
    SyncFailure &operator=(const SyncFailure &) = delete;
};
