#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// The headless face of the editor: `quillmark-cli COMMAND ARGS…`.
//
// Every command runs the same core classes the editor uses. Exit status: 0 on
// success, 1 with a one-line reason on standard error when the work failed
// (missing input, unreadable archive, nothing written), 2 for a usage error.
class CliTool
{
public:
    enum ExitCode { Success = 0, Failure = 1, UsageError = 2 };

    // A command: its name, a one-line synopsis for --help, and the function
    // that runs it with the arguments after the command name.
    struct Command {
        const char *name;
        const char *synopsis;
        int (*run)(const QStringList &args, QTextStream &out, QTextStream &err);
    };

    // `arguments` without the program name.
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
    static void printHelp(QTextStream &out);
    // Whether the command paints text, which needs a QGuiApplication and
    // its fonts; the others do with a QCoreApplication and start faster.
    static bool drawsText(const QString &command);
};
