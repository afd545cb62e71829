// The tools module's entry point: quillmark-cli hands it the whole command
// line of a command that needs the core (see ToolsModule).
#include "cli/clitool.h"
#include "cli/toolcommands.h"

#include <QGuiApplication>
#include <QTextStream>

#include <memory>

extern "C" Q_DECL_EXPORT int quillmarkCliToolsMain(int argc, char *argv[])
{
    CliTool::setToolCommands(ToolCommands::commands());
    const QString command = CliTool::commandOf(argc, argv);
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
