import QtQuick 2.15
import "InnerRectMath.js" as InnerRectMath

// A corner of the inner rectangle: a circle of 15 screen pixels around its
// centre, dragged within the given bounds. Its coordinates are those of
// `space`, which may be drawn scaled.
Rectangle {
    id: handle

    property Item space
    property real centerX
    property real centerY
    property real minX
    property real minY
    property real maxX
    property real maxY
    readonly property real screenPixel: space && space.scale > 0 ? 1 / space.scale : 1
    // the radius on screen, whatever the scale of `space`
    property real screenRadius: 15
    readonly property real r: screenRadius * screenPixel

    signal dragged(real centreX, real centreY)

    width: 2 * r
    height: 2 * r
    radius: r
    x: centerX - r
    y: centerY - r
    color: "transparent"
    border.color: "lightblue"
    border.width: 2 * screenPixel

    MouseArea {
        property point grab

        anchors.fill: parent
        cursorShape: Qt.SizeAllCursor
        onPressed: grab = Qt.point(mouse.x, mouse.y)
        onPositionChanged: {
            var p = mapToItem(handle.space, mouse.x, mouse.y)
            handle.dragged(InnerRectMath.clamp(p.x - grab.x + handle.r, handle.minX, handle.maxX),
                           InnerRectMath.clamp(p.y - grab.y + handle.r, handle.minY, handle.maxY))
        }
    }
}
