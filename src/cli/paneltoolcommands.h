#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// quillmark-cli commands for the panel creator, the panel scaler and the
// tile tool: create-panel, scale, split and join.
class PanelToolCommands
{
public:
    // The synopses for --help, which the program lists without the module
    // that runs the commands.
    static constexpr char createPanelSynopsis[]
        = "create-panel OUT.ini --size W,H [--padding L,T,R,B] [--row-spacing N] [--touch-padding L,T,R,B] "
          "--row KEYS,HEIGHT,WIDTH,SPACING,ALIGN [--row ...] [--extra KEY=VALUE ...]";
    static constexpr char scaleSynopsis[] = "scale SRC_DIR DST_DIR --from R --to R [--vfrom R --vto R]";
    static constexpr char splitSynopsis[] = "split TIL_FILE DST_DIR";
    static constexpr char joinSynopsis[] = "join SRC_DIR TIL_FILE [--horizontal] [--start N]";

    // create-panel OUT.ini --size W,H [--padding L,T,R,B] [--row-spacing N]
    //   [--touch-padding L,T,R,B] --row KEYS,HEIGHT,WIDTH,SPACING,ALIGN …
    //   [--extra KEY=VALUE …]
    static int createPanel(const QStringList &args, QTextStream &out, QTextStream &err);
    // scale SRC_DIR DST_DIR --from R --to R [--vfrom R --vto R]
    static int scale(const QStringList &args, QTextStream &out, QTextStream &err);
    // split TIL_FILE DST_DIR
    static int split(const QStringList &args, QTextStream &out, QTextStream &err);
    // join SRC_DIR TIL_FILE [--horizontal] [--start N]
    static int join(const QStringList &args, QTextStream &out, QTextStream &err);
};
