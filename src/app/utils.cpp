#include "utils.h"

#include "messagehandler.h"
#include "skin/skinarchive.h"
#include "skin/skinconfig.h"
#include "skin/atomicfile.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QDirIterator>
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

// What clearing deletes: the entries directly inside, hidden ones aside,
// and whatever lies below the directories among them.
QFileInfoList clearedEntries(const QString &path)
{
    return QDir(path).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Unsorted);
}

QString absolute(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

bool Utils::isClearable(const QString &path)
{
    // An empty path is the current directory, which is never the skin
    // working directory the caller means.
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (info.exists() && !info.isDir())
        return false;
    return !info.exists() || !isProtectedDirectory(info.canonicalFilePath());
}

int Utils::entryCount(const QString &path)
{
    if (!isClearable(path) || !QFileInfo(path).isDir())
        return 0;
    int count = 0;
    for (const QFileInfo &entry : clearedEntries(path)) {
        ++count;
        if (!entry.isDir() || entry.isSymLink())
            continue;
        QDirIterator it(entry.absoluteFilePath(),
            QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
            QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            ++count;
        }
    }
    return count;
}

int Utils::keyCount(const QString &panelFile)
{
    if (!QFileInfo(panelFile).isFile())
        return 0;
    int count = 0;
    const QStringList sections = SkinConfig(panelFile).childGroups();
    for (const QString &section : sections) {
        if (section.startsWith(QLatin1String("KEY")))
            ++count;
    }
    return count;
}

bool Utils::clearDirectory(const QString &path)
{
    qDebug() << "clearing " << path;
    if (path.isEmpty()) {
        qInfo() << "refusing to clear an empty path";
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Utils", "No skin working directory is set; nothing was deleted.")));
        return true;
    }
    const QFileInfo info(path);
    if (!info.isDir())
        return true;
    if (!isClearable(path)) {
        qInfo() << "refusing to clear " << path;
        emit reported(OperationResult::failure(QCoreApplication::translate("Utils",
                                                   "%1 is the root, your home directory or a directory above "
                                                   "it; it is never emptied, nothing was deleted.")
                                                   .arg(absolute(path)),
            { absolute(path) }));
        return true;
    }

    int deleted = 0;
    int kept = 0;
    const QFileInfoList entries = clearedEntries(path);
    for (const QFileInfo &entry : entries) {
        // A link is removed as a link: following one into a directory would
        // empty whatever it points at.
        bool removed;
        if (entry.isDir() && !entry.isSymLink())
            removed = QDir(entry.absoluteFilePath()).removeRecursively();
        else
            removed = QFile::remove(entry.absoluteFilePath());
        ++(removed ? deleted : kept);
    }
    if (kept > 0) {
        emit reported(
            OperationResult::failure(QCoreApplication::translate("Utils",
                                         "%1 could not be emptied: %2 of its entries could not be deleted.")
                                         .arg(absolute(path), QString::number(kept)),
                { absolute(path) }));
    } else if (deleted > 0) {
        emit reported(
            OperationResult::success(QCoreApplication::translate("Utils", "Emptied %1: %2 entries deleted.")
                                         .arg(absolute(path), QString::number(deleted)),
                { absolute(path) }));
    }
    return true;
}

bool Utils::zip(const QString &inDir, const QString &outFile)
{
    SkinArchive::Report report;
    const bool packed = SkinArchive::zip(inDir, outFile, &report);
    if (packed) {
        emit reported(OperationResult::success(
            QCoreApplication::translate("Utils", "Exported the skin %1 to %2 (%3 files).")
                .arg(absolute(inDir), absolute(outFile), QString::number(report.files)),
            { absolute(outFile) }));
    } else {
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Utils", "The skin was not exported: %1").arg(report.problem),
            { absolute(outFile) }));
    }
    return packed;
}

bool Utils::unzip(const QString &inFile, const QString &outDir)
{
    SkinArchive::Report report;
    const bool unpacked = SkinArchive::unzip(inFile, outDir, SkinArchive::Limits(), &report);
    if (unpacked) {
        emit reported(OperationResult::success(
            QCoreApplication::translate("Utils", "Imported %1 into %2 (%3 files).")
                .arg(absolute(inFile), absolute(outDir), QString::number(report.files)),
            { absolute(inFile) }));
    } else {
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Utils", "The skin was not imported completely: %1")
                .arg(report.problem),
            { absolute(inFile) }));
    }
    return unpacked;
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

bool Utils::isFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

QString Utils::logFilePath()
{
    return MessageHandler::logFilePath();
}
