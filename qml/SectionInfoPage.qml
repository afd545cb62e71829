import QtQuick 2.15
import QtQuick.Controls 2.15

// The properties of the panel's current section, one line each; the bottom
// page of the function area.
Page {
    id: page

    padding: 10

    ListView {
        id: list
        objectName: "sectionPropertiesList"
        anchors.fill: parent
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: panel.currentSectionProperties
        ScrollBar.vertical: ScrollBar {}

        header: Label {
            objectName: "sectionHeader"
            width: list.width
            height: visible ? implicitHeight : 0
            visible: panel.currentSectionName !== ""
            text: "[" + panel.currentSectionName + "]"
            font.bold: true
            bottomPadding: 5
            elide: Text.ElideRight
        }

        delegate: Label {
            width: list.width - 8
            text: modelData
            wrapMode: Text.WrapAnywhere
            topPadding: 2
            bottomPadding: 2
        }
    }

    // Until a key is picked the page shows the panel's own information
    // (PANEL, CAND and HINT), when the settings ask for it.
    Flickable {
        anchors.fill: parent
        visible: panel.currentSectionName === "" && list.count === 0
        clip: true
        contentHeight: infoColumn.height
        boundsBehavior: Flickable.StopAtBounds

        Column {
            id: infoColumn
            width: parent.width
            spacing: 10

            Label {
                objectName: "basicInformation"
                width: parent.width
                visible: rpSettings.displayPanelInfo && text !== ""
                text: panel.basicInfomation.trim()
                wrapMode: Text.WrapAnywhere
            }
            Label {
                width: parent.width
                text: qsTr("Click a key on the preview to see its properties here.")
                wrapMode: Text.Wrap
                color: "grey"
            }
        }
    }
}
