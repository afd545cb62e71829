import QtQuick 2.15
import QtQuick.Controls 2.15
import "../"

// A square showing a colour; a click opens the colour picker with it, and
// its Ok shows and reports the new colour.
Rectangle {
    id: button

    signal picked(color chosen)

    implicitWidth: 30
    implicitHeight: 30
    border.color: "black"
    border.width: 1

    function pick() {
        picker.currentColor = button.color
        picker.open()
    }

    MouseArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
        onClicked: button.pick()
    }

    CustomColorDialog {
        id: picker
        objectName: button.objectName !== "" ? button.objectName + "Picker" : ""
        onAccepted: {
            button.color = currentColor
            button.picked(currentColor)
        }
    }
}
