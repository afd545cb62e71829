#include "clitool.h"

#include "archivecommands.h"
#include "checkcommand.h"
#include "paneltoolcommands.h"
#include "rendercommand.h"
#include "resourcetoolcommands.h"
#include "skin/syncbatch.h"

#include <QLoggingCategory>

namespace {

// Each command group lives in its own file of this folder and adds its rows
// here, in the order --help lists them. Only the archive commands run in the
// program itself; the headers of the others give their synopses alone.
const CliTool::Command commands[] = {
    { "pack", ArchiveCommands::packSynopsis, &ArchiveCommands::pack },
    { "unpack", ArchiveCommands::unpackSynopsis, &ArchiveCommands::unpack },
    { "convert", ResourceToolCommands::convertSynopsis, nullptr },
    { "inner-rect", ResourceToolCommands::innerRectSynopsis, nullptr },
    { "fontres", ResourceToolCommands::fontResSynopsis, nullptr },
    { "create-panel", PanelToolCommands::createPanelSynopsis, nullptr },
    { "scale", PanelToolCommands::scaleSynopsis, nullptr },
    { "split", PanelToolCommands::splitSynopsis, nullptr },
    { "join", PanelToolCommands::joinSynopsis, nullptr },
    { "render", RenderCommand::synopsis, nullptr },
    { "check", CheckCommand::synopsis, nullptr },
    { nullptr, nullptr, nullptr },
};

const CliTool::Command *toolCommands = nullptr;

const CliTool::Command *find(const CliTool::Command *table, const QString &name)
{
    for (const CliTool::Command *command = table; command && command->name; ++command) {
        if (name == QLatin1String(command->name))
            return command;
    }
    return nullptr;
}

} // namespace

int CliTool::run(const QStringList &givenArguments, QTextStream &out, QTextStream &err)
{
    // The tools log their progress at debug and info level: shown only when
    // asked for, so that standard error holds what went wrong and nothing
    // else.
    QStringList arguments = givenArguments;
    const bool verbose = arguments.removeAll(QStringLiteral("--verbose")) > 0;
    QLoggingCategory::setFilterRules(verbose ? QStringLiteral("default.debug=true\ndefault.info=true")
                                             : QStringLiteral("default.debug=false\ndefault.info=false"));
    if (arguments.isEmpty()) {
        printHelp(err);
        return UsageError;
    }
    const QString name = arguments.first();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        printHelp(out);
        return Success;
    }
    if (name == QLatin1String("--version") || name == QLatin1String("-v")) {
        out << "quillmark-cli " << QUILLMARK_VERSION << '\n';
        return Success;
    }
    if (const Command *command = find(commands, name)) {
        // The commands ask for the problems of their own syncs only.
        SyncBatch::takeProblem();
        if (command->run)
            return command->run(arguments.mid(1), out, err);
        if (const Command *tool = find(toolCommands, name); tool && tool->run)
            return tool->run(arguments.mid(1), out, err);
        err << "quillmark-cli " << name << ": the tools module that runs this command is not loaded\n";
        return Failure;
    }
    err << "quillmark-cli: unknown command '" << name << "' (see --help)\n";
    return UsageError;
}

bool CliTool::drawsText(const QString &command)
{
    return command == QLatin1String("render") || command == QLatin1String("fontres");
}

bool CliTool::needsTools(const QString &command)
{
    const Command *found = find(commands, command);
    return found && !found->run;
}

QString CliTool::commandOf(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--verbose") != 0)
            return QString::fromLocal8Bit(argv[i]);
    }
    return QString();
}

void CliTool::setToolCommands(const Command *commands)
{
    toolCommands = commands;
}

void CliTool::printHelp(QTextStream &out)
{
    out << "Usage: quillmark-cli [--verbose] COMMAND [ARGS...]\n\n"
           "Commands:\n";
    for (const Command &command : commands) {
        if (command.name)
            out << "  " << command.synopsis << '\n';
    }
    out << "\n--verbose also prints the progress the tools log.\n"
           "\nExit status: 0 success, 1 the work failed (the reason is on standard error), 2 usage error.\n";
}
