#pragma once

#include "testfiles.h"
#include "testpaths.h"

#include <QFile>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QScopedPointer>
#include <QString>
#include <QStringList>

// File and command-line helpers shared by the panel creator, panel scaler
// and tile tool tests.
namespace ToolTestFiles {

using TestFiles::readAll;
using TestFiles::writeFile;

// A command line written as one text; arguments are separated by blanks.
inline QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
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

struct CliResult
{
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

// Runs `script` in a QML scene that sees `object` as the context property
// `name`, the way the tool dialogs call the tools. True when the whole
// script ran; otherwise `error` says why.
inline bool runQml(const QString &name, QObject *object, const QString &script, QString *error)
{
    QQmlEngine engine;
    engine.rootContext()->setContextProperty(name, object);
    QQmlComponent component(&engine);
    component.setData(QStringLiteral("import QtQml 2.15\n"
                                     "QtObject { property bool done: false\n"
                                     "Component.onCompleted: { %1\n done = true } }")
                          .arg(script)
                          .toUtf8(),
        QUrl());
    QScopedPointer<QObject> root(component.create());
    if (!root) {
        *error = component.errorString();
        return false;
    }
    if (!root->property("done").toBool()) {
        *error = QStringLiteral("the script stopped early (see the warning above)");
        return false;
    }
    return true;
}

} // namespace ToolTestFiles
