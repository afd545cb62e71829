import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// Resolution, device resolution and panel size of the preview.
RowLayout {
    id: bar

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
    Item {
        Layout.fillWidth: true
    }
}
