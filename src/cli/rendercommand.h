#pragma once

#include <QStringList>
#include <QTextStream>

// `render`: the headless twin of the preview. Loads a panel file through the
// same Panel code the editor uses and writes the composite image.
class RenderCommand
{
public:
    // Here rather than in the source file, so that the program's --help
    // lists it without the module that runs the command.
    static constexpr char synopsis[] = "render PANEL_FILE -o OUT.png [--status N] [--resolution R] "
                                       "[--device-resolution R] [--highlight X,Y] "
                                       "[--view-rect-color C] [--touch-rect-color C] [--no-outlines]";

    // render PANEL_FILE -o OUT.png [--status N] [--resolution R]
    //        [--device-resolution R] [--highlight X,Y]
    //        [--view-rect-color C] [--touch-rect-color C] [--no-outlines]
    static int render(const QStringList &args, QTextStream &out, QTextStream &err);
};
