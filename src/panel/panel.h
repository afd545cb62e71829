#pragma once

#include <QColor>
#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QPoint>
#include <QPointF>
#include <QScopedPointer>
#include <QSharedPointer>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <QVector>

#include "skin/filestamp.h"
#include "skin/operationresult.h"
#include "skin/tile.h"
#include "undohistory.h"

class PreviewLayer;
class QTimer;
class SkinConfig;
class StylesManager;
struct EditOutcome;

// The open panel file of a skin and everything it depends on.
//
// One process-wide object: it finds the skin's style table and res
// directories from the panel file's place in the skin, fills the style store,
// keeps the panel document and its gen.ini open, renders the composite
// preview (PanelRenderer) and reloads itself when the files change on disk.
// The key editing operations (KeyEditor) work on the panel document and
// the undo history and return what came of it, which the panel shows.
class Panel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString currentPanelFile READ currentPanelFile WRITE setCurrentPanelFile NOTIFY
            currentPanelFileChanged)
    Q_PROPERTY(
        QString basicInfomation READ basicInfomation WRITE setBasicInfomation NOTIFY basicInfomationChanged)
    Q_PROPERTY(QStringList highlightedKeys MEMBER mHighlightedKeys NOTIFY highlightedKeysChanged)
    Q_PROPERTY(QString currentKey READ currentKey WRITE setCurrentKey NOTIFY currentKeyChanged)
    Q_PROPERTY(QString currentSectionName READ currentSectionName WRITE setCurrentSectionName NOTIFY
            currentSectionNameChanged)
    Q_PROPERTY(QStringList currentSectionProperties READ currentSectionProperties WRITE
            setCurrentSectionProperties NOTIFY currentSectionPropertiesChanged)
    Q_PROPERTY(int currentStatus READ currentStatus WRITE setCurrentStatus NOTIFY currentStatusChanged)
    Q_PROPERTY(bool canUndo READ canUndo WRITE setCanUndo NOTIFY canUndoChanged)
    Q_PROPERTY(bool canRedo READ canRedo WRITE setCanRedo NOTIFY canRedoChanged)
    Q_PROPERTY(QStringList styleNumbers MEMBER mStyleNumbers NOTIFY styleNumbersChanged)
    Q_PROPERTY(QPoint panelOrigin MEMBER mPanelOrigin NOTIFY panelOriginChanged)
    Q_PROPERTY(QSize panelSize MEMBER mPanelSize NOTIFY panelSizeChanged)
    Q_PROPERTY(double scale MEMBER mScale NOTIFY scaleChanged)
    Q_PROPERTY(int resolution READ resolution WRITE setResolution NOTIFY resolutionChanged)
    Q_PROPERTY(
        int deviceResolution READ deviceResolution WRITE setDeviceResolution NOTIFY deviceResolutionChanged)

public:
    enum KeyAlignType {
        AlignLeft = 0,
        AlignTop = 1,
        AlignRight = 2,
        AlignBottom = 3,
        AlignVCenter = 4,
        AlignHCenter = 5,
        AlignVDistrubution = 6,
        AlignHDistrubution = 7,
    };
    Q_ENUM(KeyAlignType)

    // A change map: property path ("SECTION/KEY") to value text.
    using ChangeMap = QMap<QString, QString>;
    using UndoRecord = ::UndoRecord;

    static Panel *instance();
    ~Panel() override;

    QString currentPanelFile() const { return mCurrentPanelFile; }
    void setCurrentPanelFile(const QString &file);
    QString basicInfomation() const { return mBasicInfomation; }
    void setBasicInfomation(const QString &text);
    QStringList highlightedKeys() const { return mHighlightedKeys; }
    QString currentKey() const { return mCurrentKey; }
    void setCurrentKey(const QString &key);
    QString currentSectionName() const { return mCurrentSectionName; }
    void setCurrentSectionName(const QString &name);
    QStringList currentSectionProperties() const { return mCurrentSectionProperties; }
    void setCurrentSectionProperties(const QStringList &properties);
    int currentStatus() const { return mCurrentStatus; }
    void setCurrentStatus(int status);
    bool canUndo() const { return mCanUndo; }
    void setCanUndo(bool value);
    bool canRedo() const { return mCanRedo; }
    void setCanRedo(bool value);
    QStringList styleNumbers() const { return mStyleNumbers; }
    QPoint panelOrigin() const { return mPanelOrigin; }
    QSize panelSize() const { return mPanelSize; }
    double scale() const { return mScale; }
    int resolution() const { return mResolution; }
    void setResolution(int resolution);
    int deviceResolution() const { return mDeviceResolution; }
    void setDeviceResolution(int resolution);

    QColor viewRectColor() const { return mViewRectColor; }
    QColor touchRectColor() const { return mTouchRectColor; }
    QPointF highlightPointF() const { return mHighlightPointF; }
    bool loadFailed() const { return mLoadFailed; }
    bool candidateStatus() const { return mCandidateStatus; }
    StylesManager *stylesManager() const { return mStylesManager; }
    const UndoHistory &undoHistory() const { return mHistory; }
    QString styleTablePath() const { return mStyleTablePath; }
    QStringList resourceDirectories() const { return mResourceDirectories; }
    QMap<int, QPoint> offsetTable() const { return mOffsetTable; }
    QTimer *autoReloadTimer() const { return mAutoReloadTimer; }
    bool autoReload() const { return mAutoReload; }
    int autoReloadInterval() const { return mAutoReloadInterval; }

    // The bounds of the polling interval: below, polling would keep a core
    // busy; above, an outside edit would seem to be ignored.
    static constexpr int MinimumAutoReloadInterval = 500;
    static constexpr int MaximumAutoReloadInterval = 10000;
    // The outline colours until someone sets others; the editor's settings
    // start from the same ones.
    static constexpr QRgb DefaultViewRectColor = 0xffd62728;
    static constexpr QRgb DefaultTouchRectColor = 0xff1f77b4;

    // The open documents; null when none is loaded. Editing writes through
    // the panel document and saves it.
    SkinConfig *panelConfig() const { return mPanelConfig.data(); }
    SkinConfig *genConfig() const { return mGenConfig.data(); }
    // The candidate layout file CAND/LAYOUT_NAME names in the panel's
    // directory, read once per load of the panel; null when there is none.
    const SkinConfig *candLayout() const;

    // A PANEL, CAND, LIST or INPUT property: the panel document's value, else
    // gen.ini's, else the empty text.
    QString value(const QString &path) const;
    // The document such a look-up takes its value from (either may be null):
    // the panel document when it has the property, else gen.ini; null when
    // there is no gen document to fall back to.
    static const SkinConfig *valueSource(
        const SkinConfig *panelConfig, const SkinConfig *genConfig, const QString &path);

    // Where the style table and the res directories of a panel directory are
    // looked for at a resolution, and what was found: the first existing
    // candidate table (empty if none) and every existing directory, as
    // absolute paths in search order.
    struct ResourceSearch
    {
        QStringList tableCandidates;
        QString styleTable;
        QStringList resourceDirectories;
    };
    static ResourceSearch findStyleTableAndResources(const QString &panelDirectory, int resolution);
    // The tile files (suffix "til") and fonts (suffix "ttf") under the res
    // directories, in the order the loader reads them, each with the res
    // directory it was found under.
    struct ResourceFile
    {
        QString path;
        QString root;
    };
    static QVector<ResourceFile> listResourceFiles(const QStringList &resourceDirectories);

    // The key sections in drawing order: keys without STAT_STYLE by number
    // ascending, then keys with it by number descending. Editing uses the
    // same order for "all keys".
    Q_INVOKABLE QStringList orderedKeys() const;
    // The same order for any document; empty for none.
    static QStringList keyOrder(const SkinConfig *config);
    // Where the keys are drawn, for editing on the preview: one map per key
    // in key order with "name", "x", "y", "width" and "height" (VIEW_RECT
    // moved by panelOrigin, so in the units of the composite image divided
    // by `scale`). Keys without a valid view rectangle are left out.
    Q_INVOKABLE QVariantList keyRects() const;
    // recordAndEdit for the scene, whose change maps come as script objects
    Q_INVOKABLE void recordChanges(const QVariantMap &changes);
    // A key section's lines "NAME=value" in file order (duplicating a key).
    Q_INVOKABLE QStringList keyProperties(const QString &key) const;
    static int keyNumber(const QString &keySection);

    // The keys whose view rectangle holds the point of the composite preview
    // at `relativePoint` (0..1 of its width and height), in key order. Asks
    // for no render.
    Q_INVOKABLE QStringList keysAt(QPointF relativePoint) const;

    // The composite preview (input area, list, candidate area, keys) at the
    // device resolution; 1x1 transparent with no panel. Publishes the panel
    // size, scale and origin of the composite. The last picture is kept and
    // given again while nothing it shows has changed. Each stage draws into
    // the image at its offset in panel units.
    QImage renderPreview();
    void renderPanel(QImage &image, const QPoint &offset);
    void renderInput(QImage &image, const QPoint &offset);
    void renderList(QImage &image, const QPoint &offset);
    void renderCand(QImage &image, const QPoint &offset);

    // Writes `image` to `path` atomically, in the format of the path's
    // suffix; false (and a log line) when it could not be written.
    static bool writeImage(const QImage &image, const QString &path);

public slots:
    void clean();
    void reload();
    QString getNewKey();
    void setViewRectColor(QColor color);
    void setTouchRectColor(QColor color);
    void setHighlightPointF(QPointF pointF);
    void setPanelFile(QString panelFile);
    void exportAsImage(QString path);
    // Key editing (KeyEditor): each operation is one undoable step that
    // ends with the panel file saved and panelReloaded.
    void edit(QMap<QString, QString> kv);
    void recordAndEdit(QMap<QString, QString> kv);
    void exchangeKeys(QString key1, QString key2);
    void moveKeys(QStringList keys, int x, int y);
    void adjustKeys(QStringList keys, int x, int y, int w, int h, int ax, int ay, int aw, int ah);
    void editSection(QString section, QStringList properties);
    void removeKeys(QStringList keys);
    void alignKeys(QStringList keys, Panel::KeyAlignType alignType);
    void undo();
    void redo();
    void setAutoReload(bool enabled);
    // Clamped to the bounds above; the settings keep what the author typed.
    void setAutoReloadInterval(int interval);

signals:
    void panelReloaded();
    void hasCandiateChanged();
    void currentPanelFileChanged();
    void basicInfomationChanged();
    void highlightedKeysChanged();
    void currentKeyChanged();
    void currentSectionNameChanged();
    void currentSectionPropertiesChanged();
    void canUndoChanged();
    void canRedoChanged();
    void currentStatusChanged();
    void styleNumbersChanged();
    void panelOriginChanged();
    void panelSizeChanged();
    void scaleChanged();
    void resolutionChanged();
    void deviceResolutionChanged();
    // The outcome of what the author asked for: a saved or refused edit, an
    // export.
    void reported(const OperationResult &result);

private slots:
    void detectFilesUpdate();

private:
    Panel();

    // Picks the keys under the highlight point as a click does: one key
    // becomes current, several are offered (highlightedKeysChanged), and the
    // list area shows the LIST section.
    void pick();
    void showListSection();
    // Shows what an editing operation came to: a saved edit refreshes the
    // section and the preview; the history sets canUndo and canRedo.
    void apply(const EditOutcome &outcome);

    void searchStyleTableAndResources(const QString &panelDirectory);
    void loadResources();
    static void listResourceDirectory(
        const QString &directory, const QString &root, QStringList &visited, QVector<ResourceFile> &files);
    void loadStyles();
    void loadPanel();
    void createFilesTimeMap();
    void recordPanelFileStamps();
    bool dropChangedCandLayout();
    void recordResourceTimes(bool onlyFiles, bool *changed);
    bool reloadChangedResources();
    bool reloadChangedPanel();
    void clearUndoHistory();
    void clearCurrentKey();
    // Shows the current key's section as the panel document has it now.
    void refreshCurrentSection();
    // Before an edit: the panel document must be what the file holds, so an
    // edit computed from it cannot overwrite what was written from outside.
    // Reloads it when the file changed; false (and a report) when there is
    // no file to edit any more.
    bool prepareEdit();

    bool mLoadFailed = false;
    QColor mViewRectColor = QColor::fromRgba(DefaultViewRectColor);
    QColor mTouchRectColor = QColor::fromRgba(DefaultTouchRectColor);
    QPointF mHighlightPointF = QPointF(-1, -1);
    QString mCurrentPanelFile;
    QString mStyleTablePath;
    QStringList mResourceDirectories;
    QStringList mStyleNumbers;
    QPoint mPanelOrigin;
    QSize mPanelSize;
    int mResolution = 0;
    int mDeviceResolution = 0;
    double mScale = 1.0;
    QSharedPointer<SkinConfig> mPanelConfig;
    QSharedPointer<SkinConfig> mGenConfig;
    mutable QSharedPointer<SkinConfig> mCandLayout;
    mutable QString mCandLayoutPath;
    mutable bool mCandLayoutRead = false;
    mutable FileStamp mCandLayoutStamp;
    QScopedPointer<PreviewLayer> mPreviewLayer;
    QMap<int, QPoint> mOffsetTable;
    StylesManager *mStylesManager = nullptr;
    QMap<QString, FileStamp> mResourceFileTimes;
    QMap<QString, FileStamp> mPanelFileTimes;
    // The tiles of every tile file the last load read, with the stamps of
    // the file and its sheet when they were read: a reload takes the tiles
    // of untouched files from here instead of decoding their sheets again.
    struct ReadTileFile
    {
        FileStamp tileFile;
        FileStamp sheet;
        QList<Tile> tiles;
    };
    QHash<QString, ReadTileFile> mReadTileFiles;
    QTimer *mAutoReloadTimer = nullptr;
    bool mAutoReload = false;
    int mAutoReloadInterval = 3000;
    bool mCandidateStatus = false;
    QString mBasicInfomation;
    QStringList mHighlightedKeys;
    QString mCurrentKey;
    int mCurrentStatus = 0;
    QString mCurrentSectionName;
    QStringList mCurrentSectionProperties;
    bool mCanUndo = false;
    bool mCanRedo = false;
    UndoHistory mHistory;
};
