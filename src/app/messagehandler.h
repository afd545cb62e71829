#pragma once

#include <QString>
#include <QtGlobal>

// The process-wide log handler: drops messages below the threshold read from
// the settings at start-up, and appends "[Level] text" to "quillmark.log" (where
// AppPaths says) and to standard output.
class MessageHandler
{
public:
    // Keeps `threshold` (a message type number) and installs messageHandler.
    static void install(int threshold);

    static int threshold();
    static void setThreshold(int threshold);

    // AppPaths::logFile() unless set otherwise.
    static QString logFilePath();
    static void setLogFilePath(const QString &path);

    // The level name of a message type: Debug, Warning, Critical, Fatal, Info.
    static QString levelName(QtMsgType type);
    static QString formatLine(QtMsgType type, const QString &text);
};

void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message);
