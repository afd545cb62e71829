import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "FieldRules.js" as FieldRules

// Converts the tile files and sheets of a directory to another resolution.
ToolDialog {
    id: dialog

    // set by the first Convert: empty fields are pointed out from then on
    property bool attempted: false
    readonly property var problems: [FieldRules.directoryProblem(sourceDir.text),
                                     FieldRules.directoryProblem(targetDir.text),
                                     FieldRules.resolutionProblem(sourceResolution.text),
                                     FieldRules.resolutionProblem(targetResolution.text)]

    // False, with the fields saying why, when the converter would refuse them.
    function convert() {
        attempted = true
        if (!FieldRules.allClear(problems))
            return false
        resolutionConverter.convert(sourceDir.text, targetDir.text, sourceResolution.number,
                                    targetResolution.number, innerRectOnly.checked)
        return true
    }

    onOpened: attempted = false

    title: qsTr("Resource Resolution Convert")

    ColumnLayout {
        width: parent.width
        spacing: 6

        Label { text: qsTr("source directory") }
        PathField { id: sourceDir; objectName: "convertSource"; mode: "folder"; Layout.fillWidth: true }
        FieldMessage { objectName: "convertSourceProblem"; problem: dialog.attempted ? dialog.problems[0] : "" }
        Label { text: qsTr("target directory") }
        PathField { id: targetDir; objectName: "convertTarget"; mode: "folder"; Layout.fillWidth: true }
        FieldMessage { objectName: "convertTargetProblem"; problem: dialog.attempted ? dialog.problems[1] : "" }

        Label { text: qsTr("source resolution") }
        NumberField {
            id: sourceResolution
            objectName: "convertSourceResolution"
            Layout.preferredWidth: 300
            text: "1080"
            minimum: FieldRules.minimumResolution
            maximum: FieldRules.maximumResolution
        }
        FieldMessage { objectName: "convertSourceResolutionProblem"; problem: dialog.problems[2] }
        Label { text: qsTr("target resolution") }
        NumberField {
            id: targetResolution
            objectName: "convertTargetResolution"
            Layout.preferredWidth: 300
            text: "720"
            minimum: FieldRules.minimumResolution
            maximum: FieldRules.maximumResolution
        }
        FieldMessage { objectName: "convertTargetResolutionProblem"; problem: dialog.problems[3] }
        CheckBox { id: innerRectOnly; objectName: "innerRectOnly"; text: qsTr("Inner Rect Only") }
    }

    footer: DialogButtonBox {
        Button {
            objectName: "convertButton"
            text: qsTr("Convert")
            DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
            onClicked: dialog.convert()
        }
        Button {
            text: qsTr("Close")
            DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
        }
    }
}
