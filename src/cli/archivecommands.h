#pragma once

#include <QStringList>
#include <QTextStream>

// Skin archives on the command line, through the same code as the editor's
// import and export.
class ArchiveCommands
{
public:
    static const char packSynopsis[];
    static const char unpackSynopsis[];

    // pack SKIN_DIR ARCHIVE
    static int pack(const QStringList &args, QTextStream &out, QTextStream &err);
    // unpack ARCHIVE DIR: DIR is not cleared first.
    static int unpack(const QStringList &args, QTextStream &out, QTextStream &err);
};
