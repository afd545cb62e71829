#pragma once

#include "skin/operationresult.h"

#include <QObject>
#include <QString>

// The operations the QML scene needs from the native side: version and
// platform texts, file URL conversion, the program's own directory below the
// user's home, emptying a directory and the skin archives. Holds no state.
// Emptying, packing and unpacking report what they did, or why not, through
// `reported`, which the window shows.
class Utils : public QObject
{
    Q_OBJECT

public:
    static Utils *instance();

    static constexpr int versionMajor = 0;
    static constexpr int versionMinor = 10;
    static constexpr int versionPatch = 8;
    static constexpr int versionCode = versionMajor * 10000 + versionMinor * 100 + versionPatch;

    Q_INVOKABLE QString getOsTypeAndVersion();
    Q_INVOKABLE QString getVersion();
    Q_INVOKABLE int getVersionCode();
    Q_INVOKABLE bool isForKWA();
    Q_INVOKABLE bool clearDirectory(const QString &path);
    Q_INVOKABLE bool zip(const QString &inDir, const QString &outFile);
    Q_INVOKABLE bool unzip(const QString &inFile, const QString &outDir);
    Q_INVOKABLE QString urlToLocalPath(const QString &url);
    Q_INVOKABLE QString localPathToUrl(const QString &path);
    Q_INVOKABLE QString getQuillmarkDirectory();
    // Whether the file opens as a zip archive with at least one entry; the
    // main window asks before it clears the working directory for an import.
    Q_INVOKABLE bool isZipArchive(const QString &path);
    // The user guide carried in the resources, written out to a file of its
    // own below the program's directory (never through a link) so that a
    // browser can show it offline; its file URL, or an empty text when it
    // could not be written.
    Q_INVOKABLE QString userGuideUrl();
    // Whether a regular file exists at the path (File › Recent greys out the
    // ones that went away).
    Q_INVOKABLE bool isFile(const QString &path);
    // Where the log is written (the About dialog names it).
    Q_INVOKABLE QString logFilePath();

    // The files and directories that clearDirectory(path) would delete,
    // counted all the way down (links count once, as the links they are);
    // 0 for a directory that does not exist or would not be cleared.
    Q_INVOKABLE int entryCount(const QString &path);
    // False for what clearDirectory refuses to empty: an empty path, a file,
    // the root, the user's home or a directory above it.
    Q_INVOKABLE bool isClearable(const QString &path);
    // The number of key sections of a panel file as it is on disk, for the
    // window's question before "remove all keys".
    Q_INVOKABLE int keyCount(const QString &panelFile);

signals:
    void reported(const OperationResult &result);

private:
    Utils() = default;
};
