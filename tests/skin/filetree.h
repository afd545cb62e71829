#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>

// Small file helpers shared by the tests of this folder.
namespace FileTree {

// Writes `data` to `path`, creating the missing directories.
inline bool write(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

inline QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every path below `root` (hidden ones too), relative and sorted; a
// directory ends with "/", a link with " -> link" and is never followed.
inline QStringList list(const QString &root)
{
    QStringList paths;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        QString path = QDir(root).relativeFilePath(info.filePath());
        if (info.isSymLink())
            path += QStringLiteral(" -> link");
        else if (info.isDir())
            path += QLatin1Char('/');
        paths.append(path);
    }
    paths.sort();
    return paths;
}

// Bytes no compressor can shrink, the same for the same seed.
inline QByteArray randomBytes(int size, quint32 seed = 42)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    for (char &c : bytes)
        c = char(generator.bounded(256));
    return bytes;
}

} // namespace FileTree
