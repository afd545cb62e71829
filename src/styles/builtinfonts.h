#pragma once

#include <QString>
#include <QStringList>

// The CJK face the program brings, registered from its file on disk: the
// font database then reads only the tables it needs from the mapped file,
// where a copy from the resources would read all 16 MB at every start.
// Registered once however many parts of the program ask for it.
class BuiltInFonts
{
public:
    // The places looked in, in order: beside the program, in the installed
    // data directory, in the build tree.
    static QStringList cjkFontCandidates();
    // The first of them that exists; empty when none does.
    static QString cjkFontPath();
    // The family of the registered CJK face; empty when it could not be
    // added (the system's fonts stand in).
    static QString cjkFamily();
};
