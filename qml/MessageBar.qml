import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "MessageStyle.js" as MessageStyle
import "fontawesome/Icons.js" as Icons

// The latest message of the message list, in the status line: what a save,
// an export, an import or a tool run came to. Errors and warnings stay until
// the author closes them; successes and infos go by themselves. The place
// stays reserved while nothing is shown, so the work area never jumps.
Item {
    id: bar

    // the message list ("messages" in the scene)
    property var model: messages
    property int severity: 0
    property string text
    property string file
    property bool shown: false
    // how long a success or an info stays, in milliseconds
    property int hideDelay: 6000

    signal historyRequested()

    function show(severity, text, file) {
        bar.severity = MessageStyle.clamp(severity)
        bar.text = text
        bar.file = file
        shown = true
        if (MessageStyle.staysUntilDismissed(bar.severity))
            hideTimer.stop()
        else
            hideTimer.restart()
    }

    function dismiss() {
        hideTimer.stop()
        shown = false
    }

    implicitHeight: 32
    implicitWidth: 200

    Connections {
        target: bar.model
        function onPosted(severity, text, file) {
            bar.show(severity, text, file)
        }
    }

    Timer {
        id: hideTimer
        interval: bar.hideDelay
        onTriggered: bar.shown = false
    }

    Rectangle {
        id: frame
        anchors.fill: parent
        visible: bar.shown
        radius: 4
        color: MessageStyle.tint(bar.severity)
        border.color: MessageStyle.color(bar.severity)

        RowLayout {
            anchors.fill: parent
            anchors.leftMargin: 8
            spacing: 6

            Label {
                objectName: "messageIcon"
                text: MessageStyle.glyph(bar.severity)
                font.family: Icons.family
                font.styleName: Icons.styleName
                font.pixelSize: 15
                color: MessageStyle.color(bar.severity)
            }
            Label {
                id: messageText
                objectName: "messageText"
                Layout.fillWidth: true
                text: bar.text
                elide: Text.ElideMiddle
                maximumLineCount: 1
                color: "#212121"

                // the whole text when it does not fit
                MouseArea {
                    id: textHover
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton
                    onClicked: bar.historyRequested()
                }
                ToolTip.visible: textHover.containsMouse && messageText.truncated
                ToolTip.delay: 500
                ToolTip.text: bar.text
            }
            IconToolButton {
                objectName: "messageCloseButton"
                glyph: Icons.fa_times
                toolTipText: qsTr("Close")
                implicitWidth: 30
                implicitHeight: 30
                font.pixelSize: 13
                onClicked: bar.dismiss()
            }
        }
    }
}
