#include "utils.h"

#include "skinarchive.h"
#include "skin/atomicfile.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>
#include <QUrl>

Utils *Utils::instance()
{
    static Utils utils;
    return &utils;
}

QString Utils::getOsTypeAndVersion()
{
    return QSysInfo::productType() + QLatin1Char(' ') + QSysInfo::productVersion();
}

QString Utils::getVersion()
{
    qDebug() << "version code: " << versionCode;
    return QStringLiteral("%1.%2.%3").arg(versionMajor).arg(versionMinor).arg(versionPatch);
}

int Utils::getVersionCode()
{
    qDebug() << "version code: " << versionCode;
    return versionCode;
}

bool Utils::isForKWA()
{
    qDebug() << "FOR_KWA not defined!";
    return false;
}

namespace {

// A directory whose clearing would take unrelated files with it: the root,
// the user's home, or anything above the home.
bool isProtectedDirectory(const QString &canonicalPath)
{
    if (canonicalPath == QDir::rootPath())
        return true;
    const QString home = QFileInfo(QDir::homePath()).canonicalFilePath();
    if (home.isEmpty())
        return false;
    return home == canonicalPath || home.startsWith(canonicalPath + QLatin1Char('/'));
}

} // namespace

bool Utils::clearDirectory(const QString &path)
{
    qDebug() << "clearing " << path;
    // An empty path is the current directory, which is never the skin
    // working directory the caller means.
    if (path.isEmpty()) {
        qInfo() << "refusing to clear an empty path";
        return true;
    }
    const QFileInfo info(path);
    if (!info.isDir())
        return true;
    if (isProtectedDirectory(info.canonicalFilePath())) {
        qInfo() << "refusing to clear " << path;
        return true;
    }

    QDir dir(path);
    const QFileInfoList entries = dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo &entry : entries) {
        // A link is removed as a link: following one into a directory would
        // empty whatever it points at.
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.absoluteFilePath()).removeRecursively();
        else
            QFile::remove(entry.absoluteFilePath());
    }
    return true;
}

bool Utils::zip(const QString &inDir, const QString &outFile)
{
    return SkinArchive::zip(inDir, outFile);
}

bool Utils::unzip(const QString &inFile, const QString &outDir)
{
    return SkinArchive::unzip(inFile, outDir);
}

QString Utils::urlToLocalPath(const QString &url)
{
    return QUrl(url, QUrl::TolerantMode).toLocalFile();
}

QString Utils::localPathToUrl(const QString &path)
{
    return QUrl::fromLocalFile(path).toString();
}

QString Utils::getQuillmarkDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::HomeLocation) + QStringLiteral("/Quillmark");
}

bool Utils::isZipArchive(const QString &path)
{
    return SkinArchive::isZipArchive(path);
}

QString Utils::userGuideUrl()
{
    const QString source = QStringLiteral(":/docs/user-guide.html");
    QFile guide(source);
    if (!guide.open(QIODevice::ReadOnly)) {
        qInfo() << source << " not exists!";
        return QString();
    }
    // Below the user's own program directory: a fixed name in the shared
    // temporary directory could be taken by another user, or be a link that
    // another user planted there.
    const QString directory = getQuillmarkDirectory();
    if (!QDir().mkpath(directory)) {
        qInfo() << directory << " can not be created!";
        return QString();
    }
    const QString target = directory + QStringLiteral("/user-guide.html");
    // A save file writes through a link to whatever it points at; the guide
    // never replaces a file other than its own.
    if (QFileInfo(target).isSymLink()) {
        qInfo() << target << " is a link, the user guide is not written through it!";
        return QString();
    }
    // written afresh each time, so that the guide matches the running program
    QString error;
    if (!AtomicFile::writeFile(target, guide.readAll(), &error)) {
        qInfo() << target << " can not be written: " << error;
        return QString();
    }
    return QUrl::fromLocalFile(target).toString();
}
