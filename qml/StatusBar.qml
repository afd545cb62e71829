import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "fontawesome/Icons.js" as Icons

// Resolution, device resolution and panel size of the preview, then the
// latest message and the button that opens the message history.
RowLayout {
    id: bar

    readonly property alias messageBar: messageBar

    signal historyRequested()

    spacing: 8

    component Separator: Rectangle {
        implicitWidth: 1
        implicitHeight: 20
        color: "lightgrey"
    }

    component NumberField: TextField {
        text: "0"
        selectByMouse: true
        implicitWidth: 70
        topPadding: 4
        bottomPadding: 4
        validator: IntValidator { bottom: 0 }
    }

    Label {
        text: qsTr("Resolution: ")
    }
    NumberField {
        objectName: "resolutionField"
        onEditingFinished: panel.resolution = parseInt(text, 10)
    }
    Separator {}
    Label {
        text: qsTr("Device Resolution: ")
    }
    NumberField {
        objectName: "deviceResolutionField"
        onEditingFinished: panel.deviceResolution = parseInt(text, 10)
    }
    Separator {}
    Label {
        objectName: "panelSizeLabel"
        text: qsTr("Panel Size: %1, %2").arg(panel.panelSize.width).arg(panel.panelSize.height)
    }
    Separator {}
    MessageBar {
        id: messageBar
        objectName: "messageBar"
        Layout.fillWidth: true
        Layout.minimumWidth: 120
        onHistoryRequested: bar.historyRequested()
    }
    IconToolButton {
        objectName: "messageHistoryButton"
        glyph: Icons.fa_history
        toolTipText: qsTr("Messages")
        implicitHeight: 32
        onClicked: bar.historyRequested()
    }
}
