#include "apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kSettingsName = QStringLiteral("quillmark_settings.ini");
const QString kLogName = QStringLiteral("quillmark.log");

// $XDG_STATE_HOME/quillmark, by default ~/.local/state/quillmark (Qt 5 knows
// no state location).
QString stateDirectory()
{
    QString base = QFile::decodeName(qgetenv("XDG_STATE_HOME"));
    // a relative XDG_STATE_HOME is ignored, as the XDG directory rules say
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/quillmark");
}

} // namespace

QString AppPaths::markerName()
{
    return QStringLiteral("quillmark.portable");
}

bool AppPaths::isPortable(const QString &applicationDir)
{
    return QFileInfo::exists(applicationDir + QLatin1Char('/') + markerName());
}

QString AppPaths::applicationDir()
{
    return QCoreApplication::applicationDirPath();
}

QString AppPaths::settingsFile(const QString &applicationDir)
{
    if (isPortable(applicationDir))
        return applicationDir + QLatin1Char('/') + kSettingsName;
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QLatin1Char('/')
        + kSettingsName;
}

QString AppPaths::logFile(const QString &applicationDir)
{
    if (isPortable(applicationDir))
        return applicationDir + QLatin1Char('/') + kLogName;
    return stateDirectory() + QLatin1Char('/') + kLogName;
}

QString AppPaths::settingsFile()
{
    return settingsFile(applicationDir());
}

QString AppPaths::logFile()
{
    return logFile(applicationDir());
}
