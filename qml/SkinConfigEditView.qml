import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Quillmark.Editor 1.0
import "FileKinds.js" as FileKinds

// The text editor for the skin's INI files, with search and replace.
Item {
    id: view

    readonly property alias canUndo: textArea.canUndo
    readonly property alias canRedo: textArea.canRedo
    property bool searchBarVisible: false
    readonly property alias modified: handler.modified
    // the file shown, as a URL and as a local path
    readonly property url fileUrl: handler.fileUrl
    readonly property string filePath: handler.filePath
    readonly property alias text: textArea.text
    // the caption shows paths below this directory relative to it
    property string skinDirectory

    function load(url) {
        handler.load(url)
    }

    function shows(url) {
        return handler.fileUrl.toString() !== "" && handler.fileUrl.toString() === url.toString()
    }

    // Looks for a new version of the file on disk (the editor also looks
    // every second): a clean text takes it, edited text asks.
    function checkFile() {
        handler.checkFile()
    }

    function save() {
        return handler.save()
    }

    // Runs `action` once the text holds no unsaved edits: at once when it
    // holds none, else after the author saved or discarded them; Cancel
    // drops it. Returns what the action returned when it ran at once.
    function whenResolved(action) {
        if (!handler.modified)
            return action()
        var question = unsavedChangesDialog.dialog()
        question.pendingAction = action
        question.open()
        return false
    }

    function undo() {
        textArea.undo()
    }

    function redo() {
        textArea.redo()
    }

    // Selects a line of the text, counted from 1 (0: the start of the text),
    // and scrolls it into view.
    function goToLine(line) {
        var text = textArea.text
        var start = 0
        for (var i = 1; i < line && start >= 0; ++i) {
            var next = text.indexOf("\n", start)
            start = next < 0 ? -1 : next + 1
        }
        if (start < 0)
            start = text.length
        var end = line > 0 ? text.indexOf("\n", start) : start
        textArea.forceActiveFocus()
        textArea.select(start, end < 0 ? text.length : end)
    }

    function showSearchBar() {
        searchBarVisible = true
        searchBar.active = true
        searchBar.item.focusSearch()
    }

    DocumentHandler {
        id: handler

        document: textArea.textDocument
        cursorPosition: textArea.cursorPosition
        selectionStart: textArea.selectionStart
        selectionEnd: textArea.selectionEnd

        onLoaded: function(text) { textArea.text = text }
        onSellect: function(start, end) { textArea.select(start, end) }
        onFileChangedOnDisk: fileChangedDialog.open()
        onReported: function(result) { messages.addResult(result) }
    }

    // Other programs and the key edits write the files the editor shows.
    Timer {
        interval: 1000
        repeat: true
        running: handler.filePath !== ""
        onTriggered: handler.checkFile()
    }

    Shortcut {
        sequences: [StandardKey.Save]
        enabled: view.visible
        onActivated: handler.save()
    }
    Shortcut {
        sequences: [StandardKey.Find]
        enabled: view.visible
        onActivated: view.showSearchBar()
    }
    Shortcut {
        sequences: [StandardKey.FindPrevious]
        enabled: view.visible && view.searchBarVisible
        onActivated: handler.searchPrevious(searchBar.item.searchText, searchBar.item.useRegularExpression,
                                            searchBar.item.caseSensitivity)
    }
    Shortcut {
        sequences: [StandardKey.FindNext]
        enabled: view.visible && view.searchBarVisible
        onActivated: handler.searchNext(searchBar.item.searchText, searchBar.item.useRegularExpression,
                                        searchBar.item.caseSensitivity)
    }

    // The search bar and the two questions below are made when first needed:
    // few sessions use them, and made with the window they cost its start-up.
    Loader {
        id: searchBar
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        active: false
        visible: view.searchBarVisible

        sourceComponent: SearchBar {
            objectName: "searchBar"

            onSearchPrevious: handler.searchPrevious(searchText, useRegularExpression, caseSensitivity)
            onSearchNext: handler.searchNext(searchText, useRegularExpression, caseSensitivity)
            onReplace: handler.replaceAndSearch(replaceText, searchText, useRegularExpression, caseSensitivity)
            onReplaceAll: handler.replaceAll(replaceText)
            onClosed: view.searchBarVisible = false
        }
    }

    // which file a save writes
    Label {
        id: caption
        objectName: "editorCaption"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: view.searchBarVisible ? searchBar.bottom : parent.top
        visible: view.filePath !== ""
        leftPadding: 2
        bottomPadding: 2
        text: FileKinds.relativePath(view.filePath, view.skinDirectory) + (handler.modified ? " *" : "")
        color: "grey"
        elide: Text.ElideMiddle
        ToolTip.text: view.filePath
        ToolTip.visible: captionHover.containsMouse
        ToolTip.delay: 500

        MouseArea {
            id: captionHover
            anchors.fill: parent
            acceptedButtons: Qt.NoButton
            hoverEnabled: true
        }
    }

    Flickable {
        id: flickable
        objectName: "editorFlickable"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: caption.visible ? caption.bottom : caption.top
        anchors.bottom: parent.bottom
        clip: true
        flickableDirection: Flickable.VerticalFlick
        boundsBehavior: Flickable.StopAtBounds

        TextArea.flickable: TextArea {
            id: textArea
            objectName: "editorTextArea"
            wrapMode: TextArea.WordWrap
            padding: 0
            selectByMouse: true
            selectByKeyboard: true
            persistentSelection: true
            font.family: "Noto Mono"
            background: Item {}
        }

        ScrollBar.vertical: ScrollBar {}
    }

    LazyDialog {
        id: unsavedChangesDialog
        name: "unsavedChangesDialog"
        component: Component {
            Dialog {
                id: question

                // what waits for the answer
                property var pendingAction: null

                function takeAction() {
                    var action = pendingAction
                    pendingAction = null
                    return action
                }

                title: qsTr("Unsaved changes")
                parent: Overlay.overlay
                anchors.centerIn: parent
                modal: true
                focus: true
                closePolicy: Popup.CloseOnEscape

                ColumnLayout {
                    spacing: 6
                    Label {
                        Layout.maximumWidth: 420
                        wrapMode: Text.Wrap
                        text: qsTr("The text editor holds changes that are not saved. Save them before going on?")
                    }
                    Label {
                        Layout.maximumWidth: 420
                        visible: text !== ""
                        wrapMode: Text.WrapAnywhere
                        text: view.filePath
                        color: "grey"
                    }
                }

                standardButtons: Dialog.Save | Dialog.Discard | Dialog.Cancel

                // "save", "discard" or "cancel", for the tests that press it
                function button(which) {
                    return standardButton(which === "save" ? Dialog.Save : which === "discard" ? Dialog.Discard
                                                                                                 : Dialog.Cancel)
                }

                // a save that fails keeps the text and goes no further
                onAccepted: {
                    var action = takeAction()
                    if (handler.save() && action)
                        action()
                }
                // (Discard does not close the dialog by itself)
                onDiscarded: {
                    question.close()
                    var action = takeAction()
                    handler.discard()
                    if (action)
                        action()
                }
                onRejected: pendingAction = null
            }
        }
    }

    LazyDialog {
        id: fileChangedDialog
        name: "fileChangedDialog"
        component: Component {
            Dialog {
                id: changed

                title: qsTr("File changed on disk")
                parent: Overlay.overlay
                anchors.centerIn: parent
                modal: true
                focus: true
                // no answer: the next save asks again
                closePolicy: Popup.CloseOnEscape

                ColumnLayout {
                    spacing: 6
                    Label {
                        Layout.maximumWidth: 420
                        wrapMode: Text.Wrap
                        text: qsTr("The file was changed on disk while the text editor holds changes that are not saved.")
                    }
                    Label {
                        Layout.maximumWidth: 420
                        wrapMode: Text.WrapAnywhere
                        text: view.filePath
                        color: "grey"
                    }
                }

                // "reload" or "keep", for the tests that press it
                function button(which) {
                    return which === "reload" ? reloadButton : keepMineButton
                }

                footer: DialogButtonBox {
                    Button {
                        id: reloadButton
                        text: qsTr("Reload")
                        onClicked: {
                            changed.close()
                            handler.reloadFile()
                        }
                    }
                    Button {
                        id: keepMineButton
                        text: qsTr("Keep mine")
                        onClicked: {
                            changed.close()
                            handler.keepBuffer()
                        }
                    }
                }
            }
        }
    }
}
