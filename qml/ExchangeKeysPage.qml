import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// Exchanges the rectangles of two keys.
EditPage {
    id: page

    property int activeSlot: 0
    property alias firstKey: firstSlot.text
    property alias secondKey: secondSlot.text

    title: qsTr("Exchange Keys")

    ColumnLayout {
        width: parent.width
        spacing: 5

        Label {
            text: qsTr("first key")
        }
        KeySlot {
            id: firstSlot
            objectName: "firstKeySlot"
            Layout.fillWidth: true
            active: page.activeSlot === 0
            onClicked: page.activeSlot = 0
        }
        Label {
            text: qsTr("second key")
            Layout.topMargin: 5
        }
        KeySlot {
            id: secondSlot
            objectName: "secondKeySlot"
            Layout.fillWidth: true
            active: page.activeSlot === 1
            onClicked: page.activeSlot = 1
        }
    }

    onKeyPicked: {
        if (!shown)
            return
        if (activeSlot === 0)
            firstSlot.text = key
        else
            secondSlot.text = key
    }

    onApplied: {
        panel.setHighlightPointF(Qt.point(-1, -1))
        if (firstSlot.text !== "" && secondSlot.text !== "") {
            panel.exchangeKeys(firstSlot.text, secondSlot.text)
            edited()
        }
    }

    onPanelFileSwitched: reset()

    onReset: {
        firstSlot.text = ""
        secondSlot.text = ""
        activeSlot = 0
    }
}
