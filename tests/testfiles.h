#pragma once

#include <QByteArray>
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

} // namespace TestFiles
