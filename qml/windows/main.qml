import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtQuick.Window 2.15
import QtQuick.Dialogs 1.3
import ".."
import "../FileKinds.js" as FileKinds
import "../KeyPick.js" as KeyPick
import "../fontawesome"
import "../fontawesome/Icons.js" as Icons

// The editor's main window: menus and tool bar, the skin's files and styles
// on the left, the preview and the text editor in the middle, the key editing
// pages on the right.
ApplicationWindow {
    id: mainWindow
    objectName: "mainWindow"

    readonly property string baseTitle: qsTr("Quillmark Studio") + (utils.isForKWA() ? " for KWA" : "")

    // The key editing pages, each made the first time it is shown and kept
    // from then on, so that it keeps its fields. page(name) makes one.
    property Page exchangePage: null
    property Page movePage: null
    property Page adjustPage: null
    property Page alignPage: null
    property Page editKeyPage: null
    property Page addKeyPage: null
    property Page removePage: null
    // Named by address, not by type, so that the engine reads a page's file
    // (and those it uses) only when the page is first made. The pages that
    // pick keys share the preview's selection.
    readonly property var pageFiles: ({
        exchangePage: { file: Qt.resolvedUrl("../ExchangeKeysPage.qml"), picks: false },
        movePage: { file: Qt.resolvedUrl("../MoveKeysPage.qml"), picks: true },
        adjustPage: { file: Qt.resolvedUrl("../AdjustKeysPage.qml"), picks: true },
        alignPage: { file: Qt.resolvedUrl("../AlignKeysPage.qml"), picks: true },
        editKeyPage: { file: Qt.resolvedUrl("../EditKeyPage.qml"), picks: false },
        addKeyPage: { file: Qt.resolvedUrl("../AddKeyPage.qml"), picks: false },
        removePage: { file: Qt.resolvedUrl("../RemoveKeysPage.qml"), picks: true }
    })

    // The page of that property name, made if it does not exist yet. The
    // window owns it; it stays out of the window's items while the stack does
    // not show it (the stack gives a page back to its first parent).
    function page(name) {
        var kind = pageFiles[name]
        if (!mainWindow[name] && kind) {
            var component = Qt.createComponent(kind.file)
            var made = component.createObject(mainWindow, { objectName: name, preview: kind.picks ? panelImage : null })
            if (!made) {
                console.warn("page " + name + " could not be made: " + component.errorString())
                return null
            }
            made.panelFileEdited.connect(mainWindow.panelFileEdited)
            made.parent = null
            mainWindow[name] = made
        }
        return mainWindow[name]
    }

    // Set by the start-up once the first frame is out. The text editor's
    // first file is laid out and highlighted after that frame, so that the
    // window shows without waiting for it.
    property bool firstFrameShown: false
    property bool editorLoadPutOff: false
    onFirstFrameShownChanged: {
        if (editorLoadPutOff && panel.currentPanelFile !== "" && !textEditor.modified)
            textEditor.load(utils.localPathToUrl(panel.currentPanelFile))
        editorLoadPutOff = false
    }

    // the panel file that the panel's current key was picked in
    property string keysPanelFile
    property alias functionAreaStack: functionAreaStack
    property alias preview: panelImage
    property alias fileTree: fileTree
    property alias textEditor: textEditor

    // Shows a key editing page; a page already in the stack is returned to.
    function pushPage(page) {
        if (functionAreaStack.currentItem === page)
            return
        if (functionAreaStack.find(function(item) { return item === page }))
            functionAreaStack.pop(page)
        else
            functionAreaStack.push(page)
    }

    // The text editor follows the edits and reloads of the panel file it
    // shows, so that a later save cannot write the old text back over them.
    function panelFileEdited() {
        textEditor.checkFile()
    }

    function undo() {
        panel.undo()
        panelFileEdited()
    }

    function redo() {
        panel.redo()
        panelFileEdited()
    }

    function reload() {
        panel.reload()
        panelFileEdited()
    }

    // The text editor then shows the panel file: edits it holds of another
    // file are saved or discarded first.
    function openPanelFile(path) {
        var url = utils.localPathToUrl(path)
        return resolveEditorFor(url, function() {
            panel.setPanelFile(path)
            var skinDir = FileKinds.skinDirectoryOf(path)
            rpSettings.skinDirectory = skinDir
            console.debug("skinDir: " + skinDir)
            textEditor.load(url)
            return true
        })
    }

    // Runs `action`, which shows `fileUrl` in the text editor, once the
    // editor's unsaved edits of another file are saved or discarded.
    function resolveEditorFor(fileUrl, action) {
        if (textEditor.shows(fileUrl))
            return action()
        return textEditor.whenResolved(action)
    }

    // A file clicked in the tree: a panel file opens, a text file goes to the
    // text editor; clicking the file the editor shows keeps its text as it is.
    function openFromTree(fileUrl, suffix, asPanel) {
        var path = utils.urlToLocalPath(fileUrl.toString())
        var isText = FileKinds.isTextFile(suffix)
        var open = function() {
            if (asPanel && suffix === "ini")
                panel.setPanelFile(path)
            if (isText)
                textEditor.load(fileUrl)
        }
        if (isText)
            resolveEditorFor(fileUrl, open)
        else
            open()
    }

    // Tells the author why an import did not happen; the log has it too.
    function refuseImport(text, path) {
        console.info(text)
        messages.post(3, text, path)
        return false
    }

    // Replaces the working copy by the skin in an archive. Nothing is
    // touched unless the archive can be read, so a wrong file cannot cost the
    // author the working copy; a working directory that holds anything is
    // emptied only once the author has agreed to it.
    function importSkin(path) {
        // the editor's edits are settled before anything is looked at or removed
        return textEditor.whenResolved(function() { return importSkinNow(path) })
    }

    function importSkinNow(path) {
        var workingDirectory = rpSettings.skinWorkingDirectory
        if (archiveJob.running)
            return refuseImport(qsTr("%1 was not imported: an import or export is still running. Wait for it or cancel it first.").arg(path), path)
        if (workingDirectory === "")
            return refuseImport(qsTr("No skin working directory is set, so %1 was not imported. Choose one in the settings.").arg(path), path)
        if (!utils.isClearable(workingDirectory))
            return refuseImport(qsTr("The skin working directory %1 is the root, your home directory or a directory above it, which is never emptied, so %2 was not imported. Choose another one in the settings.").arg(workingDirectory).arg(path), path)
        if (FileKinds.isInside(path, workingDirectory))
            return refuseImport(qsTr("%1 lies in the skin working directory, which is emptied before importing, so it was not imported.").arg(path), path)
        if (!utils.isZipArchive(path))
            return refuseImport(qsTr("%1 is not a skin archive, so it was not imported; the skin working directory is kept.").arg(path), path)
        var entries = utils.entryCount(workingDirectory)
        if (entries > 0) {
            var question = importConfirmDialog.dialog()
            question.path = path
            question.text = qsTr("Importing %1 empties the skin working directory %2 first: its %3 files and folders (counted all the way down) will be deleted.").arg(path).arg(workingDirectory).arg(entries)
            question.open()
            return true
        }
        replaceWorkingCopy(path)
        return true
    }

    // The archive is unpacked beside the working directory, off the UI
    // thread, and put in its place only once complete; a failed or cancelled
    // import leaves the working copy and reopens its panel file.
    property string importPath
    property string importDirectory
    property string panelBeforeImport

    function replaceWorkingCopy(path) {
        var workingDirectory = rpSettings.skinWorkingDirectory
        // (a run already going refuses with its own message)
        if (archiveJob.running)
            return archiveJob.startImport(path, workingDirectory)
        importPath = path
        importDirectory = workingDirectory
        panelBeforeImport = panel.currentPanelFile
        panel.clean()
        return archiveJob.startImport(path, workingDirectory)
    }

    function importFinished(ok) {
        if (!ok) {
            if (panelBeforeImport !== "")
                panel.setPanelFile(panelBeforeImport)
            return
        }
        var panelFile = FileKinds.importedPanelFile(importPath, importDirectory)
        panel.setPanelFile(panelFile)
        // the editor may still show a file of the working copy just replaced
        textEditor.load(utils.localPathToUrl(panelFile))
        textEditor.checkFile()
        console.debug(importPath.endsWith("bdi") ? "importing bdi" : "importing bds or zip")
        rpSettings.skinDirectory = importDirectory
    }

    // Packed off the UI thread; an archive already there is replaced only by
    // a complete one.
    function exportSkin(path) {
        return archiveJob.startExport(rpSettings.skinDirectory, path)
    }

    function openDropped(path) {
        var kind = FileKinds.dropKind(path)
        if (kind === "panel")
            openPanelFile(path)
        else if (kind === "skin")
            importSkin(path)
    }

    // Quit and closing the window wait for the editor's unsaved edits.
    function quit() {
        textEditor.whenResolved(function() {
            mainWindow.saveGeometry()
            Qt.callLater(Qt.quit)
        })
    }

    // A problem the author clicked: its file in the text editor at its line,
    // its key picked on the preview.
    function showProblem(file, line, key) {
        var suffix = file.substring(file.lastIndexOf(".") + 1)
        if (FileKinds.isTextFile(suffix)) {
            var url = utils.localPathToUrl(file)
            resolveEditorFor(url, function() {
                if (!textEditor.shows(url))
                    textEditor.load(url)
                textEditor.goToLine(line)
            })
        }
        if (key !== "")
            KeyPick.run(function() { panel.currentKey = key })
    }

    function showPanelFileDialog() {
        if (rpSettings.skinDirectory !== "")
            panelFileDialog.dialog().folder = utils.localPathToUrl(rpSettings.skinDirectory)
        panelFileDialog.open()
    }

    // The user guide carried in the program, readable offline.
    function openHelp() {
        var url = utils.userGuideUrl()
        if (url !== "")
            Qt.openUrlExternally(url)
    }

    function saveGeometry() {
        rpSettings.windowX = x
        rpSettings.windowY = y
        rpSettings.windowWidth = width
        rpSettings.windowHeight = height
    }

    // 80% of the screen's side, at least `least` where the screen allows
    function firstStartSize(screenSide, least) {
        if (!(screenSide > 0))
            return least
        return Math.round(Math.min(screenSide, Math.max(least, screenSide * 0.8)))
    }

    function restoreGeometry() {
        // a size or place that would hide the window falls back to the defaults
        var w = rpSettings.windowWidth
        var h = rpSettings.windowHeight
        if (!rpSettings.windowSizeStored()) {
            // first start: most of the screen, so that the preview, the
            // style list and the editor are usable at once
            w = firstStartSize(Screen.desktopAvailableWidth, 1024)
            h = firstStartSize(Screen.desktopAvailableHeight, 700)
        }
        width = w >= minimumWidth && w <= 16384 ? w : 800
        height = h >= minimumHeight && h <= 16384 ? h : 600
        var left = rpSettings.windowX
        var top = rpSettings.windowY
        var screenWidth = Screen.desktopAvailableWidth > 0 ? Screen.desktopAvailableWidth : 16384
        var screenHeight = Screen.desktopAvailableHeight > 0 ? Screen.desktopAvailableHeight : 16384
        x = left > -width + 50 && left < screenWidth - 50 ? left : 100
        y = top >= 0 && top < screenHeight - 50 ? top : 100
        if (!rpSettings.windowSizeStored() && Screen.desktopAvailableWidth > 0) {
            x = Math.max(0, (Screen.desktopAvailableWidth - width) / 2)
            y = Math.max(0, (Screen.desktopAvailableHeight - height) / 2)
        }
    }

    // the desktop's order: the document first, the program after " — "
    // (a window title that ends so gets nothing more appended by X11)
    title: panel.currentPanelFile === "" ? baseTitle : panel.currentPanelFile + " — " + baseTitle
    visible: true
    minimumWidth: 640
    minimumHeight: 420
    width: 800
    height: 600
    font.family: rpSettings.uiFont
    flags: rpSettings.stayOnTop
           ? Qt.Dialog | Qt.WindowStaysOnTopHint | Qt.WindowCloseButtonHint
             | Qt.WindowMinMaxButtonsHint | Qt.WindowTitleHint
           : Qt.Window

    Component.onCompleted: restoreGeometry()
    onClosing: function(close) {
        if (textEditor.modified) {
            close.accepted = false
            textEditor.whenResolved(function() { mainWindow.close() })
            return
        }
        saveGeometry()
    }

    FontAwesomeLoader {}

    Shortcut {
        sequences: [StandardKey.Refresh]
        onActivated: mainWindow.reload()
    }
    Shortcut {
        sequences: [StandardKey.Undo]
        enabled: panel.canUndo
        onActivated: mainWindow.undo()
    }
    Shortcut {
        sequences: [StandardKey.Redo]
        enabled: panel.canRedo
        onActivated: mainWindow.redo()
    }

    Action { id: newPanelAction; objectName: "newPanelAction"; text: qsTr("&New Panel File..."); onTriggered: panelCreateDialog.dialog().chooseTarget() }
    Action { id: openAction; text: qsTr("&Open Panel File..."); shortcut: StandardKey.Open; onTriggered: mainWindow.showPanelFileDialog() }
    Action { id: importAction; text: qsTr("&Import Skin..."); onTriggered: importSkinDialog.open() }
    Action { id: exportAction; text: qsTr("&Export Skin..."); onTriggered: exportSkinDialog.open() }
    Action { id: exportImageAction; text: qsTr("E&xport As Image..."); onTriggered: exportImageDialog.open() }
    Action { id: quitAction; text: qsTr("&Quit"); shortcut: StandardKey.Quit; onTriggered: mainWindow.quit() }
    Action { id: reloadAction; text: qsTr("Reload"); onTriggered: mainWindow.reload() }

    Action { id: exchangeAction; text: qsTr("E&xchange Keys"); onTriggered: mainWindow.pushPage(mainWindow.page("exchangePage")) }
    Action { id: moveAction; text: qsTr("&Move Keys"); onTriggered: mainWindow.pushPage(mainWindow.page("movePage")) }
    Action { id: adjustAction; text: qsTr("&Adjust Keys"); onTriggered: mainWindow.pushPage(mainWindow.page("adjustPage")) }
    Action { id: alignAction; text: qsTr("A&lign Keys"); onTriggered: mainWindow.pushPage(mainWindow.page("alignPage")) }
    Action { id: editKeyAction; text: qsTr("&Edit Key"); onTriggered: mainWindow.pushPage(mainWindow.page("editKeyPage")) }
    Action { id: addKeyAction; text: qsTr("A&dd key"); onTriggered: mainWindow.pushPage(mainWindow.page("addKeyPage")) }
    Action { id: removeAction; text: qsTr("Remo&ve Key"); onTriggered: mainWindow.pushPage(mainWindow.page("removePage")) }
    Action { id: undoAction; text: qsTr("&Undo"); enabled: panel.canUndo; onTriggered: mainWindow.undo() }
    Action { id: redoAction; text: qsTr("&Redo"); enabled: panel.canRedo; onTriggered: mainWindow.redo() }
    // editing on the preview; the keys work while the preview has focus
    Action { id: selectAllAction; objectName: "selectAllAction"; text: qsTr("Select All &Keys") + "\tCtrl+A"; onTriggered: panelImage.selectAll() }
    Action { id: clearSelectionAction; text: qsTr("&Clear Selection") + "\tEsc"; enabled: panelImage.selectedKeys.length > 0; onTriggered: panelImage.clearSelection() }
    Action { id: duplicateAction; objectName: "duplicateAction"; text: qsTr("Duplicate Ke&ys") + "\tCtrl+D"; enabled: panelImage.selectedKeys.length > 0; onTriggered: panelImage.duplicateSelection() }
    Action { id: deleteAction; objectName: "deleteAction"; text: qsTr("Dele&te Keys") + "\tDel"; enabled: panelImage.selectedKeys.length > 0; onTriggered: panelImage.deleteSelection() }
    Action { id: settingsAction; objectName: "settingsAction"; text: qsTr("&Settings"); onTriggered: settingsDialog.open() }

    Action { id: aboutAction; objectName: "aboutAction"; text: qsTr("&About"); onTriggered: aboutDialog.open() }

    // A skin archive named on the command line (as the file manager does)
    // is imported only once the author says so.
    function offerImport(path) {
        var offer = offerImportDialog.dialog()
        offer.path = path
        offer.text = qsTr("Import the skin archive %1 into the skin working directory?").arg(path)
        offer.open()
    }

    // The menus' entries are made when a menu first opens (FittingMenu).
    menuBar: MenuBar {
        FittingMenu {
            objectName: "fileMenu"
            title: qsTr("&File")
            entries: MenuEntries {
                MenuItem { action: newPanelAction }
                ShortcutMenuItem { action: openAction; sequence: StandardKey.Open }
                FittingMenu {
                    id: recentMenu
                    objectName: "recentMenu"
                    title: qsTr("Open &Recent")
                    enabled: rpSettings.recentPanelFiles.length > 0
                    // files come and go while the editor runs: looked at on every opening
                    property int looks: 0
                    onAboutToShow: ++looks

                    Instantiator {
                        model: rpSettings.recentPanelFiles
                        delegate: MenuItem {
                            objectName: "recentItem" + index
                            // a digit to choose it by; a "&" in the path is no mnemonic
                            text: (index < 9 ? "&" + (index + 1) : "1&0") + "  " + modelData.replace(/&/g, "&&")
                            enabled: recentMenu.looks >= 0 && utils.isFile(modelData)
                            onTriggered: mainWindow.openPanelFile(modelData)
                        }
                        onObjectAdded: recentMenu.insertItem(index, object)
                        onObjectRemoved: recentMenu.removeItem(object)
                    }
                }
                MenuItem { action: importAction }
                MenuItem { action: exportAction }
                MenuItem { action: exportImageAction }
                MenuSeparator {}
                ShortcutMenuItem { action: quitAction; sequence: StandardKey.Quit }
            }
        }
        FittingMenu {
            objectName: "editMenu"
            title: qsTr("&Edit")
            entries: MenuEntries {
                MenuItem { action: exchangeAction }
                MenuItem { action: moveAction }
                MenuItem { action: adjustAction }
                MenuItem { action: alignAction }
                MenuItem { action: editKeyAction }
                MenuItem { action: addKeyAction }
                MenuItem { action: removeAction }
                MenuSeparator {}
                ShortcutMenuItem { action: undoAction; sequence: StandardKey.Undo }
                ShortcutMenuItem { action: redoAction; sequence: StandardKey.Redo }
                MenuSeparator {}
                MenuItem { action: selectAllAction }
                MenuItem { action: clearSelectionAction }
                MenuItem { action: duplicateAction }
                MenuItem { action: deleteAction }
                MenuSeparator {}
                MenuItem { action: settingsAction }
            }
        }
        FittingMenu {
            objectName: "toolMenu"
            title: qsTr("&Tool")
            entries: MenuEntries {
                MenuItem { objectName: "fontResourceMenuItem"; text: qsTr("&Generate Font Resources"); onTriggered: fontResourceDialog.open() }
                MenuItem { objectName: "resolutionConvertMenuItem"; text: qsTr("&Resolution Convert"); onTriggered: resolutionConvertDialog.open() }
                MenuItem { objectName: "panelScaleMenuItem"; text: qsTr("&Panel Scale"); onTriggered: panelScaleDialog.open() }
                MenuItem { objectName: "tileToolMenuItem"; text: qsTr("&Tile Tool"); onTriggered: tileToolDialog.open() }
                MenuItem { objectName: "innerRectMenuItem"; text: qsTr("&Inner Rect Tool"); onTriggered: innerRectDialog.open() }
            }
        }
        FittingMenu {
            objectName: "textEditorMenu"
            title: qsTr("Te&xt editor")
            entries: MenuEntries {
                ShortcutMenuItem { text: qsTr("&Save"); sequence: StandardKey.Save; onTriggered: textEditor.save() }
                ShortcutMenuItem { text: qsTr("S&earch && Replace"); sequence: StandardKey.Find; onTriggered: textEditor.showSearchBar() }
                MenuItem { text: qsTr("&Undo"); enabled: textEditor.canUndo; onTriggered: textEditor.undo() }
                MenuItem { text: qsTr("&Redo"); enabled: textEditor.canRedo; onTriggered: textEditor.redo() }
            }
        }
        FittingMenu {
            objectName: "aboutMenu"
            title: qsTr("&About")
            entries: MenuEntries {
                MenuItem { action: aboutAction }
                MenuItem { objectName: "shortcutsMenuItem"; text: qsTr("&Keyboard Shortcuts"); onTriggered: shortcutsDialog.open() }
                MenuItem { objectName: "helpMenuItem"; text: qsTr("&Help"); onTriggered: mainWindow.openHelp() }
            }
        }
    }

    header: ToolBar {
        Flow {
            width: parent.width

            component Separator: ToolSeparator {
                height: 35
            }

            Row {
                IconToolButton { objectName: "openButton"; action: openAction; glyph: Icons.fa_file_alt }
                IconToolButton { action: importAction; glyph: Icons.fa_file_import }
                IconToolButton { action: exportAction; glyph: Icons.fa_file_export }
                IconToolButton { action: reloadAction; glyph: Icons.fa_sync_alt }
                Separator {}
            }
            Row {
                IconToolButton { objectName: "exchangeButton"; action: exchangeAction; glyph: Icons.fa_exchange_alt }
                IconToolButton { objectName: "moveButton"; action: moveAction; glyph: Icons.fa_arrows_alt }
                IconToolButton { objectName: "adjustButton"; action: adjustAction; glyph: Icons.fa_expand }
                IconToolButton { objectName: "editKeyButton"; action: editKeyAction; glyph: Icons.fa_edit }
                IconToolButton { objectName: "undoButton"; action: undoAction; glyph: Icons.fa_undo }
                IconToolButton { objectName: "redoButton"; action: redoAction; glyph: Icons.fa_redo }
                Separator {}
            }
            Row {
                IconToolButton { action: settingsAction; glyph: Icons.fa_cog }
                IconToolButton { action: aboutAction; glyph: Icons.fa_info_circle }
                Separator {}
            }
            Row {
                StatusSelector {
                    objectName: "statusSelector"
                    width: 100
                    height: 35
                }
                Separator {}
            }
        }
    }

    // made when first opened, from their files (read only then); dialog(name)
    // makes one for whoever asks by name
    LazyDialog { id: settingsDialog; name: "settingsDialog"; source: "SettingsDialog.qml" }
    LazyDialog { id: aboutDialog; name: "aboutDialog"; source: "../AboutDialog.qml" }
    LazyDialog { id: shortcutsDialog; name: "shortcutsDialog"; source: "../ShortcutsDialog.qml" }
    LazyDialog { id: panelCreateDialog; name: "panelCreateDialog"; source: "PanelCreateDialog.qml" }
    LazyDialog { id: fontResourceDialog; name: "fontResourceDialog"; source: "FontResourceDialog.qml" }
    LazyDialog { id: resolutionConvertDialog; name: "resolutionConvertDialog"; source: "ResolutionConvertDialog.qml" }
    LazyDialog { id: panelScaleDialog; name: "panelScaleDialog"; source: "PanelScaleDialog.qml" }
    LazyDialog { id: tileToolDialog; name: "tileToolDialog"; source: "TileToolDialog.qml" }
    LazyDialog { id: innerRectDialog; name: "innerRectDialog"; source: "InnerRectDialog.qml" }

    // The dialog of that object name, made if needed; null for another name.
    function dialog(name) {
        var lazy = [settingsDialog, aboutDialog, shortcutsDialog, panelCreateDialog, fontResourceDialog,
                    resolutionConvertDialog, panelScaleDialog, tileToolDialog, innerRectDialog,
                    importConfirmDialog, offerImportDialog, messageHistory, panelFileDialog,
                    exportImageDialog, importSkinDialog, exportSkinDialog]
        for (var i = 0; i < lazy.length; ++i) {
            if (lazy[i].name === name)
                return lazy[i].dialog()
        }
        return null
    }

    // Importing empties the working directory: the author says yes first.
    LazyDialog {
        id: importConfirmDialog
        name: "importConfirmDialog"
        component: Component {
            ConfirmDialog {
                property string path
                title: qsTr("Import Skin")
                acceptText: qsTr("Delete and Import")
                onAccepted: mainWindow.replaceWorkingCopy(path)
            }
        }
    }

    LazyDialog {
        id: offerImportDialog
        name: "offerImportDialog"
        component: Component {
            ConfirmDialog {
                property string path
                title: qsTr("Import Skin")
                acceptText: qsTr("Import")
                onAccepted: mainWindow.importSkin(path)
            }
        }
    }

    LazyDialog { id: messageHistory; name: "messageHistory"; source: "../MessageHistory.qml" }

    LazyDialog {
        id: panelFileDialog
        name: "panelFileDialog"
        component: Component {
            FileDialog {
                title: qsTr("Open Panel File")
                nameFilters: [qsTr("Ini files (*.ini)")]
                selectExisting: true
                onAccepted: mainWindow.openPanelFile(utils.urlToLocalPath(fileUrl.toString()))
            }
        }
    }

    LazyDialog {
        id: exportImageDialog
        name: "exportImageDialog"
        component: Component {
            FileDialog {
                title: qsTr("Export As Image")
                nameFilters: [qsTr("png file (*.png)"), qsTr("jpg file (*.jpg *.jpeg)"), qsTr("bmp file (*.bmp)")]
                folder: shortcuts.pictures
                selectExisting: false
                onAccepted: panel.exportAsImage(FileKinds.withFilterSuffix(utils.urlToLocalPath(fileUrl.toString()),
                                                                           nameFilters, selectedNameFilter))
            }
        }
    }

    LazyDialog {
        id: importSkinDialog
        name: "importSkinDialog"
        component: Component {
            FileDialog {
                title: qsTr("Import Skin")
                nameFilters: [qsTr("bds files (*.bds *.bdi *.zip)")]
                folder: shortcuts.documents
                selectExisting: true
                onAccepted: mainWindow.importSkin(utils.urlToLocalPath(fileUrl.toString()))
            }
        }
    }

    LazyDialog {
        id: exportSkinDialog
        name: "exportSkinDialog"
        component: Component {
            FileDialog {
                title: qsTr("Export Skin")
                nameFilters: [qsTr("bds file (*.bds)"), qsTr("bdi file (*.bdi)"), qsTr("zip file (*.zip)")]
                folder: shortcuts.documents
                selectExisting: false
                onAccepted: mainWindow.exportSkin(FileKinds.withFilterSuffix(utils.urlToLocalPath(fileUrl.toString()),
                                                                             nameFilters, selectedNameFilter))
            }
        }
    }

    // The text editor shows the panel file that was opened, unless it holds
    // unsaved edits of another file (the ways of opening in the window ask
    // about them first), and follows the files the panel reloads. The current
    // key of the file before means nothing in the new one: without it, the
    // first click on a key of the same name shows that key's section.
    Connections {
        target: panel
        function onCurrentPanelFileChanged() {
            // (a reload announces the same file again)
            if (panel.currentPanelFile !== mainWindow.keysPanelFile) {
                mainWindow.keysPanelFile = panel.currentPanelFile
                panel.currentKey = ""
            }
            if (panel.currentPanelFile === "" || textEditor.modified)
                return
            if (mainWindow.firstFrameShown)
                textEditor.load(utils.localPathToUrl(panel.currentPanelFile))
            else
                mainWindow.editorLoadPutOff = true
        }
        function onPanelReloaded() {
            textEditor.checkFile()
        }
    }

    Connections {
        target: archiveJob
        function onFinished(result) {
            if (archiveJob.importing)
                mainWindow.importFinished(result.ok)
        }
    }

    Connections {
        target: rpSettings
        function onSkinDirectoryChanged() {
            fileTree.setRoot(rpSettings.skinDirectory)
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 10

        RowLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 10

            ColumnLayout {
                Layout.preferredWidth: 200
                Layout.maximumWidth: 200
                Layout.fillHeight: true
                spacing: 10

                Frame {
                    visible: rpSettings.displayFileTree
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    Layout.preferredHeight: 100
                    padding: 6

                    SkinFileTree {
                        id: fileTree
                        objectName: "fileTree"
                        anchors.fill: parent
                        Component.onCompleted: setRoot(rpSettings.skinDirectory)

                        onAccepted: mainWindow.openFromTree(fileUrl, suffix, true)
                        onAcceptedAsTextFile: mainWindow.openFromTree(fileUrl, suffix, false)
                    }
                }
                Frame {
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    Layout.preferredHeight: 100
                    padding: 6

                    StylesList {
                        objectName: "stylesList"
                        anchors.fill: parent
                    }
                }
            }

            ColumnLayout {
                Layout.fillWidth: true
                Layout.fillHeight: true
                spacing: 10

                Frame {
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    Layout.preferredHeight: 100
                    padding: 1

                    PanelImage {
                        id: panelImage
                        objectName: "panelImage"
                        anchors.fill: parent
                        panelDrawable: problems.panelDrawable
                        onEdited: mainWindow.panelFileEdited()
                    }
                }
                RowLayout {
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    Layout.preferredHeight: 100
                    spacing: 10

                    Frame {
                        visible: rpSettings.displayTextEditor
                        Layout.fillWidth: true
                        Layout.fillHeight: true
                        padding: 6

                        SkinConfigEditView {
                            id: textEditor
                            objectName: "textEditor"
                            anchors.fill: parent
                            skinDirectory: rpSettings.skinDirectory
                        }
                    }
                    Frame {
                        Layout.fillWidth: !rpSettings.displayTextEditor
                        Layout.preferredWidth: 260
                        Layout.minimumWidth: 150
                        Layout.fillHeight: true
                        padding: 6

                        ProblemsPane {
                            id: problemsPane
                            objectName: "problemsPane"
                            anchors.fill: parent
                            model: problems
                            onActivated: mainWindow.showProblem(file, line, key)
                        }
                    }
                }
            }

            Frame {
                Layout.preferredWidth: 230
                Layout.maximumWidth: 230
                Layout.fillHeight: true
                padding: 1

                StackView {
                    id: functionAreaStack
                    objectName: "functionAreaStack"
                    anchors.fill: parent
                    clip: true

                    // made by the view, inside the window: an item made
                    // outside it would lay its texts out in the default font
                    // first and again in the window's once it is pushed
                    initialItem: Component {
                        SectionInfoPage {
                            objectName: "sectionInfoPage"
                        }
                    }
                }
            }
        }

        // an import or export under way; the window stays usable meanwhile
        RowLayout {
            objectName: "archiveProgressRow"
            visible: archiveJob.running
            Layout.fillWidth: true
            spacing: 10

            Label {
                objectName: "archiveProgressLabel"
                text: (archiveJob.importing ? qsTr("Importing %1") : qsTr("Exporting to %1")).arg(archiveJob.archive)
                elide: Text.ElideMiddle
                Layout.maximumWidth: 400
            }
            ProgressBar {
                objectName: "archiveProgressBar"
                Layout.fillWidth: true
                from: 0
                to: 1
                value: archiveJob.progress
            }
            Button {
                objectName: "archiveCancelButton"
                text: qsTr("Cancel")
                onClicked: archiveJob.cancel()
            }
        }

        StatusBar {
            objectName: "statusBar"
            Layout.fillWidth: true
            onHistoryRequested: {
                var history = messageHistory.dialog()
                history.opened ? history.close() : history.open()
            }
            errorCount: problems.errorCount
            warningCount: problems.warningCount
            infoCount: problems.infoCount
        }
    }

    // Files dragged onto the window: a panel file opens, a skin archive is
    // imported. File URLs come as text/uri-list on Linux and macOS and in the
    // shell's FileName format on Windows.
    DropArea {
        id: dropArea
        objectName: "dropArea"
        anchors.fill: parent
        keys: ["application/x-qt-windows-mime;value=\"FileName\"", "text/uri-list"]

        function firstPath(urls) {
            return urls && urls.length > 0 ? utils.urlToLocalPath(urls[0].toString()) : ""
        }

        onEntered: drag.accepted = FileKinds.dropKind(firstPath(drag.urls)) !== ""
        onDropped: {
            var path = firstPath(drop.urls)
            if (FileKinds.dropKind(path) === "")
                return
            drop.acceptProposedAction()
            mainWindow.openDropped(path)
        }

        // shows where a file that will be taken can be dropped
        Rectangle {
            anchors.fill: parent
            anchors.margins: 4
            visible: dropArea.containsDrag
            color: "#1a4caf50"
            border.color: "#4caf50"
            border.width: 3
            radius: 4
        }
    }
}
