import QtQuick 2.15
import QtQuick.Controls 2.15

// One key of the exchange page; a click makes it the slot that the next
// picked key goes to.
Label {
    id: root

    property bool active: false
    signal clicked()

    padding: 5
    elide: Text.ElideRight

    background: Rectangle {
        border.color: root.active ? "lightblue" : "lightgrey"
        border.width: 2
        color: root.active ? Qt.lighter("lightblue", 1.15) : "transparent"
    }

    MouseArea {
        anchors.fill: parent
        onClicked: root.clicked()
    }
}
