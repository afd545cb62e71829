#pragma once

#include <QStringList>
#include <QTextStream>

// The resource tools on the command line: resolution conversion of tile
// files and sheets, setting a tile's inner rectangle, and rendering lines of
// text into resource images.
class ResourceToolCommands
{
public:
    // The synopses for --help and the usage messages; in the header, so that
    // the program's --help lists them without the module that runs them.
    static constexpr char convertSynopsis[] = "convert SRC_DIR DST_DIR --from R --to R [--inner-rect-only]";
    static constexpr char innerRectSynopsis[] = "inner-rect TIL_FILE TILE X,Y,W,H";
    static constexpr char fontResSynopsis[]
        = "fontres TEXT_FILE (--out-dir DIR | --til FILE) (--family NAME | --font-file FILE) --size N "
          "[--color #AARRGGBB] [--style NAME] [--bold] [--italic] [--underline] [--tight] [--horizontal]";

    // convert SRC_DIR DST_DIR --from R --to R [--inner-rect-only]
    static int convert(const QStringList &args, QTextStream &out, QTextStream &err);
    // inner-rect TIL_FILE TILE X,Y,W,H (rectangle relative to the tile)
    static int innerRect(const QStringList &args, QTextStream &out, QTextStream &err);
    // fontres TEXT_FILE (--out-dir DIR | --til FILE) (--family NAME | --font-file FILE) --size N ...
    static int fontRes(const QStringList &args, QTextStream &out, QTextStream &err);
};
