#include "panel.h"

#include "app/settings.h"
#include "app/valuetext.h"
#include "keyeditor.h"
#include "panelrenderer.h"
#include "skin/atomicfile.h"
#include "skin/skinconfig.h"
#include "skin/tile.h"
#include "styles/stylesmanager.h"

#include <QBuffer>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageWriter>
#include <QTimer>

#include <algorithm>

namespace {

QString absolutePath(const QString &path)
{
    return path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QDateTime lastModified(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() ? info.lastModified() : QDateTime();
}

// A recorded time that is absent or null counts as earlier than any real one.
bool isNewer(const QDateTime &current, const QDateTime &recorded)
{
    if (!current.isValid())
        return false;
    return !recorded.isValid() || recorded < current;
}

QColor settingsColor(const char *name)
{
    const QVariant value = Settings::instance()->property(name);
    if (value.canConvert<QColor>())
        return value.value<QColor>();
    return QColor(value.toString());
}

} // namespace

Panel *Panel::instance()
{
    static Panel panel;
    return &panel;
}

Panel::Panel()
    : mViewRectColor(settingsColor("viewRectColor"))
    , mTouchRectColor(settingsColor("touchRectColor"))
    , mStylesManager(StylesManager::instance())
{
    Settings *settings = Settings::instance();
    mAutoReloadTimer = new QTimer(this);
    mAutoReloadTimer->setInterval(settings->property("autoReloadInterval").toInt());
    if (settings->property("autoReload").toBool()) {
        mAutoReloadTimer->start();
        qDebug() << "timer started!";
    }
    connect(mAutoReloadTimer, &QTimer::timeout, this, &Panel::detectFilesUpdate);
    connect(settings, &Settings::autoReloadIntervalChanged, this, [this](int interval) {
        qDebug() << "new interval: " << interval;
        mAutoReloadTimer->setInterval(interval);
    });
    connect(settings, &Settings::autoReloadChanged, this, [this]() {
        if (Settings::instance()->property("autoReload").toBool()) {
            mAutoReloadTimer->start();
            qDebug() << "timer started!";
        } else {
            mAutoReloadTimer->stop();
            qDebug() << "timer stoped!";
        }
    });
}

Panel::~Panel() = default;

void Panel::setCurrentPanelFile(const QString &file)
{
    if (mCurrentPanelFile == file)
        return;
    mCurrentPanelFile = file;
    emit currentPanelFileChanged();
}

void Panel::setBasicInfomation(const QString &text)
{
    mBasicInfomation = text;
    emit basicInfomationChanged();
}

void Panel::setCurrentKey(const QString &key)
{
    if (mCurrentKey != key) {
        mCurrentKey = key;
        if (mPanelConfig) {
            QStringList properties;
            for (const SkinConfig::Property &p : mPanelConfig->sectionProperties(key))
                properties.append(p.first + QLatin1Char('=') + p.second);
            setCurrentSectionProperties(properties);
            setCurrentSectionName(key);
        }
    }
    emit currentKeyChanged();
}

void Panel::setCurrentSectionName(const QString &name)
{
    if (mCurrentSectionName == name)
        return;
    mCurrentSectionName = name;
    emit currentSectionNameChanged();
}

void Panel::setCurrentSectionProperties(const QStringList &properties)
{
    if (mCurrentSectionProperties == properties)
        return;
    mCurrentSectionProperties = properties;
    emit currentSectionPropertiesChanged();
}

void Panel::setCurrentStatus(int status)
{
    if (mCurrentStatus == status)
        return;
    mCurrentStatus = status;
    mCandidateStatus = status == 4;
    emit currentStatusChanged();
    emit panelReloaded();
}

void Panel::setCanUndo(bool value)
{
    if (mCanUndo == value)
        return;
    mCanUndo = value;
    emit canUndoChanged();
}

void Panel::setCanRedo(bool value)
{
    if (mCanRedo == value)
        return;
    mCanRedo = value;
    emit canRedoChanged();
}

void Panel::setResolution(int resolution)
{
    if (mResolution == resolution)
        return;
    mResolution = resolution;
    reload();
    emit resolutionChanged();
}

void Panel::setDeviceResolution(int resolution)
{
    if (mDeviceResolution == resolution)
        return;
    mDeviceResolution = resolution;
    reload();
    emit deviceResolutionChanged();
}

QString Panel::value(const QString &path) const
{
    if (mPanelConfig && mPanelConfig->contains(path))
        return mPanelConfig->value(path);
    if (mGenConfig)
        return mGenConfig->value(path);
    return QString();
}

int Panel::keyNumber(const QString &keySection)
{
    return ValueText::parseInt(keySection.mid(3));
}

QStringList Panel::orderedKeys() const
{
    if (!mPanelConfig)
        return {};
    QVector<QPair<int, QString>> plain;
    QVector<QPair<int, QString>> withStatus;
    const QStringList sections = mPanelConfig->childGroups();
    for (const QString &section : sections) {
        if (!section.startsWith(QLatin1String("KEY")))
            continue;
        const QPair<int, QString> entry(keyNumber(section), section);
        if (mPanelConfig->contains(section + QLatin1String("/STAT_STYLE")))
            withStatus.append(entry);
        else
            plain.append(entry);
    }
    // Stable sorts by number only: keys of equal number keep document order.
    std::stable_sort(plain.begin(), plain.end(),
        [](const QPair<int, QString> &a, const QPair<int, QString> &b) { return a.first < b.first; });
    std::stable_sort(withStatus.begin(), withStatus.end(),
        [](const QPair<int, QString> &a, const QPair<int, QString> &b) { return a.first > b.first; });
    QStringList keys;
    keys.reserve(plain.size() + withStatus.size());
    for (const auto &entry : qAsConst(plain))
        keys.append(entry.second);
    for (const auto &entry : qAsConst(withStatus))
        keys.append(entry.second);
    return keys;
}

void Panel::clean()
{
    mHighlightPointF = QPointF(0, 0);
    setCurrentPanelFile(QString());
    mStyleTablePath.clear();
    mResourceDirectories.clear();
    mPanelConfig.reset();
    mGenConfig.reset();
    mStylesManager->clear();
    mResourceFileTimes.clear();
    mPanelFileTimes.clear();
    emit panelReloaded();
}

void Panel::reload()
{
    mStylesManager->clear();
    mResourceFileTimes.clear();
    mPanelFileTimes.clear();
    mStyleTablePath.clear();
    mResourceDirectories.clear();
    const QString file = mCurrentPanelFile;
    mCurrentPanelFile.clear();
    setPanelFile(file);
    emit panelReloaded();
}

void Panel::setViewRectColor(QColor color)
{
    mViewRectColor = color;
    emit panelReloaded();
}

void Panel::setTouchRectColor(QColor color)
{
    mTouchRectColor = color;
    emit panelReloaded();
}

void Panel::setHighlightPointF(QPointF pointF)
{
    mHighlightPointF = pointF;
    emit panelReloaded();
}

void Panel::setPanelFile(QString panelFile)
{
    const QFileInfo info(panelFile);
    const QString file = absolutePath(panelFile);
    // A directory is no panel file, whatever its name.
    if (panelFile.isEmpty() || !info.isFile()) {
        qInfo() << "file: " << file << " not exists!";
        mLoadFailed = true;
        return;
    }

    const QString directory = QFileInfo(file).absolutePath();
    if (mCurrentPanelFile.isEmpty() || directory != QFileInfo(mCurrentPanelFile).absolutePath()) {
        searchStyleTableAndResources(directory);
        mStylesManager->clear();
        QElapsedTimer timer;
        timer.start();
        qDebug() << "css: " << mStyleTablePath;
        qDebug() << "res: " << mResourceDirectories;
        loadResources();
        loadStyles();
        qInfo() << "res loaded: " << timer.elapsed();
    }

    if (file != mCurrentPanelFile) {
        createFilesTimeMap();
        setCurrentPanelFile(file);
        QElapsedTimer timer;
        timer.start();
        clearUndoHistory();
        loadPanel();
        qInfo() << "panel loaded: " << timer.elapsed();
    }

    detectFilesUpdate();
    mLoadFailed = false;
    emit panelReloaded();
}

void Panel::clearUndoHistory()
{
    mUndoStack.clear();
    mRedoStack.clear();
    setCanUndo(false);
    setCanRedo(false);
}

void Panel::searchStyleTableAndResources(const QString &panelDirectory)
{
    mStyleTablePath.clear();
    mResourceDirectories.clear();

    const QString d = panelDirectory;
    const QStringList parts = d.split(QLatin1Char('/'));
    const QString name = parts.last();
    const QString r = QString::number(mResolution);

    QStringList tables;
    QStringList directories;
    if (mResolution > 0 && parts.size() > 2 && parts.at(parts.size() - 2) == r) {
        // The panel directory lies inside a directory named after the
        // resolution: skin/1080/port.
        tables << d + QLatin1String("/res/default.css") << d + QLatin1String("/../res/default.css")
               << d + QLatin1String("/../../") + name + QLatin1String("/res/default.css")
               << d + QLatin1String("/../../res/default.css");
        directories << d + QLatin1String("/res") << d + QLatin1String("/../res")
                    << d + QLatin1String("/../../res");
    } else {
        if (mResolution > 0)
            tables << d + QLatin1String("/../") + r + QLatin1String("/res/default.css");
        tables << d + QLatin1String("/../") + r + QLatin1Char('/') + name + QLatin1String("/res/default.css")
               << d + QLatin1String("/res/default.css") << d + QLatin1String("/../res/default.css");
        if (mResolution > 0)
            directories << d + QLatin1String("/../") + r + QLatin1String("/res");
        directories << d + QLatin1String("/res") << d + QLatin1String("/../res");
    }

    for (const QString &table : qAsConst(tables)) {
        if (QFileInfo(table).isFile()) {
            mStyleTablePath = absolutePath(table);
            break;
        }
    }
    for (const QString &directory : qAsConst(directories)) {
        if (QFileInfo(directory).isDir()) {
            const QString path = absolutePath(directory);
            if (!mResourceDirectories.contains(path))
                mResourceDirectories.append(path);
        }
    }
}

void Panel::loadResources()
{
    QStringList visited;
    for (const QString &directory : qAsConst(mResourceDirectories))
        loadResourceDirectory(directory, directory, visited);
}

void Panel::loadResourceDirectory(const QString &directory, const QString &root, QStringList &visited)
{
    const QFileInfo info(directory);
    if (!info.isDir()) {
        qInfo() << "directory: " << info.absoluteFilePath() << "not exists!";
        return;
    }
    // A link back up the tree would otherwise recurse without end.
    const QString canonical = info.canonicalFilePath();
    if (visited.contains(canonical))
        return;
    visited.append(canonical);

    const QFileInfoList entries = QDir(directory).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir()) {
            loadResourceDirectory(entry.absoluteFilePath(), root, visited);
        } else if (entry.suffix() == QLatin1String("til")) {
            const QList<Tile> tiles = readTileFile(entry.absoluteFilePath());
            for (const Tile &tile : tiles)
                mStylesManager->addTile(tile);
        } else if (entry.suffix() == QLatin1String("ttf")) {
            const QString path = entry.absoluteFilePath();
            mStylesManager->addFont(path, path.mid(root.length() + 1));
        }
    }
    visited.removeLast();
}

void Panel::loadStyles()
{
    if (!QFileInfo(mStyleTablePath).isFile()) {
        qInfo() << absolutePath(mStyleTablePath) << " not exists!";
        // The store was emptied: the numbers of the previous table name
        // styles that are gone.
        if (!mStyleNumbers.isEmpty()) {
            mStyleNumbers.clear();
            emit styleNumbersChanged();
        }
        return;
    }
    mStylesManager->readStyleTable(mStyleTablePath);
    mStyleNumbers = mStylesManager->styleNumbers();
    emit styleNumbersChanged();
}

void Panel::loadPanel()
{
    const QFileInfo info(mCurrentPanelFile);
    if (mCurrentPanelFile.isEmpty() || !info.exists()) {
        qInfo() << info.absoluteFilePath() << " not exists!";
        mLoadFailed = true;
        return;
    }
    mPanelConfig.reset(new SkinConfig(mCurrentPanelFile));

    // Without a gen.ini the panel has no fallbacks and no offsets besides 0:
    // a gen document of another panel directory must not stay in use.
    const QString genFile = info.absolutePath() + QLatin1String("/gen.ini");
    if (QFileInfo(genFile).isFile()) {
        mGenConfig.reset(new SkinConfig(genFile));
    } else {
        qInfo() << genFile << " not exists!";
        mGenConfig.reset();
    }

    QString information;
    for (const char *section : { "PANEL", "CAND", "HINT" }) {
        const QString name = QLatin1String(section);
        information += QLatin1Char('[') + name + QLatin1String("]\n");
        for (const SkinConfig::Property &p : mPanelConfig->sectionProperties(name))
            information += p.first + QLatin1Char('=') + p.second + QLatin1Char('\n');
        information += QLatin1Char('\n');
    }
    setBasicInfomation(information);

    mOffsetTable.clear();
    mOffsetTable.insert(0, QPoint(0, 0));
    if (mGenConfig) {
        const QStringList sections = mGenConfig->childGroups();
        for (const QString &section : sections) {
            if (!section.startsWith(QLatin1String("OFFSET")))
                continue;
            mOffsetTable.insert(ValueText::parseInt(section.mid(6)),
                ValueText::parsePoint(mGenConfig->value(section + QLatin1String("/POS"))));
        }
    }
}

void Panel::createFilesTimeMap()
{
    const QString file = absolutePath(mCurrentPanelFile);
    mPanelFileTimes[file] = lastModified(file);
    const QString genFile = QFileInfo(file).absolutePath() + QLatin1String("/gen.ini");
    mPanelFileTimes[genFile] = lastModified(genFile);
    recordResourceTimes(false, nullptr);
    qDebug() << "files time map created!";
}

// Records the times of the entries directly inside each resource directory;
// with `onlyFiles`, only files, and only when newer than recorded.
void Panel::recordResourceTimes(bool onlyFiles, bool *changed)
{
    for (const QString &directory : qAsConst(mResourceDirectories)) {
        const QFileInfoList entries = QDir(directory).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot);
        for (const QFileInfo &entry : entries) {
            const QString path = entry.absoluteFilePath();
            if (!onlyFiles) {
                mResourceFileTimes[path] = entry.lastModified();
                continue;
            }
            if (!entry.isFile())
                continue;
            const QDateTime time = entry.lastModified();
            if (isNewer(time, mResourceFileTimes.value(path))) {
                mResourceFileTimes[path] = time;
                if (changed)
                    *changed = true;
            }
        }
    }
}

void Panel::detectFilesUpdate()
{
    qDebug() << "detecting file update!";

    bool panelChanged = false;
    if (!mCurrentPanelFile.isEmpty()) {
        const QString file = absolutePath(mCurrentPanelFile);
        const QString genFile = QFileInfo(file).absolutePath() + QLatin1String("/gen.ini");
        const QDateTime fileTime = lastModified(file);
        const QDateTime genTime = lastModified(genFile);
        if (isNewer(fileTime, mPanelFileTimes[file]) || isNewer(genTime, mPanelFileTimes.value(genFile))) {
            panelChanged = true;
            qDebug() << "panel file updated!";
            mPanelFileTimes[file] = fileTime;
            mPanelFileTimes[genFile] = genTime;
        }
    }

    bool resourcesChanged = false;
    recordResourceTimes(true, &resourcesChanged);

    if (resourcesChanged) {
        qDebug() << "res files updated!";
        QElapsedTimer timer;
        timer.start();
        mStylesManager->clear();
        loadResources();
        loadStyles();
        qInfo() << "res reloaded: " << timer.elapsed() << "ms";
        if (!panelChanged) {
            emit panelReloaded();
            return;
        }
    }
    if (panelChanged) {
        QElapsedTimer timer;
        timer.start();
        loadPanel();
        qInfo() << "panel reloaded: " << timer.elapsed() << "ms";
        emit panelReloaded();
    }
}

QImage Panel::renderPreview()
{
    return PanelRenderer(*this).renderPreview();
}

void Panel::renderPanel(QImage &image, const QPoint &offset)
{
    PanelRenderer(*this).renderPanel(image, offset);
}

void Panel::renderInput(QImage &image, const QPoint &offset)
{
    PanelRenderer(*this).renderInput(image, offset);
}

void Panel::renderList(QImage &image, const QPoint &offset)
{
    PanelRenderer(*this).renderList(image, offset);
}

void Panel::renderCand(QImage &image, const QPoint &offset)
{
    PanelRenderer(*this).renderCand(image, offset);
}

void Panel::exportAsImage(QString path)
{
    writeImage(renderPreview(), path);
}

bool Panel::writeImage(const QImage &image, const QString &path)
{
    const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    if (image.isNull() || path.isEmpty() || !QImageWriter::supportedImageFormats().contains(format)) {
        qInfo() << path << " can not be written!";
        return false;
    }
    // Encoded in memory first, then written in one checked write.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    AtomicFile file(path);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, format.constData()) || !file.open()
        || !file.write(bytes) || !file.commit()) {
        qInfo() << path << " can not be written!" << file.errorString();
        return false;
    }
    return true;
}

// The key editing operations live in KeyEditor.

QString Panel::getNewKey()
{
    return KeyEditor(this).getNewKey();
}

void Panel::edit(QMap<QString, QString> kv)
{
    KeyEditor(this).edit(kv);
}

void Panel::recordAndEdit(QMap<QString, QString> kv)
{
    KeyEditor(this).recordAndEdit(kv);
}

void Panel::exchangeKeys(QString key1, QString key2)
{
    KeyEditor(this).exchangeKeys(key1, key2);
}

void Panel::moveKeys(QStringList keys, int x, int y)
{
    KeyEditor(this).moveKeys(keys, x, y);
}

void Panel::adjustKeys(QStringList keys, int x, int y, int w, int h, int ax, int ay, int aw, int ah)
{
    KeyEditor(this).adjustKeys(keys, x, y, w, h, ax, ay, aw, ah);
}

void Panel::editSection(QString section, QStringList properties)
{
    KeyEditor(this).editSection(section, properties);
}

void Panel::removeKeys(QStringList keys)
{
    KeyEditor(this).removeKeys(keys);
}

void Panel::alignKeys(QStringList keys, Panel::KeyAlignType alignType)
{
    KeyEditor(this).alignKeys(keys, alignType);
}

void Panel::undo()
{
    KeyEditor(this).undo();
}

void Panel::redo()
{
    KeyEditor(this).redo();
}
