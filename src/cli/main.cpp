// The command-line tool's entry point: the commands live in their library.
#include "cli/clitool.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    // The command is the first argument besides --verbose, which may stand
    // anywhere.
    QString command;
    for (int i = 1; i < argc && command.isEmpty(); ++i) {
        if (qstrcmp(argv[i], "--verbose") != 0)
            command = QString::fromLocal8Bit(argv[i]);
    }
    std::unique_ptr<QCoreApplication> app;
    if (CliTool::drawsText(command)) {
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
