import QtQuick 2.15

// One picture of a style, centred over the checkerboard that shows its
// transparent parts.
Item {
    id: cell

    property alias source: picture.source
    property real scaleFactor: 1

    clip: true

    Image {
        anchors.fill: picture
        source: "image://styles/transparent"
        fillMode: Image.Tile
        cache: false
    }

    Image {
        id: picture
        anchors.centerIn: parent
        width: implicitWidth * cell.scaleFactor
        height: implicitHeight * cell.scaleFactor
        fillMode: Image.Stretch
        cache: false
    }
}
