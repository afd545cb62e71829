#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// The headless face of the editor: `quillmark-cli COMMAND ARGS…`.
//
// Every command runs the same core classes the editor uses. Exit status: 0 on
// success, 1 with a one-line reason on standard error when the work failed
// (missing input, unreadable archive, nothing written), 2 for a usage error.
//
// The dispatcher and the archive commands need Qt Core only and live in the
// program itself; the commands that need the core (and with it Qt Gui) live
// in the tools module, which registers them here when it is loaded.
class CliTool
{
public:
    enum ExitCode { Success = 0, Failure = 1, UsageError = 2 };

    using RunFunction = int (*)(const QStringList &args, QTextStream &out, QTextStream &err);

    // A command: its name, a one-line synopsis for --help, and the function
    // that runs it with the arguments after the command name (null for a
    // command of the tools module).
    struct Command
    {
        const char *name;
        const char *synopsis;
        RunFunction run;
    };

    // `arguments` without the program name.
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
    static void printHelp(QTextStream &out);
    // Whether the command paints text, which needs a QGuiApplication and
    // its fonts; the others do with a QCoreApplication and start faster.
    static bool drawsText(const QString &command);
    // Whether the command runs in the tools module rather than in the
    // program itself.
    static bool needsTools(const QString &command);
    // The command of a command line: the first argument besides --verbose,
    // which may stand anywhere; empty when there is none.
    static QString commandOf(int argc, char **argv);

    // The tools module's commands, a table ended by a row of nulls; they
    // run in the order of the program's own table, which --help follows.
    static void setToolCommands(const Command *commands);
};
