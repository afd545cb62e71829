#pragma once

#include <QString>

// Where the editor keeps its settings and its log. A portable copy (a marker
// file next to the executable; the build tree gets one when it is configured)
// keeps both next to the executable. An installed program cannot write there,
// so it keeps them in the user's configuration and state directories.
// Whether the executable's directory is writable decides nothing: root can
// write /usr/bin.
class AppPaths
{
public:
    // "quillmark.portable"
    static QString markerName();

    // Whether `applicationDir` holds the marker.
    static bool isPortable(const QString &applicationDir);
    // The directory of the running executable.
    static QString applicationDir();

    // The settings file and the log file of a program in `applicationDir`.
    static QString settingsFile(const QString &applicationDir);
    static QString logFile(const QString &applicationDir);

    // The same for the running program.
    static QString settingsFile();
    static QString logFile();
};
