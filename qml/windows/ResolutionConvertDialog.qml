import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// Converts the tile files and sheets of a directory to another resolution.
ToolDialog {
    id: dialog

    function convert() {
        resolutionConverter.convert(sourceDir.text, targetDir.text, sourceResolution.number,
                                    targetResolution.number, innerRectOnly.checked)
    }

    title: qsTr("Resource Resolution Convert")

    ColumnLayout {
        width: parent.width
        spacing: 6

        Label { text: qsTr("source directory") }
        PathField { id: sourceDir; objectName: "convertSource"; mode: "folder"; Layout.fillWidth: true }
        Label { text: qsTr("target directory") }
        PathField { id: targetDir; objectName: "convertTarget"; mode: "folder"; Layout.fillWidth: true }

        Label { text: qsTr("source resolution") }
        NumberField {
            id: sourceResolution
            objectName: "convertSourceResolution"
            Layout.preferredWidth: 300
            text: "1080"
            minimum: 320
            maximum: 100000
        }
        Label { text: qsTr("target resolution") }
        NumberField {
            id: targetResolution
            objectName: "convertTargetResolution"
            Layout.preferredWidth: 300
            text: "720"
            minimum: 320
            maximum: 100000
        }
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
