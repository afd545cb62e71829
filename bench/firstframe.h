#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

#include <cstdio>
#include <cstdlib>

// Ends the process as soon as the first window of `engine` has shown its
// first frame: the start-up programs are timed from launch to exit, so
// nothing after that frame may count. Teardown is skipped on purpose.
inline bool exitOnFirstFrame(QQmlApplicationEngine &engine)
{
    if (engine.rootObjects().isEmpty())
        return false;
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().first());
    if (!window)
        return false;
    QObject::connect(window, &QQuickWindow::frameSwapped, window, [] {
        std::fflush(stdout);
        std::_Exit(0);
    });
    return true;
}
