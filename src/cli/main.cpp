// The command-line tool's entry point. The archive commands, --help and
// --version run here, on Qt Core alone; every other command runs in the
// tools module, loaded for it.
#include "cli/clitool.h"
#include "cli/toolsmodule.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    const QString command = CliTool::commandOf(argc, argv);
    if (CliTool::needsTools(command)) {
        QTextStream err(stderr);
        return ToolsModule::run(ToolsModule::path(), command, argc, argv, err);
    }
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = CliTool::run(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}
