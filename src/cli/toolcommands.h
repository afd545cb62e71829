#pragma once

#include "clitool.h"

// The commands of the tools module: every command that needs the core. They
// register themselves with CliTool as soon as the module (or a program that
// links them) is loaded.
class ToolCommands
{
public:
    // Ended by a row of nulls.
    static const CliTool::Command *commands();
};
