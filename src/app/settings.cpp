#include "settings.h"

#include "apppaths.h"
#include "utils.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStringList>

#include <algorithm>

namespace {

const QString kStayOnTop = QStringLiteral("StayOnTop");
const QString kWindowX = QStringLiteral("WindowX");
const QString kWindowY = QStringLiteral("WindowY");
const QString kWindowWidth = QStringLiteral("WindowWidth");
const QString kWindowHeight = QStringLiteral("WindowHeight");
const QString kDisplayPanelInfo = QStringLiteral("DisplayPanelInfo");
const QString kDisplayFileTree = QStringLiteral("DisplayFileTree");
const QString kDisplayTextEditor = QStringLiteral("DisplayTextEditor");
const QString kSkinWorkingDirectory = QStringLiteral("SkinWorkingDirectory");
const QString kViewRectColor = QStringLiteral("ViewRectColor");
const QString kTouchRectColor = QStringLiteral("TouchRectColor");
const QString kAutoReload = QStringLiteral("AutoReload");
const QString kAutoReloadInterval = QStringLiteral("AutoReloadInterval");
const QString kLogLevel = QStringLiteral("LogLevel");
const QString kTransparentBackgroudColor1 = QStringLiteral("TransparentBackgroudColor1");
const QString kTransparentBackgroudColor2 = QStringLiteral("TransparentBackgroudColor2");
const QString kTransparentBackgroudGridSize = QStringLiteral("TransparentBackgroudGridSize");
const QString kSnapGridSize = QStringLiteral("SnapGridSize");
const QString kUiFont = QStringLiteral("UiFont");
const QString kLanguage = QStringLiteral("Language");
const QString kRecentPanelFiles = QStringLiteral("RecentPanelFiles");
const QString kReopenLastPanel = QStringLiteral("ReopenLastPanel");

// Indexed by the message type numbers of the log handler.
const QStringList &logLevelWords()
{
    static const QStringList words = { QStringLiteral("Debug"), QStringLiteral("Warning"),
        QStringLiteral("Critical"), QStringLiteral("Fatal"), QStringLiteral("Info") };
    return words;
}

} // namespace

Settings *Settings::instance()
{
    static Settings settings(defaultFileName());
    return &settings;
}

QString Settings::defaultFileName()
{
    return AppPaths::settingsFile();
}

Settings::Settings(const QString &fileName, QObject *parent)
    : QObject(parent)
    , mSettings(new QSettings(fileName, QSettings::IniFormat, this))
{
    mSkinDirectory = skinWorkingDirectory();
}

Settings::~Settings() = default;

QString Settings::fileName() const
{
    return mSettings->fileName();
}

QString Settings::defaultSkinWorkingDirectory()
{
    return Utils::instance()->getQuillmarkDirectory() + QStringLiteral("/SkinWorkingDirectory");
}

QString Settings::defaultUiFont()
{
    return QStringLiteral("Noto Sans CJK SC Regular");
}

bool Settings::storeIfChanged(const QString &key, bool value)
{
    if (mSettings->value(key).toBool() == value)
        return false;
    mSettings->setValue(key, value);
    return true;
}

bool Settings::storeIfChanged(const QString &key, int value)
{
    if (mSettings->value(key).toInt() == value)
        return false;
    mSettings->setValue(key, value);
    return true;
}

bool Settings::stayOnTop() const
{
    return mSettings->value(kStayOnTop, false).toBool();
}

void Settings::setStayOnTop(bool value)
{
    if (storeIfChanged(kStayOnTop, value))
        emit stayOnTopChanged();
}

int Settings::windowX() const
{
    return mSettings->value(kWindowX, 100).toInt();
}

void Settings::setWindowX(int value)
{
    if (storeIfChanged(kWindowX, value))
        emit windowXChanged();
}

int Settings::windowY() const
{
    return mSettings->value(kWindowY, 100).toInt();
}

void Settings::setWindowY(int value)
{
    if (storeIfChanged(kWindowY, value))
        emit windowYChanged();
}

int Settings::windowWidth() const
{
    return mSettings->value(kWindowWidth, 800).toInt();
}

bool Settings::windowSizeStored() const
{
    return mSettings->contains(kWindowWidth) && mSettings->contains(kWindowHeight);
}

void Settings::setWindowWidth(int value)
{
    if (storeIfChanged(kWindowWidth, value))
        emit windowWidthChanged();
}

int Settings::windowHeight() const
{
    return mSettings->value(kWindowHeight, 600).toInt();
}

void Settings::setWindowHeight(int value)
{
    if (storeIfChanged(kWindowHeight, value))
        emit windowHeightChanged();
}

bool Settings::displayPanelInfo() const
{
    return mSettings->value(kDisplayPanelInfo, true).toBool();
}

void Settings::setDisplayPanelInfo(bool value)
{
    if (storeIfChanged(kDisplayPanelInfo, value))
        emit displayPanelInfoChanged();
}

bool Settings::displayFileTree() const
{
    return mSettings->value(kDisplayFileTree, true).toBool();
}

void Settings::setDisplayFileTree(bool value)
{
    if (storeIfChanged(kDisplayFileTree, value))
        emit displayFileTreeChanged();
}

bool Settings::displayTextEditor() const
{
    return mSettings->value(kDisplayTextEditor, true).toBool();
}

void Settings::setDisplayTextEditor(bool value)
{
    if (storeIfChanged(kDisplayTextEditor, value))
        emit displayTextEditorChanged();
}

QString Settings::skinWorkingDirectory() const
{
    const QString path = mSettings->value(kSkinWorkingDirectory, defaultSkinWorkingDirectory()).toString();
    if (!path.isEmpty() && !QDir(path).exists())
        QDir().mkpath(path);
    return path;
}

void Settings::setSkinWorkingDirectory(const QString &path)
{
    const QString defaultPath = defaultSkinWorkingDirectory();
    const QString stored = mSettings->value(kSkinWorkingDirectory).toString();
    if (path == defaultPath) {
        if (stored != defaultPath) {
            mSettings->remove(kSkinWorkingDirectory);
            emit skinWorkingDirectoryChanged();
            setSkinDirectory(defaultPath);
        }
        return;
    }
    if (stored == path)
        return;
    mSettings->setValue(kSkinWorkingDirectory, path);
    emit skinWorkingDirectoryChanged();
    setSkinDirectory(path);
}

QColor Settings::viewRectColor() const
{
    return QColor(mSettings->value(kViewRectColor, QStringLiteral("#ffd62728")).toString());
}

void Settings::setViewRectColor(const QColor &color)
{
    const QString name = color.name(QColor::HexArgb);
    if (mSettings->value(kViewRectColor).toString() == name)
        return;
    mSettings->setValue(kViewRectColor, name);
    emit viewRectColorChanged();
}

QColor Settings::touchRectColor() const
{
    return QColor(mSettings->value(kTouchRectColor, QStringLiteral("#ff1f77b4")).toString());
}

void Settings::setTouchRectColor(const QColor &color)
{
    const QString name = color.name(QColor::HexArgb);
    if (mSettings->value(kTouchRectColor).toString() == name)
        return;
    mSettings->setValue(kTouchRectColor, name);
    emit touchRectColorChanged();
}

bool Settings::autoReload() const
{
    return mSettings->value(kAutoReload, true).toBool();
}

void Settings::setAutoReload(bool value)
{
    if (storeIfChanged(kAutoReload, value))
        emit autoReloadChanged();
}

int Settings::autoReloadInterval() const
{
    return mSettings->value(kAutoReloadInterval, 3000).toInt();
}

void Settings::setAutoReloadInterval(int interval)
{
    if (storeIfChanged(kAutoReloadInterval, interval))
        emit autoReloadIntervalChanged(interval);
}

int Settings::logLevel() const
{
    const QString word = mSettings->value(kLogLevel, QStringLiteral("Info")).toString();
    // Exact comparison: any other word, "Info" included, is 4.
    const int index = logLevelWords().indexOf(word);
    return index < 0 ? 4 : index;
}

void Settings::setLogLevel(int level)
{
    if (level == logLevel())
        return;
    if (level >= 0 && level < logLevelWords().size())
        mSettings->setValue(kLogLevel, logLevelWords().at(level));
    emit logLevelChanged();
}

QColor Settings::transparentBackgroudColor1() const
{
    return QColor(mSettings->value(kTransparentBackgroudColor1, QStringLiteral("#ffffff")).toString());
}

void Settings::setTransparentBackgroudColor1(const QColor &color)
{
    mSettings->setValue(kTransparentBackgroudColor1, color.name(QColor::HexRgb));
    emit transparentBackgroudColor1Changed();
}

QColor Settings::transparentBackgroudColor2() const
{
    return QColor(mSettings->value(kTransparentBackgroudColor2, QStringLiteral("#cccccc")).toString());
}

void Settings::setTransparentBackgroudColor2(const QColor &color)
{
    mSettings->setValue(kTransparentBackgroudColor2, color.name(QColor::HexRgb));
    emit transparentBackgroudColor2Changed();
}

int Settings::transparentBackgroudGridSize() const
{
    return mSettings->value(kTransparentBackgroudGridSize, 5).toInt();
}

void Settings::setTransparentBackgroudGridSize(int size)
{
    mSettings->setValue(kTransparentBackgroudGridSize, size);
    emit transparentBackgroudGridSizeChanged();
}

int Settings::snapGridSize() const
{
    return std::max(0, mSettings->value(kSnapGridSize, 0).toInt());
}

void Settings::setSnapGridSize(int size)
{
    // a negative size means no grid, stored as such
    if (storeIfChanged(kSnapGridSize, std::max(0, size)))
        emit snapGridSizeChanged();
}

QString Settings::uiFont() const
{
    return mSettings->value(kUiFont, defaultUiFont()).toString();
}

void Settings::setUiFont(const QString &family)
{
    const QString stored = mSettings->value(kUiFont).toString();
    if (family == defaultUiFont()) {
        if (stored != family) {
            mSettings->remove(kUiFont);
            emit uiFontChanged();
        }
        return;
    }
    if (!family.isEmpty() && family != stored) {
        mSettings->setValue(kUiFont, family);
        emit uiFontChanged();
    }
}

QString Settings::skinDirectory() const
{
    return mSkinDirectory;
}

void Settings::setSkinDirectory(const QString &path)
{
    if (path == mSkinDirectory)
        return;
    mSkinDirectory = path;
    emit skinDirectoryChanged();
}

QStringList Settings::languages()
{
    return { QStringLiteral("zh"), QStringLiteral("en"), QStringLiteral("system") };
}

QString Settings::language() const
{
    const QString stored = mSettings->value(kLanguage).toString();
    return languages().contains(stored) ? stored : languages().first();
}

void Settings::setLanguage(const QString &language)
{
    if (!languages().contains(language) || language == this->language())
        return;
    mSettings->setValue(kLanguage, language);
    emit languageChanged();
}

QStringList Settings::recentPanelFiles() const
{
    return mSettings->value(kRecentPanelFiles).toStringList().mid(0, maxRecentPanelFiles());
}

void Settings::addRecentPanelFile(const QString &path)
{
    if (path.isEmpty())
        return;
    QStringList files = recentPanelFiles();
    if (!files.isEmpty() && files.first() == path)
        return;
    files.removeAll(path);
    files.prepend(path);
    mSettings->setValue(kRecentPanelFiles, QVariant(files.mid(0, maxRecentPanelFiles())));
    emit recentPanelFilesChanged();
}

bool Settings::reopenLastPanel() const
{
    return mSettings->value(kReopenLastPanel, false).toBool();
}

void Settings::setReopenLastPanel(bool value)
{
    if (storeIfChanged(kReopenLastPanel, value))
        emit reopenLastPanelChanged();
}
