#pragma once

#include "testpaths.h"

#include <QFile>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QString>
#include <QStringList>

// File and command-line helpers shared by the panel creator, panel scaler
// and tile tool tests.
namespace ToolTestFiles {

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Replaces every argument equal to a placeholder (such as "OUT") by its path.
inline QStringList withPaths(QStringList arguments, const QList<QPair<QString, QString>> &paths)
{
    for (QString &argument : arguments) {
        for (const auto &path : paths) {
            if (argument == path.first)
                argument = path.second;
        }
    }
    return arguments;
}

struct CliResult {
    int exitCode = -1; // -1 when the program did not finish normally
    QByteArray err;
};

inline CliResult runCli(const QStringList &arguments)
{
    CliResult result;
    QProcess process;
    process.start(QStringLiteral(QUILLMARK_CLI_PATH), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        result.err = process.errorString().toUtf8();
        return result;
    }
    result.exitCode = process.exitCode();
    result.err = process.readAllStandardError();
    return result;
}

} // namespace ToolTestFiles
