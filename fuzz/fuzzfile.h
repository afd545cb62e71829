#pragma once

#include "skin/imagelimits.h"

#include <QDir>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

// The fuzzers hand their input to readers that take file names: one private
// directory per process, one file name per role, rewritten for every input.
inline QString fuzzDirectory()
{
    // In memory where the system offers it: every input is written once.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
            ? QStringLiteral("/dev/shm/quillmark-fuzz-XXXXXX")
            : QDir::tempPath() + QStringLiteral("/quillmark-fuzz-XXXXXX"));
    return dir.path();
}

inline QString writeFuzzFile(const QString &name, const uint8_t *data, size_t size)
{
    const QString path = fuzzDirectory() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        abort();
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    return path;
}

// What the drawing fuzzers share: a headless GUI application, quiet logs and
// a small pixel budget, so that one input cannot take much memory.
inline void startDrawingFuzzer(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: the platform plugin's objects stay reachable.
    static QGuiApplication *app = new QGuiApplication(*argc, *argv);
    Q_UNUSED(app);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    ImageLimits::setPixelBudget(qint64(1) << 20);
}
