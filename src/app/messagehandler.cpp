#include "messagehandler.h"

#include "apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QTextStream>

#include <atomic>
#include <cstdio>

namespace {

std::atomic_int logThreshold { QtInfoMsg };
QString logFile;
// Imports and exports log from a worker thread: one line at a time.
QMutex logMutex;

} // namespace

void MessageHandler::install(int threshold)
{
    logThreshold = threshold;
    // an installed program's log directory does not exist before its first start
    QDir().mkpath(QFileInfo(logFilePath()).absolutePath());
    qInstallMessageHandler(messageHandler);
}

int MessageHandler::threshold()
{
    return logThreshold;
}

void MessageHandler::setThreshold(int threshold)
{
    logThreshold = threshold;
}

QString MessageHandler::logFilePath()
{
    if (logFile.isEmpty())
        return AppPaths::logFile();
    return logFile;
}

void MessageHandler::setLogFilePath(const QString &path)
{
    logFile = path;
}

QString MessageHandler::levelName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return QStringLiteral("Debug");
    case QtWarningMsg:
        return QStringLiteral("Warning");
    case QtCriticalMsg:
        return QStringLiteral("Critical");
    case QtFatalMsg:
        return QStringLiteral("Fatal");
    case QtInfoMsg:
        return QStringLiteral("Info");
    }
    return QString::number(int(type));
}

QString MessageHandler::formatLine(QtMsgType type, const QString &text)
{
    return QStringLiteral("[%1] %2").arg(levelName(type), text);
}

void messageHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (int(type) < logThreshold)
        return;
    const QString line = MessageHandler::formatLine(type, message);
    const QMutexLocker locker(&logMutex);

    // Opened and closed for every message, so no handle stays open.
    QFile file(MessageHandler::logFilePath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        QTextStream stream(&file);
        stream.setCodec("UTF-8");
        stream << line << '\n';
    }

    const QByteArray bytes = line.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
