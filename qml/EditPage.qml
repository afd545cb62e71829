import QtQuick 2.15
import QtQuick.Controls 2.15
import "KeyPick.js" as KeyPick

// The frame every key editing page is built on: a title, the page's fields
// and the buttons Cancel, Apply and Reset.
Page {
    id: page

    // the stack the page is shown in
    property StackView stackView: StackView.view
    // whether the page is the stack's current page (or about to become it)
    readonly property bool shown: StackView.status === StackView.Active
                                  || StackView.status === StackView.Activating

    signal rejected()
    signal applied()
    signal reset()
    // the author picked a key on the preview (see KeyPick.js)
    signal keyPicked(string key)

    // the page changed the panel file
    signal panelFileEdited()
    // another panel file was opened: keys picked on the one before name
    // nothing in it, so the page lets go of them
    signal panelFileSwitched()
    // the panel file the page's picks were made in
    property string picksBelongTo
    Component.onCompleted: picksBelongTo = panel.currentPanelFile

    // The preview whose key selection the page shares, and the page's own
    // selection field (on the pages that have one). While the page is shown,
    // each follows the other; on opening, the page starts with the
    // preview's selection.
    property var preview: null
    property var selection: null

    // false when there is no preview to take the selection from
    function takePreviewSelection() {
        if (!preview || !selection)
            return false
        selection.keys = preview.selectedKeys.slice()
        return true
    }

    onShownChanged: {
        if (!preview || !selection)
            return
        if (shown)
            preview.selectionOwner = page
        else if (preview.selectionOwner === page)
            preview.selectionOwner = null
    }

    Connections {
        target: page.selection
        ignoreUnknownSignals: true
        function onKeysChanged() {
            if (page.shown && page.preview)
                page.preview.selectedKeys = page.selection.keys.slice()
        }
    }
    Connections {
        target: page.preview
        ignoreUnknownSignals: true
        function onSelectionEdited() {
            if (page.shown && page.selection)
                page.selection.keys = page.preview.selectedKeys.slice()
        }
    }

    // after a call that changed the panel file (the panel shows the section
    // as the file now has it)
    function edited() {
        panelFileEdited()
    }

    function close() {
        if (stackView && stackView.currentItem === page && stackView.depth > 1)
            stackView.pop()
    }

    padding: 10

    // the application's font size in pixels, also where it is given in points
    readonly property real basePixelSize: Qt.application.font.pixelSize > 0 ? Qt.application.font.pixelSize
                                                                              : fontProbe.fontInfo.pixelSize

    Text {
        id: fontProbe
        visible: false
        font: page.font
    }

    header: Label {
        objectName: "pageTitle"
        text: page.title
        font.pixelSize: page.basePixelSize * 1.5
        padding: 10
        // a long title (the move page's says that an empty selection moves
        // all keys) takes more lines rather than losing its end
        wrapMode: Text.Wrap
    }

    footer: DialogButtonBox {
        id: buttonBox
        objectName: "buttonBox"
        standardButtons: DialogButtonBox.Cancel | DialogButtonBox.Apply | DialogButtonBox.Reset
        onRejected: page.rejected()
        onApplied: page.applied()
        onReset: page.reset()
    }

    background: Rectangle {
        color: buttonBox.background && buttonBox.background.color !== undefined
               ? buttonBox.background.color : page.palette.window
    }

    onRejected: {
        reset()
        close()
    }

    Connections {
        target: panel
        function onCurrentKeyChanged() {
            if (KeyPick.active())
                page.keyPicked(panel.currentKey)
        }
        // once the new file is loaded (the name changes before that); a
        // reload announces the same name again, which changes nothing
        function onCurrentPanelFileChanged() {
            if (panel.currentPanelFile === page.picksBelongTo)
                return
            page.picksBelongTo = panel.currentPanelFile
            Qt.callLater(page.panelFileSwitched)
        }
    }
}
