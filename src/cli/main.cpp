// The command-line tool's entry point: the commands live in the core library.
#include "cli/clitool.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Rendering needs fonts and painting but no window: run headless unless
    // the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = CliTool::run(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}
