import QtQuick 2.15
import QtQuick.Controls 2.15
import Quillmark.Editor 1.0

// The text editor for the skin's INI files, with search and replace.
Item {
    id: view

    readonly property alias canUndo: textArea.canUndo
    readonly property alias canRedo: textArea.canRedo
    property alias searchBarVisible: searchBar.visible
    readonly property alias modified: handler.modified
    // the file last loaded, for the caption
    property url fileUrl
    readonly property alias text: textArea.text

    function load(url) {
        fileUrl = url
        handler.load(url)
    }

    // Reads the file again although it is the one shown (the handler skips a
    // URL it has loaded already): a new fragment makes the URL new while the
    // file stays the same.
    property int reloadCount: 0

    function reload(url) {
        fileUrl = url
        reloadCount += 1
        handler.load(url + "#reload" + reloadCount)
    }

    // After the file changed on disk, unless the text holds unsaved edits.
    function refresh(url) {
        if (!handler.modified && fileUrl.toString() === url.toString())
            reload(url)
    }

    function save() {
        handler.save()
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
        searchBar.visible = true
        searchBar.focusSearch()
    }

    DocumentHandler {
        id: handler

        document: textArea.textDocument
        cursorPosition: textArea.cursorPosition
        selectionStart: textArea.selectionStart
        selectionEnd: textArea.selectionEnd

        onLoaded: function(text) { textArea.text = text }
        onSellect: function(start, end) { textArea.select(start, end) }
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
        enabled: view.visible && searchBar.visible
        onActivated: handler.searchPrevious(searchBar.searchText, searchBar.useRegularExpression,
                                            searchBar.caseSensitivity)
    }
    Shortcut {
        sequences: [StandardKey.FindNext]
        enabled: view.visible && searchBar.visible
        onActivated: handler.searchNext(searchBar.searchText, searchBar.useRegularExpression,
                                        searchBar.caseSensitivity)
    }

    SearchBar {
        id: searchBar
        objectName: "searchBar"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        visible: false

        onSearchPrevious: handler.searchPrevious(searchText, useRegularExpression, caseSensitivity)
        onSearchNext: handler.searchNext(searchText, useRegularExpression, caseSensitivity)
        onReplace: handler.replaceAndSearch(replaceText, searchText, useRegularExpression, caseSensitivity)
        onReplaceAll: handler.replaceAll(replaceText)
        onClosed: visible = false
    }

    Label {
        id: caption
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: searchBar.visible ? searchBar.bottom : parent.top
        visible: view.fileUrl.toString() !== ""
        leftPadding: 2
        bottomPadding: 2
        text: {
            var s = view.fileUrl.toString()
            return decodeURIComponent(s.substring(s.lastIndexOf("/") + 1)) + (handler.modified ? " *" : "")
        }
        color: "grey"
        elide: Text.ElideMiddle
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
}
