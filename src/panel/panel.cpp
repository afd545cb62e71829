#include "panel.h"

#include "keyeditor.h"
#include "panelrenderer.h"
#include "previewlayer.h"
#include "skin/atomicfile.h"
#include "skin/skinconfig.h"
#include "skin/tile.h"
#include "skin/valuetext.h"
#include "styles/stylesmanager.h"

#include <QBuffer>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageWriter>
#include <QRect>
#include <QSet>
#include <QTimer>
#include <QVariantMap>

#include <algorithm>

namespace {

QString absolutePath(const QString &path)
{
    return path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// A file that was written or replaced since it was recorded; one that is
// gone is not reported (its absence never compares as a change).
bool hasChanged(const FileStamp &current, const FileStamp &recorded)
{
    return current.exists() && current != recorded;
}

} // namespace

Panel *Panel::instance()
{
    static Panel panel;
    return &panel;
}

Panel::Panel()
    : mPreviewLayer(new PreviewLayer)
    , mStylesManager(StylesManager::instance())
{
    qRegisterMetaType<OperationResult>();
    // Stopped until someone asks for watching: a headless render has no
    // event loop to poll in, and the editor turns it on from its settings.
    mAutoReloadTimer = new QTimer(this);
    mAutoReloadTimer->setInterval(mAutoReloadInterval);
    connect(mAutoReloadTimer, &QTimer::timeout, this, &Panel::detectFilesUpdate);
}

void Panel::setAutoReload(bool enabled)
{
    mAutoReload = enabled;
    if (enabled) {
        mAutoReloadTimer->start();
        qDebug() << "timer started!";
    } else {
        mAutoReloadTimer->stop();
        qDebug() << "timer stoped!";
    }
}

void Panel::setAutoReloadInterval(int interval)
{
    qDebug() << "new interval: " << interval;
    mAutoReloadInterval = qBound(MinimumAutoReloadInterval, interval, MaximumAutoReloadInterval);
    if (mAutoReloadInterval != interval)
        qInfo() << "auto reload interval" << interval << "taken as" << mAutoReloadInterval << "ms";
    mAutoReloadTimer->setInterval(mAutoReloadInterval);
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
    // Without a panel there is nothing to read again; the value is used
    // by the next load.
    if (!mCurrentPanelFile.isEmpty())
        reload();
    emit resolutionChanged();
}

void Panel::setDeviceResolution(int resolution)
{
    if (mDeviceResolution == resolution)
        return;
    mDeviceResolution = resolution;
    // Without a panel there is nothing to read again; the value is used
    // by the next load.
    if (!mCurrentPanelFile.isEmpty())
        reload();
    emit deviceResolutionChanged();
}

QString Panel::value(const QString &path) const
{
    const SkinConfig *source = valueSource(mPanelConfig.data(), mGenConfig.data(), path);
    return source ? source->value(path) : QString();
}

const SkinConfig *Panel::valueSource(
    const SkinConfig *panelConfig, const SkinConfig *genConfig, const QString &path)
{
    if (panelConfig && panelConfig->contains(path))
        return panelConfig;
    return genConfig;
}

int Panel::keyNumber(const QString &keySection)
{
    return ValueText::parseInt(keySection.mid(3));
}

QStringList Panel::orderedKeys() const
{
    return keyOrder(mPanelConfig.data());
}

QStringList Panel::keyOrder(const SkinConfig *config)
{
    if (!config)
        return {};
    QVector<QPair<int, QString>> plain;
    QVector<QPair<int, QString>> withStatus;
    const QStringList sections = config->childGroups();
    const QString statStyle = QStringLiteral("/STAT_STYLE");
    for (const QString &section : sections) {
        if (!section.startsWith(QLatin1String("KEY")))
            continue;
        const QPair<int, QString> entry(keyNumber(section), section);
        if (config->contains(section + statStyle))
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
    mCandLayout.reset();
    mCandLayoutRead = false;
    mPreviewLayer->clear();
    mStylesManager->clear();
    mReadTileFiles.clear();
    mResourceFileTimes.clear();
    mPanelFileTimes.clear();
    emit panelReloaded();
}

void Panel::reload()
{
    mPreviewLayer->invalidate();
    mStylesManager->clearForReload();
    mResourceFileTimes.clear();
    mPanelFileTimes.clear();
    mStyleTablePath.clear();
    mResourceDirectories.clear();
    const QString file = mCurrentPanelFile;
    const QString key = mCurrentKey;
    const QPointF point = mHighlightPointF;
    mCurrentPanelFile.clear();
    // setPanelFile ends with panelReloaded; a file that cannot be loaded
    // still gets its empty preview. The same file read again keeps the
    // author's key.
    setPanelFile(file);
    // (a file that is gone loads nothing, its skin's fonts included)
    mStylesManager->dropUnusedFonts();
    if (!key.isEmpty() && mCurrentPanelFile == file) {
        mHighlightPointF = point;
        setCurrentKey(key);
    }
    if (mLoadFailed)
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
    pick();
    // The pressed look of what lies under the point.
    emit panelReloaded();
}

QStringList Panel::keysAt(QPointF relativePoint) const
{
    return PanelRenderer(*this).pick(relativePoint).keys;
}

// The hit test a render once did on the way: a key picked by a click is
// current before the preview is asked for again.
void Panel::pick()
{
    const PanelRenderer::Pick picked = PanelRenderer(*this).pick(mHighlightPointF);
    if (!picked.done)
        return;
    mHighlightedKeys = picked.keys;
    if (mHighlightedKeys.size() == 1) {
        setCurrentKey(mHighlightedKeys.first());
    } else if (mHighlightedKeys.size() > 1) {
        qDebug() << "highlightedKeys: " << mHighlightedKeys;
        emit highlightedKeysChanged();
    }
    // The list lies over the keys: it is what the click shows.
    if (picked.onList)
        showListSection();
}

// The LIST properties of the panel file and gen.ini together, each name
// once, with the value a look-up gives.
void Panel::showListSection()
{
    const QString section = QStringLiteral("LIST");
    QStringList names;
    QSet<QString> seen;
    for (const SkinConfig *config : { mPanelConfig.data(), mGenConfig.data() }) {
        if (!config)
            continue;
        for (const SkinConfig::Property &property : config->sectionProperties(section)) {
            if (!seen.contains(property.first)) {
                seen.insert(property.first);
                names.append(property.first);
            }
        }
    }
    QStringList properties;
    for (const QString &name : qAsConst(names))
        properties.append(name + QLatin1Char('=') + value(section + QLatin1Char('/') + name));
    setCurrentSectionProperties(properties);
    setCurrentSectionName(section);
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
        mStylesManager->clearForReload();
        QElapsedTimer timer;
        timer.start();
        qDebug() << "css: " << mStyleTablePath;
        qDebug() << "res: " << mResourceDirectories;
        loadResources();
        loadStyles();
        mResourceFileTimes.clear();
        recordResourceTimes(false, nullptr);
        qInfo() << "res loaded: " << timer.elapsed();
    } else {
        // Another panel of the same skin: resource changes made since the
        // last poll are shown now rather than lost.
        reloadChangedResources();
    }

    if (file != mCurrentPanelFile) {
        setCurrentPanelFile(file);
        QElapsedTimer timer;
        timer.start();
        clearUndoHistory();
        clearCurrentKey();
        loadPanel();
        createFilesTimeMap();
        qInfo() << "panel loaded: " << timer.elapsed();
    } else {
        reloadChangedPanel();
    }

    mLoadFailed = !mPanelConfig;
    emit panelReloaded();
}

void Panel::clearUndoHistory()
{
    mHistory.clear();
    setCanUndo(false);
    setCanRedo(false);
}

// A key of another panel file means nothing here: the pages start afresh and
// the first pick of any key shows its section.
void Panel::clearCurrentKey()
{
    mHighlightPointF = QPointF(-1, -1);
    if (!mHighlightedKeys.isEmpty()) {
        mHighlightedKeys.clear();
        emit highlightedKeysChanged();
    }
    setCurrentSectionName(QString());
    setCurrentSectionProperties(QStringList());
    if (!mCurrentKey.isEmpty()) {
        mCurrentKey.clear();
        emit currentKeyChanged();
    }
}

void Panel::refreshCurrentSection()
{
    if (!mPanelConfig)
        return;
    if (mCurrentSectionName == QLatin1String("LIST")) {
        showListSection();
        return;
    }
    if (mCurrentKey.isEmpty())
        return;
    QStringList properties;
    for (const SkinConfig::Property &p : mPanelConfig->sectionProperties(mCurrentKey))
        properties.append(p.first + QLatin1Char('=') + p.second);
    setCurrentSectionProperties(properties);
}

bool Panel::prepareEdit()
{
    if (!mPanelConfig)
        return true;
    if (!QFileInfo(mCurrentPanelFile).isFile()) {
        emit reported(OperationResult::failure(
            tr("%1 no longer exists: the edit was not made.").arg(mCurrentPanelFile), { mCurrentPanelFile }));
        return false;
    }
    if (mPanelConfig->matchesDisk())
        return true;
    qInfo() << mCurrentPanelFile << "changed on disk: reloaded before editing!";
    loadPanel();
    recordPanelFileStamps();
    refreshCurrentSection();
    emit panelReloaded();
    return true;
}

void Panel::searchStyleTableAndResources(const QString &panelDirectory)
{
    const ResourceSearch found = findStyleTableAndResources(panelDirectory, mResolution);
    mStyleTablePath = found.styleTable;
    mResourceDirectories = found.resourceDirectories;
}

Panel::ResourceSearch Panel::findStyleTableAndResources(const QString &panelDirectory, int resolution)
{
    ResourceSearch found;
    const QString d = panelDirectory;
    const QStringList parts = d.split(QLatin1Char('/'));
    const QString name = parts.last();
    const QString r = QString::number(resolution);

    QStringList &tables = found.tableCandidates;
    QStringList directories;
    if (resolution > 0 && parts.size() > 2 && parts.at(parts.size() - 2) == r) {
        // The panel directory lies inside a directory named after the
        // resolution: skin/1080/port.
        tables << d + QLatin1String("/res/default.css") << d + QLatin1String("/../res/default.css")
               << d + QLatin1String("/../../") + name + QLatin1String("/res/default.css")
               << d + QLatin1String("/../../res/default.css");
        directories << d + QLatin1String("/res") << d + QLatin1String("/../res")
                    << d + QLatin1String("/../../res");
    } else {
        if (resolution > 0)
            tables << d + QLatin1String("/../") + r + QLatin1String("/res/default.css");
        tables << d + QLatin1String("/../") + r + QLatin1Char('/') + name + QLatin1String("/res/default.css")
               << d + QLatin1String("/res/default.css") << d + QLatin1String("/../res/default.css");
        if (resolution > 0)
            directories << d + QLatin1String("/../") + r + QLatin1String("/res");
        directories << d + QLatin1String("/res") << d + QLatin1String("/../res");
    }

    for (const QString &table : qAsConst(tables)) {
        if (QFileInfo(table).isFile()) {
            found.styleTable = absolutePath(table);
            break;
        }
    }
    for (const QString &directory : qAsConst(directories)) {
        if (QFileInfo(directory).isDir()) {
            const QString path = absolutePath(directory);
            if (!found.resourceDirectories.contains(path))
                found.resourceDirectories.append(path);
        }
    }
    return found;
}

void Panel::loadResources()
{
    const QVector<ResourceFile> files = listResourceFiles(mResourceDirectories);
    QHash<QString, ReadTileFile> read;
    for (const ResourceFile &file : files) {
        if (file.path.endsWith(QLatin1String(".til"))) {
            // (stamped before reading: a change while it is read shows next time)
            ReadTileFile tiles { FileStamp::of(file.path), FileStamp::of(tileImagePath(file.path)), {} };
            const auto last = mReadTileFiles.constFind(file.path);
            if (last != mReadTileFiles.constEnd() && last->tileFile == tiles.tileFile && last->sheet == tiles.sheet)
                tiles.tiles = last->tiles;
            else
                tiles.tiles = readTileFile(file.path);
            for (const Tile &tile : qAsConst(tiles.tiles))
                mStylesManager->addTile(tile);
            read.insert(file.path, tiles);
        } else {
            mStylesManager->addFont(file.path, file.path.mid(file.root.length() + 1));
        }
    }
    mStylesManager->dropUnusedFonts();
    mReadTileFiles = read;
}

QVector<Panel::ResourceFile> Panel::listResourceFiles(const QStringList &resourceDirectories)
{
    QVector<ResourceFile> files;
    QStringList visited;
    for (const QString &directory : resourceDirectories)
        listResourceDirectory(directory, directory, visited, files);
    return files;
}

void Panel::listResourceDirectory(
    const QString &directory, const QString &root, QStringList &visited, QVector<ResourceFile> &files)
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
            listResourceDirectory(entry.absoluteFilePath(), root, visited, files);
        } else if (entry.suffix() == QLatin1String("til") || entry.suffix() == QLatin1String("ttf")) {
            files.append(ResourceFile { entry.absoluteFilePath(), root });
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
    // The layout file is read again at the next render.
    mCandLayout.reset();
    mCandLayoutRead = false;
    mPreviewLayer->invalidate();

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
    recordPanelFileStamps();
    recordResourceTimes(false, nullptr);
    qDebug() << "files time map created!";
}

// What the panel file and gen.ini look like now: after a load, and after the
// editor's own saves, which are no outside change.
void Panel::recordPanelFileStamps()
{
    if (mCurrentPanelFile.isEmpty())
        return;
    const QString file = absolutePath(mCurrentPanelFile);
    mPanelFileTimes[file] = FileStamp::of(file);
    const QString genFile = QFileInfo(file).absolutePath() + QLatin1String("/gen.ini");
    mPanelFileTimes[genFile] = FileStamp::of(genFile);
}

// Records the stamps of the entries directly inside each resource directory;
// with `onlyFiles`, only files, and only when they changed.
void Panel::recordResourceTimes(bool onlyFiles, bool *changed)
{
    for (const QString &directory : qAsConst(mResourceDirectories)) {
        const QFileInfoList entries = QDir(directory).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot);
        for (const QFileInfo &entry : entries) {
            const QString path = entry.absoluteFilePath();
            const FileStamp stamp = FileStamp::of(path);
            if (!onlyFiles) {
                mResourceFileTimes[path] = stamp;
                continue;
            }
            if (!stamp.isFile())
                continue;
            if (hasChanged(stamp, mResourceFileTimes.value(path))) {
                mResourceFileTimes[path] = stamp;
                if (changed)
                    *changed = true;
            }
        }
    }
}

bool Panel::reloadChangedResources()
{
    bool changed = false;
    recordResourceTimes(true, &changed);
    if (!changed)
        return false;
    qDebug() << "res files updated!";
    QElapsedTimer timer;
    timer.start();
    mStylesManager->clearForReload();
    loadResources();
    loadStyles();
    qInfo() << "res reloaded: " << timer.elapsed() << "ms";
    return true;
}

bool Panel::reloadChangedPanel()
{
    if (mCurrentPanelFile.isEmpty())
        return false;
    const QString file = absolutePath(mCurrentPanelFile);
    const QString genFile = QFileInfo(file).absolutePath() + QLatin1String("/gen.ini");
    if (!hasChanged(FileStamp::of(file), mPanelFileTimes.value(file))
        && !hasChanged(FileStamp::of(genFile), mPanelFileTimes.value(genFile)))
        return false;
    qDebug() << "panel file updated!";
    QElapsedTimer timer;
    timer.start();
    recordPanelFileStamps();
    loadPanel();
    refreshCurrentSection();
    qInfo() << "panel reloaded: " << timer.elapsed() << "ms";
    return true;
}

void Panel::detectFilesUpdate()
{
    qDebug() << "detecting file update!";
    // Resources first: the panel is drawn with the styles they give.
    const bool resourcesChanged = reloadChangedResources();
    const bool panelChanged = reloadChangedPanel();
    const bool layoutChanged = !panelChanged && dropChangedCandLayout();
    if (resourcesChanged || panelChanged || layoutChanged)
        emit panelReloaded();
}

// The candidate layout is kept from one render to the next; another program
// writing it (or making or deleting it) has it read again at the next render.
bool Panel::dropChangedCandLayout()
{
    if (!mCandLayoutRead || mCandLayoutPath.isEmpty() || FileStamp::of(mCandLayoutPath) == mCandLayoutStamp)
        return false;
    qDebug() << "candidate layout updated!";
    mCandLayout.reset();
    mCandLayoutRead = false;
    return true;
}

const SkinConfig *Panel::candLayout() const
{
    const QString name = value(QStringLiteral("CAND/LAYOUT_NAME"));
    const QString path = name.isEmpty() || mCurrentPanelFile.isEmpty()
        ? QString()
        : QFileInfo(mCurrentPanelFile).absolutePath() + QLatin1Char('/') + name + QLatin1String(".cnd");
    if (!mCandLayoutRead || path != mCandLayoutPath) {
        mCandLayoutRead = true;
        mCandLayoutPath = path;
        // Stamped before reading: a write while it is read shows next time.
        mCandLayoutStamp = path.isEmpty() ? FileStamp() : FileStamp::of(path);
        mCandLayout.reset(!path.isEmpty() && QFileInfo(path).isFile() ? new SkinConfig(path) : nullptr);
    }
    return mCandLayout.data();
}

QImage Panel::renderPreview()
{
    const PanelRenderer::Result result = PanelRenderer(*this).renderPreview(*mPreviewLayer);
    const PanelRenderer::Layout &layout = result.layout;
    if (layout.loaded) {
        mPanelSize = layout.panelSize;
        emit panelSizeChanged();
        mScale = layout.scale;
        mPanelOrigin = layout.panelOffset;
        emit panelOriginChanged();
    }
    return result.image;
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
    if (writeImage(renderPreview(), path))
        emit reported(OperationResult::success(tr("Exported the preview to %1").arg(path), { path }));
    else
        emit reported(OperationResult::failure(
            tr("Could not export the preview to %1: the format is unknown or the file cannot be written.")
                .arg(path),
            { path }));
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

// The key editing operations live in KeyEditor; the panel shows what they
// came to.

void Panel::apply(const EditOutcome &outcome)
{
    if (!outcome.attempted)
        return;
    if (outcome.saved) {
        recordPanelFileStamps();
        refreshCurrentSection();
    }
    emit reported(outcome.result);
    if (outcome.saved)
        emit panelReloaded();
    setCanUndo(mHistory.canUndo());
    setCanRedo(mHistory.canRedo());
}
QVariantList Panel::keyRects() const
{
    QVariantList rects;
    if (!mPanelConfig)
        return rects;
    const QStringList keys = orderedKeys();
    for (const QString &key : keys) {
        const QRect rect = ValueText::parseRect(mPanelConfig->value(key + QStringLiteral("/VIEW_RECT")));
        if (rect.width() < 1 || rect.height() < 1)
            continue;
        QVariantMap entry;
        entry.insert(QStringLiteral("name"), key);
        entry.insert(QStringLiteral("x"), qint64(rect.x()) + mPanelOrigin.x());
        entry.insert(QStringLiteral("y"), qint64(rect.y()) + mPanelOrigin.y());
        entry.insert(QStringLiteral("width"), rect.width());
        entry.insert(QStringLiteral("height"), rect.height());
        rects.append(entry);
    }
    return rects;
}

QStringList Panel::keyProperties(const QString &key) const
{
    QStringList lines;
    if (!mPanelConfig || key.isEmpty())
        return lines;
    for (const SkinConfig::Property &property : mPanelConfig->sectionProperties(key))
        lines.append(property.first + QLatin1Char('=') + property.second);
    return lines;
}

// The key editing operations live in KeyEditor.

QString Panel::getNewKey()
{
    return KeyEditor(mPanelConfig.data(), mHistory).getNewKey();
}

void Panel::edit(QMap<QString, QString> kv)
{
    if (prepareEdit())
        apply(KeyEditor(mPanelConfig.data(), mHistory).edit(kv));
}

void Panel::recordAndEdit(QMap<QString, QString> kv)
{
    if (prepareEdit())
        apply(KeyEditor(mPanelConfig.data(), mHistory).recordAndEdit(kv));
}

void Panel::recordChanges(const QVariantMap &changes)
{
    ChangeMap map;
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        map.insert(it.key(), it.value().toString());
    recordAndEdit(map);
}

void Panel::exchangeKeys(QString key1, QString key2)
{
    if (prepareEdit())
        apply(KeyEditor(mPanelConfig.data(), mHistory).exchangeKeys(key1, key2));
}

void Panel::moveKeys(QStringList keys, int x, int y)
{
    if (prepareEdit())
        apply(KeyEditor(mPanelConfig.data(), mHistory).moveKeys(keys, x, y));
}

void Panel::adjustKeys(QStringList keys, int x, int y, int w, int h, int ax, int ay, int aw, int ah)
{
    if (prepareEdit())
        apply(KeyEditor(mPanelConfig.data(), mHistory).adjustKeys(keys, x, y, w, h, ax, ay, aw, ah));
}

void Panel::editSection(QString section, QStringList properties)
{
    if (prepareEdit())
        apply(KeyEditor(mPanelConfig.data(), mHistory).editSection(section, properties));
}

void Panel::removeKeys(QStringList keys)
{
    if (prepareEdit())
        apply(KeyEditor(mPanelConfig.data(), mHistory).removeKeys(keys));
}

void Panel::alignKeys(QStringList keys, Panel::KeyAlignType alignType)
{
    if (prepareEdit())
        apply(KeyEditor(mPanelConfig.data(), mHistory).alignKeys(keys, alignType));
}

void Panel::undo()
{
    if (prepareEdit())
        apply(KeyEditor(mPanelConfig.data(), mHistory).undo());
}

void Panel::redo()
{
    if (prepareEdit())
        apply(KeyEditor(mPanelConfig.data(), mHistory).redo());
}
