#include "clitool.h"

#include "archivecommands.h"
#include "checkcommand.h"
#include "paneltoolcommands.h"
#include "rendercommand.h"
#include "resourcetoolcommands.h"

#include <QLoggingCategory>

namespace {

// Each command group lives in its own file of this folder and adds its rows
// here, in the order --help lists them.
const CliTool::Command commands[] = {
    { "pack", ArchiveCommands::packSynopsis, &ArchiveCommands::pack },
    { "unpack", ArchiveCommands::unpackSynopsis, &ArchiveCommands::unpack },
    { "convert", ResourceToolCommands::convertSynopsis, &ResourceToolCommands::convert },
    { "inner-rect", ResourceToolCommands::innerRectSynopsis, &ResourceToolCommands::innerRect },
    { "fontres", ResourceToolCommands::fontResSynopsis, &ResourceToolCommands::fontRes },
    { "create-panel",
        "create-panel OUT.ini --size W,H [--padding L,T,R,B] [--row-spacing N] [--touch-padding L,T,R,B] "
        "--row KEYS,HEIGHT,WIDTH,SPACING,ALIGN [--row ...] [--extra KEY=VALUE ...]",
        PanelToolCommands::createPanel },
    { "scale", "scale SRC_DIR DST_DIR --from R --to R [--vfrom R --vto R]", PanelToolCommands::scale },
    { "split", "split TIL_FILE DST_DIR", PanelToolCommands::split },
    { "join", "join SRC_DIR TIL_FILE [--horizontal] [--start N]", PanelToolCommands::join },
    { "render", RenderCommand::synopsis, &RenderCommand::render },
    { "check", CheckCommand::synopsis, &CheckCommand::check },
    { nullptr, nullptr, nullptr },
};

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
    for (const Command &command : commands) {
        if (command.name && name == QLatin1String(command.name))
            return command.run(arguments.mid(1), out, err);
    }
    err << "quillmark-cli: unknown command '" << name << "' (see --help)\n";
    return UsageError;
}

bool CliTool::drawsText(const QString &command)
{
    return command == QLatin1String("render") || command == QLatin1String("fontres");
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
