import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// Search and replace for the text editor.
Rectangle {
    id: bar

    property alias searchText: searchField.text
    property alias replaceText: replaceField.text
    property alias useRegularExpression: regularExpressionBox.checked
    property alias caseSensitivity: caseBox.checked

    signal searchPrevious()
    signal searchNext()
    signal replace()
    signal replaceAll()
    signal closed()

    function focusSearch() {
        searchField.forceActiveFocus()
        searchField.selectAll()
    }

    color: "#eeeeee"
    implicitHeight: rows.implicitHeight + 8

    component BarButton: ToolButton {
        implicitWidth: 35
        implicitHeight: 35
        padding: 0
        icon.width: 18
        icon.height: 18
        icon.color: "transparent"
        ToolTip.visible: hovered && ToolTip.text !== ""
        ToolTip.delay: 600
    }

    ColumnLayout {
        id: rows

        anchors.fill: parent
        anchors.margins: 4
        spacing: 0

        RowLayout {
            Layout.fillWidth: true
            spacing: 2

            TextField {
                id: searchField
                objectName: "searchField"
                Layout.fillWidth: true
                placeholderText: qsTr("Search")
                selectByMouse: true
                onAccepted: bar.searchNext()
            }
            BarButton {
                objectName: "searchPreviousButton"
                icon.source: "qrc:/images/icons/arrow-left.svg"
                ToolTip.text: qsTr("Previous")
                onClicked: bar.searchPrevious()
            }
            BarButton {
                objectName: "searchNextButton"
                icon.source: "qrc:/images/icons/arrow-right.svg"
                ToolTip.text: qsTr("Next")
                onClicked: bar.searchNext()
            }
            BarButton {
                objectName: "searchCloseButton"
                icon.source: "qrc:/images/icons/close.svg"
                ToolTip.text: qsTr("Close")
                onClicked: bar.closed()
            }
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 2

            TextField {
                id: replaceField
                objectName: "replaceField"
                Layout.fillWidth: true
                placeholderText: qsTr("Replace")
                selectByMouse: true
            }
            BarButton {
                objectName: "replaceButton"
                icon.source: "qrc:/images/icons/replace.svg"
                ToolTip.text: qsTr("Replace")
                onClicked: bar.replace()
            }
            BarButton {
                objectName: "replaceAllButton"
                icon.source: "qrc:/images/icons/replace-all.svg"
                ToolTip.text: qsTr("Replace all")
                onClicked: bar.replaceAll()
            }
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 2

            CheckBox {
                id: regularExpressionBox
                objectName: "regularExpressionBox"
                text: qsTr("Regular expression")
                checked: true
            }
            CheckBox {
                id: caseBox
                objectName: "caseSensitivityBox"
                text: qsTr("Case sensitively")
                checked: true
            }
        }
    }
}
