import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Dialogs 1.3
import QtQuick.Layouts 1.15
import "../FileKinds.js" as FileKinds

// A path: a text field and a "..." button that opens a file dialog; the
// chosen file or folder lands in the field as a local path.
RowLayout {
    id: pathField

    // "file" (an existing file), "save" (a new or existing file) or "folder"
    property string mode: "file"
    property alias text: field.text
    property alias field: field
    property alias nameFilters: fileDialog.nameFilters
    property alias dialogTitle: fileDialog.title
    // where the file dialog starts: the skin directory, unless set or asked
    // to start in the documents folder
    property bool startInDocuments: false
    property string startFolder: startInDocuments ? fileDialog.shortcuts.documents
                                 : (rpSettings.skinDirectory !== "" ? utils.localPathToUrl(rpSettings.skinDirectory) : "")
    // set when the caller handles the chosen path itself
    property bool confirmChoice: false

    signal chosen(string path)
    signal editingFinished()

    spacing: 4

    function openDialog() {
        if (startFolder !== "")
            fileDialog.folder = startFolder
        fileDialog.open()
    }

    TextField {
        id: field
        objectName: pathField.objectName !== "" ? pathField.objectName + "Text" : ""
        Layout.fillWidth: true
        selectByMouse: true
        onEditingFinished: pathField.editingFinished()
    }
    Button {
        objectName: pathField.objectName !== "" ? pathField.objectName + "Button" : ""
        text: "..."
        implicitWidth: 40
        onClicked: pathField.openDialog()
    }

    FileDialog {
        id: fileDialog
        selectFolder: pathField.mode === "folder"
        selectExisting: pathField.mode !== "save"
        onAccepted: {
            var path = utils.urlToLocalPath(fileUrl.toString())
            // a new file gets the suffix of its filter when none was typed
            if (pathField.mode === "save")
                path = FileKinds.withFilterSuffix(path, nameFilters, selectedNameFilter)
            if (!pathField.confirmChoice)
                field.text = path
            pathField.chosen(path)
        }
    }
}
