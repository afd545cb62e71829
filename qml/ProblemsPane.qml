import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "fontawesome/Icons.js" as Icons

// What the skin checker finds wrong with the open panel and the files it
// reaches, worst first. A click on a problem asks for its file at its line
// (and its key, when it is about one) through `activated`.
Item {
    id: pane

    property var model
    readonly property alias list: list

    signal activated(string file, int line, string key)

    // severity 0 info, 1 warning, 2 error
    function glyph(severity) {
        return severity === 2 ? Icons.fa_times_circle
                              : (severity === 1 ? Icons.fa_exclamation_triangle : Icons.fa_info_circle)
    }

    function glyphColor(severity) {
        return severity === 2 ? "#d32f2f" : (severity === 1 ? "#f9a825" : "#1976d2")
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 2

        Label {
            text: qsTr("Problems")
            color: "grey"
            leftPadding: 2
        }

        ListView {
            id: list
            objectName: "problemsList"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            visible: count > 0
            model: pane.model
            ScrollBar.vertical: ScrollBar {}

            delegate: ItemDelegate {
                objectName: "problem" + index
                width: ListView.view.width
                padding: 3
                onClicked: pane.activated(model.file, model.line, model.key)

                contentItem: RowLayout {
                    spacing: 6
                    Label {
                        Layout.alignment: Qt.AlignTop
                        text: pane.glyph(model.severity)
                        color: pane.glyphColor(model.severity)
                        font.family: Icons.family
                        font.styleName: Icons.styleName
                    }
                    Label {
                        Layout.fillWidth: true
                        text: "<font color=\"grey\">" + model.fileName + ":" + model.line + "</font> "
                              + model.message.replace(/&/g, "&amp;").replace(/</g, "&lt;")
                        textFormat: Text.StyledText
                        wrapMode: Text.Wrap
                    }
                }
            }
        }

        Label {
            objectName: "noProblemsLabel"
            visible: list.count === 0
            text: qsTr("No problems found.")
            color: "grey"
            leftPadding: 2
            Layout.fillHeight: true
            Layout.alignment: Qt.AlignTop
        }
    }
}
