// The editor's own start-up, as its main() runs it, ending at the main
// window's first frame (see firstframe.h). Arguments as the editor's.
#include "app/application.h"
#include "firstframe.h"

int main(int argc, char *argv[])
{
    Application application(argc, argv);
    if (!application.start(QCoreApplication::arguments()))
        return application.exitCode();
    if (!exitOnFirstFrame(*application.engine()))
        return 1;
    return application.exec();
}
