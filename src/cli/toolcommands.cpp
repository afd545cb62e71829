#include "toolcommands.h"

#include "checkcommand.h"
#include "paneltoolcommands.h"
#include "rendercommand.h"
#include "resourcetoolcommands.h"

namespace {

const CliTool::Command toolCommands[] = {
    { "convert", ResourceToolCommands::convertSynopsis, &ResourceToolCommands::convert },
    { "inner-rect", ResourceToolCommands::innerRectSynopsis, &ResourceToolCommands::innerRect },
    { "fontres", ResourceToolCommands::fontResSynopsis, &ResourceToolCommands::fontRes },
    { "create-panel", PanelToolCommands::createPanelSynopsis, &PanelToolCommands::createPanel },
    { "scale", PanelToolCommands::scaleSynopsis, &PanelToolCommands::scale },
    { "split", PanelToolCommands::splitSynopsis, &PanelToolCommands::split },
    { "join", PanelToolCommands::joinSynopsis, &PanelToolCommands::join },
    { "render", RenderCommand::synopsis, &RenderCommand::render },
    { "check", CheckCommand::synopsis, &CheckCommand::check },
    { nullptr, nullptr, nullptr },
};

// Linked in, the commands are there: a test runs them in its own process
// through CliTool::run as the module does.
const bool registered = (CliTool::setToolCommands(toolCommands), true);

} // namespace

const CliTool::Command *ToolCommands::commands()
{
    Q_UNUSED(registered)
    return toolCommands;
}
