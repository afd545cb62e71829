import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// Aligns the selected keys (all keys when none is selected); every button
// aligns at once.
EditPage {
    id: page
    selection: selectedKeys

    title: qsTr("Align Keys")

    // the button texts in the order of the panel's align types 0 to 7
    readonly property var alignTexts: [
        qsTr("Align left"), qsTr("Align top"), qsTr("Align right"), qsTr("Align bottom"),
        qsTr("Align center"), qsTr("Align middle"),
        qsTr("Distribute vertically"), qsTr("Distribute horizontally")
    ]

    function align(type) {
        panel.setHighlightPointF(Qt.point(0, 0))
        panel.alignKeys(selectedKeys.getKeysList(), type)
        edited()
    }

    ScrollView {
        anchors.fill: parent
        contentWidth: availableWidth
        clip: true

        ColumnLayout {
            width: parent.width
            spacing: 5

            Label {
                text: qsTr("keys (leave empty to select all)")
                Layout.fillWidth: true
                wrapMode: Text.Wrap
            }
            SelectedKeysLabel {
                id: selectedKeys
                objectName: "alignSelectedKeys"
                Layout.fillWidth: true
            }
            Repeater {
                model: page.alignTexts
                delegate: ToolButton {
                    objectName: "alignButton" + index
                    text: modelData
                    Layout.fillWidth: true
                    Layout.preferredHeight: 40
                    onClicked: page.align(index)
                }
            }
        }
    }

    onKeyPicked: {
        if (shown)
            selectedKeys.newSelectedKey(key)
    }

    onPanelFileSwitched: selectedKeys.reset()

    onReset: selectedKeys.reset()

    // cleared first, then the current key is preselected (as on the adjust page)
    StackView.onActivating: {
        reset()
        // the preview's selection; else the key clicked last
        if (!takePreviewSelection() || selectedKeys.count === 0)
            selectedKeys.newSelectedKey(panel.currentKey)
    }
}
