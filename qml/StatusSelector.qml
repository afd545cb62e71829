import QtQuick 2.15
import QtQuick.Controls 2.15

// Chooses the panel's status, 0 to 99; the keys show the styles their
// STAT_STYLE names for the chosen status.
ComboBox {
    id: box

    function statusText(status) {
        var text = "S" + status
        if (status === 0)
            text += qsTr(" no status")
        else if (status === 4)
            text += qsTr(" candiate")
        return text
    }

    implicitWidth: 100
    implicitHeight: 35
    topInset: 0
    bottomInset: 0
    model: 100
    displayText: "S" + currentIndex

    delegate: ItemDelegate {
        width: box.popup.width
        text: box.statusText(index)
        highlighted: box.highlightedIndex === index
    }

    popup.width: Math.max(box.width, 160)

    onCurrentIndexChanged: panel.currentStatus = currentIndex
}
