import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// Removes the selected keys (all keys when none is selected).
EditPage {
    id: page

    title: qsTr("Remove Keys")

    ColumnLayout {
        width: parent.width
        spacing: 5

        Label {
            text: qsTr("keys (leave empty to remove all)")
            Layout.fillWidth: true
            wrapMode: Text.Wrap
        }
        SelectedKeysLabel {
            id: selectedKeys
            objectName: "removeSelectedKeys"
            Layout.fillWidth: true
        }
    }

    onKeyPicked: {
        if (shown)
            selectedKeys.newSelectedKey(key)
    }

    onApplied: {
        panel.setHighlightPointF(Qt.point(0, 0))
        panel.removeKeys(selectedKeys.getKeysList())
        edited()
    }

    onReset: selectedKeys.reset()

    // cleared first, then the current key is preselected (as on the adjust page)
    StackView.onActivating: {
        reset()
        selectedKeys.newSelectedKey(panel.currentKey)
    }
}
