import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// Splits a tile sheet into numbered images and joins images into a sheet.
ToolDialog {
    id: dialog

    function split() {
        tileTool.split(splitTil.text, splitTarget.text)
    }

    function join() {
        tileTool.join(joinSource.text, joinTil.text, verticalOrder.checked, startingNumber.number)
    }

    title: qsTr("Tile Tool")
    standardButtons: Dialog.Close

    ScrollView {
        id: scroll
        anchors.fill: parent
        clip: true
        contentWidth: availableWidth
        ScrollBar.horizontal.policy: ScrollBar.AlwaysOff

        ColumnLayout {
            width: scroll.availableWidth - 14
            spacing: 2

            Label { text: qsTr("til file for split") }
            PathField {
                id: splitTil
                objectName: "splitTil"
                Layout.fillWidth: true
                nameFilters: [qsTr("til file (*.til)")]
            }
            Label { text: qsTr("target directory for split") }
            PathField { id: splitTarget; objectName: "splitTarget"; mode: "folder"; Layout.fillWidth: true }
            Button {
                objectName: "splitButton"
                text: qsTr("Split")
                onClicked: dialog.split()
            }

            Rectangle {
                Layout.fillWidth: true
                Layout.topMargin: 8
                Layout.bottomMargin: 8
                implicitHeight: 1
                color: "grey"
            }

            Label { text: qsTr("source directory for join") }
            PathField { id: joinSource; objectName: "joinSource"; mode: "folder"; Layout.fillWidth: true }
            Label { text: qsTr("til file for join") }
            PathField {
                id: joinTil
                objectName: "joinTil"
                Layout.fillWidth: true
                mode: "save"
                nameFilters: [qsTr("til file (*.til)")]
                startInDocuments: true
            }
            Label { text: qsTr("Starting number") }
            NumberField { id: startingNumber; objectName: "startingNumber"; text: "1"; minimum: 0 }
            CheckBox { id: verticalOrder; objectName: "verticalOrder"; text: qsTr("Vertical order"); checked: true }
            Button {
                objectName: "joinButton"
                text: qsTr("Join")
                onClicked: dialog.join()
            }
        }
    }
}
