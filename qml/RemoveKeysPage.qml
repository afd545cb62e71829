import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// Removes the selected keys (all keys when none is selected).
EditPage {
    id: page
    selection: selectedKeys

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

    ConfirmDialog {
        id: removeAllDialog
        objectName: "removeAllDialog"
        title: qsTr("Remove All Keys")
        acceptText: qsTr("Remove All")
        onAccepted: page.remove([])
    }

    onKeyPicked: {
        if (shown)
            selectedKeys.newSelectedKey(key)
    }

    function remove(keys) {
        panel.setHighlightPointF(Qt.point(0, 0))
        panel.removeKeys(keys)
        edited()
    }

    // An empty selection removes every key: the author says yes first.
    onApplied: {
        var keys = selectedKeys.getKeysList()
        if (keys.length > 0) {
            remove(keys)
            return
        }
        var count = utils.keyCount(panel.currentPanelFile)
        if (count === 0) {
            messages.post(0, qsTr("The panel has no keys to remove."), panel.currentPanelFile)
            return
        }
        removeAllDialog.text = qsTr("No key is selected, so all %1 keys of the panel will be removed. Undo brings them back.").arg(count)
        removeAllDialog.open()
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
