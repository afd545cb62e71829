#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>

class QSettings;

// The user's preferences, kept in "quillmark_settings.ini" (next to the
// executable of a portable copy, else in the user's configuration directory;
// see AppPaths) and read from the file on every access, so that the QML scene and
// native code always see what is stored. `skinDirectory` (the folder the file
// tree shows) lives in memory only.
class Settings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool stayOnTop READ stayOnTop WRITE setStayOnTop NOTIFY stayOnTopChanged)
    Q_PROPERTY(int windowX READ windowX WRITE setWindowX NOTIFY windowXChanged)
    Q_PROPERTY(int windowY READ windowY WRITE setWindowY NOTIFY windowYChanged)
    Q_PROPERTY(int windowWidth READ windowWidth WRITE setWindowWidth NOTIFY windowWidthChanged)
    Q_PROPERTY(int windowHeight READ windowHeight WRITE setWindowHeight NOTIFY windowHeightChanged)
    Q_PROPERTY(
        bool displayPanelInfo READ displayPanelInfo WRITE setDisplayPanelInfo NOTIFY displayPanelInfoChanged)
    Q_PROPERTY(
        bool displayFileTree READ displayFileTree WRITE setDisplayFileTree NOTIFY displayFileTreeChanged)
    Q_PROPERTY(bool displayTextEditor READ displayTextEditor WRITE setDisplayTextEditor NOTIFY
            displayTextEditorChanged)
    Q_PROPERTY(QString skinWorkingDirectory READ skinWorkingDirectory WRITE setSkinWorkingDirectory NOTIFY
            skinWorkingDirectoryChanged)
    Q_PROPERTY(QColor viewRectColor READ viewRectColor WRITE setViewRectColor NOTIFY viewRectColorChanged)
    Q_PROPERTY(QColor touchRectColor READ touchRectColor WRITE setTouchRectColor NOTIFY touchRectColorChanged)
    Q_PROPERTY(bool autoReload READ autoReload WRITE setAutoReload NOTIFY autoReloadChanged)
    Q_PROPERTY(int autoReloadInterval READ autoReloadInterval WRITE setAutoReloadInterval NOTIFY
            autoReloadIntervalChanged)
    Q_PROPERTY(int logLevel READ logLevel WRITE setLogLevel NOTIFY logLevelChanged)
    Q_PROPERTY(QColor transparentBackgroudColor1 READ transparentBackgroudColor1 WRITE
            setTransparentBackgroudColor1 NOTIFY transparentBackgroudColor1Changed)
    Q_PROPERTY(QColor transparentBackgroudColor2 READ transparentBackgroudColor2 WRITE
            setTransparentBackgroudColor2 NOTIFY transparentBackgroudColor2Changed)
    Q_PROPERTY(int transparentBackgroudGridSize READ transparentBackgroudGridSize WRITE
            setTransparentBackgroudGridSize NOTIFY transparentBackgroudGridSizeChanged)
    // Snapping grid of the preview's direct edits in panel units; 0 snaps to
    // the other keys and the panel's edges instead.
    Q_PROPERTY(int snapGridSize READ snapGridSize WRITE setSnapGridSize NOTIFY snapGridSizeChanged)
    Q_PROPERTY(QString uiFont READ uiFont WRITE setUiFont NOTIFY uiFontChanged)
    Q_PROPERTY(QString skinDirectory READ skinDirectory WRITE setSkinDirectory NOTIFY skinDirectoryChanged)
    Q_PROPERTY(QString language READ language WRITE setLanguage NOTIFY languageChanged)
    Q_PROPERTY(QStringList recentPanelFiles READ recentPanelFiles NOTIFY recentPanelFilesChanged)
    Q_PROPERTY(
        bool reopenLastPanel READ reopenLastPanel WRITE setReopenLastPanel NOTIFY reopenLastPanelChanged)

public:
    // The store of the running program, on the file next to the executable.
    static Settings *instance();
    static QString defaultFileName();

    // A store on any settings file; the program uses instance().
    explicit Settings(const QString &fileName, QObject *parent = nullptr);
    ~Settings() override;

    Q_INVOKABLE QString fileName() const;

    bool stayOnTop() const;
    void setStayOnTop(bool value);
    int windowX() const;
    void setWindowX(int value);
    int windowY() const;
    void setWindowY(int value);
    int windowWidth() const;
    void setWindowWidth(int value);
    int windowHeight() const;
    void setWindowHeight(int value);
    // false before the window was ever closed: the first start chooses a
    // size from the screen instead of the defaults
    Q_INVOKABLE bool windowSizeStored() const;
    bool displayPanelInfo() const;
    void setDisplayPanelInfo(bool value);
    bool displayFileTree() const;
    void setDisplayFileTree(bool value);
    bool displayTextEditor() const;
    void setDisplayTextEditor(bool value);
    QString skinWorkingDirectory() const;
    void setSkinWorkingDirectory(const QString &path);
    QColor viewRectColor() const;
    void setViewRectColor(const QColor &color);
    QColor touchRectColor() const;
    void setTouchRectColor(const QColor &color);
    bool autoReload() const;
    void setAutoReload(bool value);
    int autoReloadInterval() const;
    void setAutoReloadInterval(int interval);
    int logLevel() const;
    void setLogLevel(int level);
    QColor transparentBackgroudColor1() const;
    void setTransparentBackgroudColor1(const QColor &color);
    QColor transparentBackgroudColor2() const;
    void setTransparentBackgroudColor2(const QColor &color);
    int transparentBackgroudGridSize() const;
    void setTransparentBackgroudGridSize(int size);
    int snapGridSize() const;
    void setSnapGridSize(int size);
    QString uiFont() const;
    void setUiFont(const QString &family);
    QString skinDirectory() const;
    void setSkinDirectory(const QString &path);

    // The interface language: "zh" (the default), "en" or "system".
    QString language() const;
    void setLanguage(const QString &language);
    static QStringList languages();

    // The panel files opened last, the latest first, at most maxRecentPanelFiles.
    QStringList recentPanelFiles() const;
    Q_INVOKABLE void addRecentPanelFile(const QString &path);
    static int maxRecentPanelFiles() { return 10; }
    bool reopenLastPanel() const;
    void setReopenLastPanel(bool value);

    static QString defaultSkinWorkingDirectory();
    static QString defaultUiFont();

signals:
    void stayOnTopChanged();
    void windowXChanged();
    void windowYChanged();
    void windowWidthChanged();
    void windowHeightChanged();
    void displayPanelInfoChanged();
    void displayFileTreeChanged();
    void displayTextEditorChanged();
    void skinWorkingDirectoryChanged();
    void viewRectColorChanged();
    void touchRectColorChanged();
    void autoReloadChanged();
    void autoReloadIntervalChanged(int interval);
    void logLevelChanged();
    void transparentBackgroudColor1Changed();
    void transparentBackgroudColor2Changed();
    void transparentBackgroudGridSizeChanged();
    void snapGridSizeChanged();
    void uiFontChanged();
    void skinDirectoryChanged();
    void languageChanged();
    void recentPanelFilesChanged();
    void reopenLastPanelChanged();

private:
    // Stores `value` under `key` unless the stored value (an absent key
    // reading as false or 0) already equals it; true when it stored.
    bool storeIfChanged(const QString &key, bool value);
    bool storeIfChanged(const QString &key, int value);

    QSettings *mSettings;
    QString mSkinDirectory;
};
