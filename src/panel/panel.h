#pragma once

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QPoint>
#include <QPointF>
#include <QSharedPointer>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <QVector>

#include "skin/filestamp.h"
#include "skin/operationresult.h"

class QTimer;
class SkinConfig;
class StylesManager;

// The open panel file of a skin and everything it depends on.
//
// One process-wide object: it finds the skin's style table and res
// directories from the panel file's place in the skin, fills the style store,
// keeps the panel document and its gen.ini open, renders the composite
// preview (PanelRenderer) and reloads itself when the files change on disk.
// The key editing operations work on the same documents through
// `panelConfig()` and `orderedKeys()` and record their steps on the two undo
// stacks.
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
    // One undoable step: the old values (null where the property was
    // absent), the values applied, and the sections the step created. Undo
    // drops only those sections; one that stood empty before the step stays.
    struct UndoRecord
    {
        ChangeMap oldValues;
        ChangeMap newValues;
        QStringList createdSections;
    };

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

    // The open documents; null when none is loaded. Editing writes through
    // the panel document and saves it.
    SkinConfig *panelConfig() const { return mPanelConfig.data(); }
    SkinConfig *genConfig() const { return mGenConfig.data(); }

    // A PANEL, CAND, LIST or INPUT property: the panel document's value, else
    // gen.ini's, else the empty text.
    QString value(const QString &path) const;

    // The key sections in drawing order: keys without STAT_STYLE by number
    // ascending, then keys with it by number descending. Editing uses the
    // same order for "all keys".
    Q_INVOKABLE QStringList orderedKeys() const;
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

    // The composite preview (input area, list, candidate area, keys) at the
    // device resolution; 1x1 transparent with no panel. Each stage draws into
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
    friend class PanelRenderer;
    friend class KeyEditor;

    Panel();

    void searchStyleTableAndResources(const QString &panelDirectory);
    void loadResources();
    void loadResourceDirectory(const QString &directory, const QString &root, QStringList &visited);
    void loadStyles();
    void loadPanel();
    void createFilesTimeMap();
    void recordPanelFileStamps();
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
    QColor mViewRectColor;
    QColor mTouchRectColor;
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
    QMap<int, QPoint> mOffsetTable;
    StylesManager *mStylesManager = nullptr;
    QMap<QString, FileStamp> mResourceFileTimes;
    QMap<QString, FileStamp> mPanelFileTimes;
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
    QVector<UndoRecord> mUndoStack;
    QVector<UndoRecord> mRedoStack;
};
