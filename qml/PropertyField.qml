import QtQuick 2.15
import QtQuick.Controls 2.15

// A compact text field for a property name or value, framed light blue while
// it has the focus.
TextField {
    id: field

    selectByMouse: true
    // long property names fit the narrow column better a little smaller
    font.pixelSize: fontProbe.fontInfo.pixelSize * 0.9
    leftPadding: 3
    rightPadding: 3
    topPadding: 4
    bottomPadding: 4

    // a field without the focus shows the beginning of its text
    onTextChanged: if (!activeFocus) cursorPosition = 0
    onActiveFocusChanged: if (!activeFocus) cursorPosition = 0

    Text {
        id: fontProbe
        visible: false
    }

    background: Rectangle {
        implicitHeight: 28
        color: "white"
        border.width: field.activeFocus ? 2 : 1
        border.color: field.activeFocus ? "lightblue" : "lightgrey"
    }
}
