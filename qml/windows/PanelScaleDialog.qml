import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "ScaleRule.js" as ScaleRule
import "FieldRules.js" as FieldRules

// Scales the geometry of the panel and candidate files of a directory.
ToolDialog {
    id: dialog

    // set by the first Scale: empty fields are pointed out from then on
    property bool attempted: false
    readonly property string horizontalProblem: FieldRules.resolutionProblem(hSource.text)
                                                 || FieldRules.resolutionProblem(hTarget.text)
    readonly property string verticalProblem: lockRatio.checked ? ""
                                              : (FieldRules.resolutionProblem(vSource.text)
                                                 || FieldRules.resolutionProblem(vTarget.text))
    readonly property var problems: [FieldRules.directoryProblem(sourceDir.text),
                                     FieldRules.directoryProblem(targetDir.text),
                                     horizontalProblem, verticalProblem]

    // False, with the fields saying why, when the scaler would refuse them.
    function scale() {
        attempted = true
        if (!FieldRules.allClear(problems))
            return false
        var a = ScaleRule.scaleArguments(sourceDir.text, targetDir.text, lockRatio.checked,
                                         hSource.text, hTarget.text, vSource.text, vTarget.text)
        if (a.length === 4)
            panelScaler.scale(a[0], a[1], a[2], a[3])
        else
            panelScaler.scale(a[0], a[1], a[2], a[3], a[4], a[5])
        return true
    }

    onOpened: attempted = false

    title: qsTr("Panel Scale")

    ColumnLayout {
        width: parent.width
        spacing: 6

        Label { text: qsTr("source directory") }
        PathField { id: sourceDir; objectName: "scaleSource"; mode: "folder"; Layout.fillWidth: true }
        FieldMessage { objectName: "scaleSourceProblem"; problem: dialog.attempted ? dialog.problems[0] : "" }
        Label { text: qsTr("target directory") }
        PathField { id: targetDir; objectName: "scaleTarget"; mode: "folder"; Layout.fillWidth: true }
        FieldMessage { objectName: "scaleTargetProblem"; problem: dialog.attempted ? dialog.problems[1] : "" }

        CheckBox { id: lockRatio; objectName: "lockRatio"; text: qsTr("lock ratio") }

        Label { text: qsTr("horizontal: "); visible: !lockRatio.checked; font.bold: true }
        GridLayout {
            Layout.fillWidth: true
            columns: 2
            Label { text: qsTr("source resolution") }
            Label { text: qsTr("target resolution") }
            NumberField { id: hSource; objectName: "hSourceResolution"; text: "1080"; Layout.fillWidth: true; minimum: FieldRules.minimumResolution; maximum: FieldRules.maximumResolution }
            NumberField { id: hTarget; objectName: "hTargetResolution"; text: "720"; Layout.fillWidth: true; minimum: FieldRules.minimumResolution; maximum: FieldRules.maximumResolution }
        }
        FieldMessage { objectName: "horizontalProblem"; problem: dialog.horizontalProblem }

        Label { text: qsTr("vertical: "); visible: !lockRatio.checked; font.bold: true }
        GridLayout {
            Layout.fillWidth: true
            visible: !lockRatio.checked
            columns: 2
            Label { text: qsTr("source resolution") }
            Label { text: qsTr("target resolution") }
            NumberField { id: vSource; objectName: "vSourceResolution"; text: "1080"; Layout.fillWidth: true; minimum: FieldRules.minimumResolution; maximum: FieldRules.maximumResolution }
            NumberField { id: vTarget; objectName: "vTargetResolution"; text: "720"; Layout.fillWidth: true; minimum: FieldRules.minimumResolution; maximum: FieldRules.maximumResolution }
        }
        FieldMessage { objectName: "verticalProblem"; problem: dialog.verticalProblem }
    }

    footer: DialogButtonBox {
        Button {
            objectName: "scaleButton"
            text: qsTr("Scale")
            DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
            onClicked: dialog.scale()
        }
        Button {
            text: qsTr("Close")
            DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
        }
    }
}
