import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// The keys and pointer gestures of the window, above all those of editing
// keys on the preview.
Dialog {
    id: dialog

    readonly property var entries: [
        [qsTr("Click"), qsTr("select the key under the pointer")],
        [qsTr("Ctrl+click, Shift+click"), qsTr("add or remove a key")],
        [qsTr("Drag on an empty area"), qsTr("select the keys the band touches")],
        [qsTr("Drag a selected key"), qsTr("move the selection")],
        [qsTr("Drag a handle"), qsTr("resize a single key (Shift keeps the aspect)")],
        [qsTr("Alt while dragging"), qsTr("move or resize without snapping")],
        [qsTr("Arrow keys"), qsTr("nudge the selection by 1 unit")],
        [qsTr("Shift+arrow keys"), qsTr("nudge the selection by 10 units")],
        ["Ctrl+A", qsTr("select all keys")],
        ["Esc", qsTr("clear the selection")],
        ["Del", qsTr("remove the selected keys")],
        ["Ctrl+D", qsTr("duplicate the selected keys")],
        [qsTr("Middle button drag, Space+drag"), qsTr("pan the preview")],
        [qsTr("Wheel"), qsTr("zoom around the pointer")],
        [qsTr("Double-click on an empty area"), qsTr("actual size")],
        [qsTr("Ctrl+Z, Ctrl+Shift+Z"), qsTr("undo, redo")],
        ["F5", qsTr("reload the panel")]
    ]

    title: qsTr("Keyboard Shortcuts")
    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(560, parent ? parent.width - 40 : 560)
    height: Math.min(implicitHeight, parent ? parent.height - 40 : implicitHeight)
    modal: true
    focus: true
    standardButtons: Dialog.Close

    ScrollView {
        id: scroll
        anchors.fill: parent
        implicitHeight: table.implicitHeight
        clip: true
        ScrollBar.vertical.policy: table.implicitHeight > scroll.height ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded

        GridLayout {
            id: table
            width: scroll.availableWidth
            columns: 2
            columnSpacing: 16
            rowSpacing: 6

            Repeater {
                model: dialog.entries.length * 2
                delegate: Label {
                    Layout.fillWidth: index % 2 === 1
                    text: dialog.entries[Math.floor(index / 2)][index % 2]
                    font.bold: index % 2 === 0
                    wrapMode: Text.Wrap
                }
            }
        }
    }
}
