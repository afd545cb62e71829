#pragma once

#include <QString>
#include <QTextStream>

// The module that runs the commands needing the core, and with it Qt Gui:
// quillmark-cli loads it only for them, so that packing, unpacking, --help
// and --version start without those libraries. It lies at a fixed path
// relative to the program's own executable, in the build tree and in an
// installation alike.
class ToolsModule
{
public:
    // The name of the function the module exports: it runs a whole command
    // line as main() would and returns the exit status.
    static constexpr char entryName[] = "quillmarkCliToolsMain";
    using Entry = int (*)(int argc, char **argv);

    // Where the module of the running program lies.
    static QString path();

    // Loads the module at `path` and runs the command line in it. When the
    // module is missing or can not be loaded: a line naming the path and the
    // reason on `err`, and exit status 1.
    static int run(const QString &path, const QString &command, int argc, char **argv, QTextStream &err);
};
