// The editor's entry point: everything else happens in the core library.
#include "app/application.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool asksOnlyForText(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : { "-h", "--help", "-?", "-v", "--version", "--help-all" }) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // The help and the version need neither a window nor the settings: the
    // manual page is made from this help at build time.
    if (asksOnlyForText(argc, argv)) {
        QCoreApplication app(argc, argv);
        Application::setIdentity();
        int code = 0;
        Application::applyCommandLine(QCoreApplication::arguments(), &code);
        return code;
    }
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Without a display the windowing system would abort the process.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr,
            "quillmark: no display available (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
            "Run it under a virtual display (xvfb-run -a %s ...), set DISPLAY, or set "
            "QT_QPA_PLATFORM=offscreen to run without a window.\n",
            argv[0]);
        return 1;
    }
#endif
    Application application(argc, argv);
    if (!application.start(QCoreApplication::arguments()))
        return application.exitCode();
    return application.exec();
}
