#pragma once

#include <QStringList>
#include <QTextStream>

// `check`: the skin checker for scripts and CI. Lists what is wrong with a
// panel file, or with every panel file of a skin directory, as
// "FILE:LINE: SEVERITY: MESSAGE [KIND]" lines that editors and CI annotate,
// or as one JSON array. Exit status 1 when there is an error.
class CheckCommand
{
public:
    // In the header, so that the program's --help lists it without the
    // module that runs the command.
    static constexpr char synopsis[] = "check PANEL_FILE|SKIN_DIR [--format text|json] [--resolution R]";

    // check PANEL_FILE|SKIN_DIR [--format text|json] [--resolution R]
    static int check(const QStringList &args, QTextStream &out, QTextStream &err);
};
