import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "KeyFields.js" as KeyFields

// Moves the selected keys (all keys when none is selected) by a distance.
EditPage {
    id: page
    selection: selectedKeys

    title: qsTr("Move Keys")

    ColumnLayout {
        width: parent.width
        spacing: 5

        Label {
            text: qsTr("keys (leave empty to move all)")
            Layout.fillWidth: true
            wrapMode: Text.Wrap
        }
        SelectedKeysLabel {
            id: selectedKeys
            objectName: "moveSelectedKeys"
            Layout.fillWidth: true
        }
        Label {
            text: qsTr("distance in the x")
            Layout.topMargin: 5
        }
        TextField {
            id: xField
            objectName: "moveXField"
            Layout.fillWidth: true
            text: "0"
            selectByMouse: true
            validator: IntValidator {}
        }
        Label {
            text: qsTr("distance in the y")
        }
        TextField {
            id: yField
            objectName: "moveYField"
            Layout.fillWidth: true
            text: "0"
            selectByMouse: true
            validator: IntValidator {}
        }
    }

    // picks count also while the page is hidden
    onKeyPicked: selectedKeys.newSelectedKey(key)

    onApplied: {
        panel.setHighlightPointF(Qt.point(-1, -1))
        panel.moveKeys(selectedKeys.getKeysList(),
                       KeyFields.numberOrZero(xField.text), KeyFields.numberOrZero(yField.text))
        edited()
    }

    onPanelFileSwitched: selectedKeys.reset()

    onReset: {
        selectedKeys.reset()
        xField.text = ""
        yField.text = ""
    }

    StackView.onActivating: {
        reset()
        takePreviewSelection()
    }
}
