import QtQuick 2.15
import QtQuick.Controls 2.15

// A compact text field for a property name or value, framed light blue while
// it has the focus.
TextField {
    id: field

    selectByMouse: true
    leftPadding: 4
    rightPadding: 4
    topPadding: 4
    bottomPadding: 4

    background: Rectangle {
        implicitHeight: 28
        color: "white"
        border.width: field.activeFocus ? 2 : 1
        border.color: field.activeFocus ? "lightblue" : "lightgrey"
    }
}
