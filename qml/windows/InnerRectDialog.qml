import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// Sets the inner rectangles of the tiles of a tile file.
ToolDialog {
    id: dialog

    property string loadedPath

    function chooseTilFile(path) {
        tilFile.text = path
        loadedPath = path
        innerRectImage.setTilFile(path)
    }

    title: qsTr("Inner Rect Tool")
    standardButtons: Dialog.Close

    ColumnLayout {
        anchors.fill: parent
        spacing: 6

        RowLayout {
            Layout.fillWidth: true
            Label { text: qsTr("Choose a til file: ") }
            PathField {
                id: tilFile
                objectName: "innerRectTil"
                Layout.fillWidth: true
                confirmChoice: true
                nameFilters: [qsTr("til file (*.til)")]
                onChosen: dialog.chooseTilFile(path)
                // a typed path is loaded once, not again on every focus change
                onEditingFinished: {
                    if (text !== "" && text !== dialog.loadedPath)
                        dialog.chooseTilFile(text)
                }
            }
        }

        InnerRectImage {
            id: innerRectImage
            objectName: "innerRectImage"
            Layout.fillWidth: true
            Layout.fillHeight: true
        }
    }
}
