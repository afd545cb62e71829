// The command-line tool's entry point: the commands live in their library.
#include "cli/clitool.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && CliTool::drawsText(QString::fromLocal8Bit(argv[1]))) {
        // Text needs fonts and painting but no window: run headless unless
        // the caller chose a platform.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = CliTool::run(app->arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}
