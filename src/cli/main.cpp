// The command-line tool's entry point. The archive commands, --help and
// --version run here, on Qt Core alone; every other command runs in the
// tools module, loaded for it.
#include "cli/clitool.h"
#include "cli/toolsmodule.h"

#include <QTextStream>

#include <clocale>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Packing and unpacking need no QCoreApplication: no events, timers,
    // plugins or translations. Without one, the program takes from the
    // environment's locale what they use: the encoding of file names and
    // texts, and the language of the system's error messages. (The tools
    // module's application object takes the whole locale.)
    std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_MESSAGES, "");
    const QString command = CliTool::commandOf(argc, argv);
    QTextStream err(stderr);
    if (CliTool::needsTools(command))
        return ToolsModule::run(ToolsModule::path(), command, argc, argv, err);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QTextStream out(stdout);
    const int code = CliTool::run(arguments, out, err);
    out.flush();
    err.flush();
    return code;
}
