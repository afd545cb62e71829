import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "fontawesome/Icons.js" as Icons

// Resolution, device resolution and panel size of the preview, the latest
// message and the button that opens the message history, and how many
// problems the open panel has.
RowLayout {
    id: bar

    readonly property alias messageBar: messageBar
    property int errorCount: 0
    property int warningCount: 0
    property int infoCount: 0

    signal historyRequested()

    spacing: 8

    component Separator: Rectangle {
        implicitWidth: 1
        implicitHeight: 20
        color: "lightgrey"
    }

    // (an inline component does not see the file's script imports: the
    // icon font is handed in by the uses below)
    component ProblemCount: Row {
        property alias glyph: glyphLabel.text
        property alias glyphFont: glyphLabel.font
        property int count
        property color color
        spacing: 4
        Label {
            id: glyphLabel
            color: parent.color
        }
        Label {
            text: parent.count
            color: parent.color
        }
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
    ProblemCount {
        objectName: "errorCountLabel"
        glyph: Icons.fa_times_circle
        glyphFont.family: Icons.family
        glyphFont.styleName: Icons.styleName
        count: bar.errorCount
        color: count > 0 ? "#d32f2f" : "grey"
    }
    ProblemCount {
        objectName: "warningCountLabel"
        glyph: Icons.fa_exclamation_triangle
        glyphFont.family: Icons.family
        glyphFont.styleName: Icons.styleName
        count: bar.warningCount
        color: count > 0 ? "#b28704" : "grey"
    }
    ProblemCount {
        objectName: "infoCountLabel"
        glyph: Icons.fa_info_circle
        glyphFont.family: Icons.family
        glyphFont.styleName: Icons.styleName
        count: bar.infoCount
        color: count > 0 ? "#1976d2" : "grey"
    }
}
