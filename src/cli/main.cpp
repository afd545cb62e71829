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
    // plugins or translations. Without one, the program takes the
    // environment's locale itself, as the application object would, so that
    // file names and messages keep their encoding.
    std::setlocale(LC_ALL, "");
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
