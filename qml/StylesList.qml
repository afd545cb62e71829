import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtQuick.Window 2.15

// The styles of the loaded skin, each drawn normal and highlighted over a
// checkerboard, with a scale and a search by style number.
ColumnLayout {
    id: root

    property alias scaleFactor: scaleSlider.value
    property alias currentIndex: list.currentIndex
    // Part of every picture's address: a new style table or another skin
    // gives the pictures new addresses, so that they are asked for again
    // instead of showing the old ones under the same number.
    property int generation: 0

    // the address of a style's normal ("nm") or highlighted ("hl") picture
    function pictureSource(state, number) {
        return "image://styles/" + state + "/" + number + "/" + generation
    }

    Connections {
        target: panel
        function onStyleNumbersChanged() {
            ++root.generation
        }
        function onCurrentPanelFileChanged() {
            ++root.generation
        }
    }

    // the first row whose style number is exactly the text, or -1
    function rowOf(number) {
        var numbers = panel.styleNumbers
        for (var i = 0; i < numbers.length; ++i)
            if (String(numbers[i]) === number)
                return i
        return -1
    }

    spacing: 5

    RowLayout {
        Layout.fillWidth: true
        spacing: 2

        Label {
            text: qsTr("Scale: ")
        }
        Slider {
            id: scaleSlider
            objectName: "styleScaleSlider"
            Layout.fillWidth: true
            from: 0.1
            to: 4.0
            stepSize: 0.1
            value: 1.0
        }
        Label {
            text: scaleSlider.value.toFixed(1)
        }
    }

    ListView {
        id: list
        objectName: "stylesListView"
        Layout.fillWidth: true
        Layout.fillHeight: true
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: panel.styleNumbers
        highlightMoveDuration: 250
        highlightFollowsCurrentItem: true
        headerPositioning: ListView.OverlayHeader
        ScrollBar.vertical: ScrollBar {}

        highlight: Rectangle {
            visible: list.currentIndex >= 0
            color: "lightblue"
            opacity: 0.5
        }

        header: Rectangle {
            z: 2
            width: list.width
            height: 24
            color: "white"
            Row {
                anchors.fill: parent
                Label { width: 40; height: parent.height; verticalAlignment: Text.AlignVCenter; text: qsTr("No."); font.bold: true }
                Label { width: (parent.width - 40) / 2; height: parent.height; verticalAlignment: Text.AlignVCenter; horizontalAlignment: Text.AlignHCenter; text: qsTr("Normal"); font.bold: true }
                Label { width: (parent.width - 40) / 2; height: parent.height; verticalAlignment: Text.AlignVCenter; horizontalAlignment: Text.AlignHCenter; text: qsTr("Highlight"); font.bold: true }
            }
        }

        delegate: Item {
            width: list.width
            height: 50

            Row {
                anchors.fill: parent

                Label {
                    width: 40
                    height: parent.height
                    verticalAlignment: Text.AlignVCenter
                    text: modelData
                }
                StyleCell {
                    objectName: "normalStyleCell" + index
                    width: (parent.width - 40) / 2
                    height: parent.height
                    source: root.pictureSource("nm", modelData)
                    scaleFactor: scaleSlider.value / Screen.devicePixelRatio
                }
                StyleCell {
                    objectName: "highlightStyleCell" + index
                    width: (parent.width - 40) / 2
                    height: parent.height
                    source: root.pictureSource("hl", modelData)
                    scaleFactor: scaleSlider.value / Screen.devicePixelRatio
                }
            }

            MouseArea {
                anchors.fill: parent
                onClicked: list.currentIndex = index
            }
        }
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 2

        Label {
            text: qsTr("Position at: ")
        }
        TextField {
            objectName: "stylePositionField"
            Layout.fillWidth: true
            selectByMouse: true
            onTextChanged: list.currentIndex = root.rowOf(text)
        }
    }
}
