#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>

// Ends the process as soon as the first window of `engine` has shown its
// first frame, printing when that was ("first frame: MONOTONIC_NS CPU_NS"):
// the start-up programs are timed from launch to that frame. Teardown is
// skipped on purpose.
inline bool exitOnFirstFrame(QQmlApplicationEngine &engine)
{
    if (engine.rootObjects().isEmpty())
        return false;
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().first());
    if (!window)
        return false;
    QObject::connect(window, &QQuickWindow::frameSwapped, window, [] {
        // When the frame came (monotonic clock) and the processor time all
        // threads took until then: what the process does after it, tearing
        // its memory down, is not part of the first frame.
        timespec now {};
        timespec processor {};
        clock_gettime(CLOCK_MONOTONIC, &now);
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &processor);
        std::printf("\nfirst frame: %lld %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
            static_cast<long long>(processor.tv_sec) * 1000000000LL + processor.tv_nsec);
        std::fflush(stdout);
        std::_Exit(0);
    });
    return true;
}
