#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

// Reading and writing whole fixture files, shared by the test suites.
namespace TestFiles {

// The file's bytes, or `ifUnreadable` when it cannot be opened (pass a marker
// where an empty file is a meaningful expectation).
inline QByteArray readAll(const QString &path, const QByteArray &ifUnreadable = QByteArray())
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ifUnreadable;
    return file.readAll();
}

// Replaces the file's contents; true when every byte was written.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Copies the tree below `from` into `to` (made if missing), hidden entries
// included; true when every directory and file was copied.
inline bool copyTree(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    const QFileInfoList entries = QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo &entry : entries) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() ? !copyTree(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

} // namespace TestFiles
