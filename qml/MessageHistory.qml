import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "MessageStyle.js" as MessageStyle
import "fontawesome/Icons.js" as Icons

// The recent messages, newest first, each with its time; opened from the
// status line. The list keeps what the bar has already let go of.
Popup {
    id: popup

    // the message list ("messages" in the scene)
    property var model: messages
    readonly property alias list: list

    parent: Overlay.overlay
    x: parent ? parent.width - width - 10 : 0
    y: parent ? parent.height - height - 50 : 0
    width: parent ? Math.min(620, parent.width - 20) : 620
    height: parent ? Math.min(360, parent.height - 80) : 360
    padding: 8
    modal: false
    focus: true
    // a click elsewhere keeps it open: the author may read it while working
    closePolicy: Popup.CloseOnEscape

    ColumnLayout {
        anchors.fill: parent
        spacing: 4

        RowLayout {
            Layout.fillWidth: true

            Label {
                Layout.fillWidth: true
                text: qsTr("Messages")
                font.bold: true
                font.pixelSize: 16
            }
            Button {
                objectName: "messageHistoryClear"
                text: qsTr("Clear")
                flat: true
                enabled: list.count > 0
                onClicked: popup.model.clear()
            }
            IconToolButton {
                glyph: Icons.fa_times
                toolTipText: qsTr("Close")
                onClicked: popup.close()
            }
        }

        ListView {
            id: list
            objectName: "messageHistoryList"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            model: popup.model
            spacing: 2
            ScrollBar.vertical: ScrollBar {}

            delegate: Rectangle {
                width: list.width - 10
                height: row.implicitHeight + 8
                radius: 3
                color: index % 2 === 0 ? "#fafafa" : "white"

                RowLayout {
                    id: row
                    anchors.fill: parent
                    anchors.margins: 4
                    spacing: 8

                    Label {
                        Layout.alignment: Qt.AlignTop
                        text: MessageStyle.glyph(model.severity)
                        font.family: Icons.family
                        font.styleName: Icons.styleName
                        font.pixelSize: 14
                        color: MessageStyle.color(model.severity)
                    }
                    Label {
                        Layout.alignment: Qt.AlignTop
                        text: Qt.formatTime(model.time, "hh:mm:ss")
                        color: "grey"
                    }
                    Label {
                        objectName: "messageHistoryText"
                        Layout.fillWidth: true
                        text: model.text
                        wrapMode: Text.WrapAnywhere
                    }
                }
            }

            Label {
                anchors.centerIn: parent
                visible: list.count === 0
                text: qsTr("No messages yet.")
                color: "grey"
            }
        }
    }
}
