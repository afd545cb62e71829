import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "FieldRules.js" as FieldRules

// Splits a tile sheet into numbered images and joins images into a sheet.
ToolDialog {
    id: dialog

    // set by the first Split or Join: empty fields are pointed out from then on
    property bool splitAttempted: false
    property bool joinAttempted: false
    readonly property var splitProblems: [FieldRules.fileProblem(splitTil.text),
                                          FieldRules.directoryProblem(splitTarget.text)]
    readonly property var joinProblems: [FieldRules.directoryProblem(joinSource.text),
                                         FieldRules.fileProblem(joinTil.text),
                                         FieldRules.numberProblem(startingNumber.text, 0, 1000000)]

    // Each false, with the fields saying why, when the tool would refuse them.
    function split() {
        splitAttempted = true
        if (!FieldRules.allClear(splitProblems))
            return false
        tileTool.split(splitTil.text, splitTarget.text)
        return true
    }

    function join() {
        joinAttempted = true
        if (!FieldRules.allClear(joinProblems))
            return false
        tileTool.join(joinSource.text, joinTil.text, verticalOrder.checked, startingNumber.number)
        return true
    }

    onOpened: {
        splitAttempted = false
        joinAttempted = false
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
            FieldMessage { objectName: "splitTilProblem"; problem: dialog.splitAttempted ? dialog.splitProblems[0] : "" }
            Label { text: qsTr("target directory for split") }
            PathField { id: splitTarget; objectName: "splitTarget"; mode: "folder"; Layout.fillWidth: true }
            FieldMessage { objectName: "splitTargetProblem"; problem: dialog.splitAttempted ? dialog.splitProblems[1] : "" }
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
            FieldMessage { objectName: "joinSourceProblem"; problem: dialog.joinAttempted ? dialog.joinProblems[0] : "" }
            Label { text: qsTr("til file for join") }
            PathField {
                id: joinTil
                objectName: "joinTil"
                Layout.fillWidth: true
                mode: "save"
                nameFilters: [qsTr("til file (*.til)")]
                startInDocuments: true
            }
            FieldMessage { objectName: "joinTilProblem"; problem: dialog.joinAttempted ? dialog.joinProblems[1] : "" }
            Label { text: qsTr("Starting number") }
            NumberField { id: startingNumber; objectName: "startingNumber"; text: "1"; minimum: 0; maximum: 1000000 }
            FieldMessage { objectName: "startingNumberProblem"; problem: dialog.joinProblems[2] }
            CheckBox { id: verticalOrder; objectName: "verticalOrder"; text: qsTr("Vertical order"); checked: true }
            Button {
                objectName: "joinButton"
                text: qsTr("Join")
                onClicked: dialog.join()
            }
        }
    }
}
