import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtQuick.Window 2.15
import "InnerRectMath.js" as InnerRectMath

// The inner-rect editor: the chosen tile, scaled to fit, with two handles on
// the corners of its inner rectangle, the rectangle as numbers and three
// stretched previews.
ColumnLayout {
    id: editor

    // handle centres in tile pixels
    property real startX: 0
    property real startY: 0
    property real endX: 1
    property real endY: 1
    readonly property var rect: InnerRectMath.rectBetween(startX, startY, endX, endY)
    readonly property int tileWidth: tileImage.implicitWidth
    readonly property int tileHeight: tileImage.implicitHeight
    // one device pixel; the screen is unknown until the editor is shown
    // nothing to show or edit until a tile file is loaded
    readonly property bool hasTile: innerRectTool.imgList.length > 0
    readonly property real onePixel: Screen.devicePixelRatio > 0 ? 1 / Screen.devicePixelRatio : 1

    spacing: 6

    function setTilFile(path) {
        innerRectTool.setTilFile(path)
    }

    function showInnerRect() {
        var r = innerRectTool.currentInnerRect
        startX = r.x
        startY = r.y
        endX = r.x + r.width
        endY = r.y + r.height
    }

    // Typed numbers move the handles, kept inside the tile and in order.
    function moveStart(x, y) {
        startX = InnerRectMath.clamp(x, 0, endX)
        startY = InnerRectMath.clamp(y, 0, endY)
    }

    function moveEnd(x, y) {
        endX = InnerRectMath.clamp(x, startX, Math.max(startX, tileWidth))
        endY = InnerRectMath.clamp(y, startY, Math.max(startY, tileHeight))
    }

    function preview() {
        innerRectTool.setCurrentInnerRect(rect.x, rect.y, rect.w, rect.h)
    }

    Connections {
        target: innerRectTool
        function onLoaded() {
            imgBox.currentIndex = 0
            if (imgBox.currentText !== "")
                innerRectTool.setCurrentImg(imgBox.currentText)
            editor.showInnerRect()
        }
        function onCurrentInnerRectChanged() {
            editor.showInnerRect()
        }
    }

    RowLayout {
        Label { text: qsTr("Choose an IMG: ") }
        ComboBox {
            id: imgBox
            objectName: "imgBox"
            model: innerRectTool.imgList
            onCurrentTextChanged: {
                if (currentText !== "")
                    innerRectTool.setCurrentImg(currentText)
            }
        }
        Label {
            objectName: "imgSizeLabel"
            visible: editor.hasTile
            Layout.leftMargin: 10
            text: qsTr("IMG size: %1x%2").arg(editor.tileWidth).arg(editor.tileHeight)
        }
    }

    Item {
        id: area
        Layout.fillWidth: true
        Layout.fillHeight: true
        Layout.minimumHeight: 80
        clip: true

        // room for the handles round the tile, so a handle on a corner is
        // whole and can be grabbed from every side
        readonly property real handleRoom: startHandle.screenRadius
        readonly property real imageScale: InnerRectMath.fitScale(editor.tileWidth, editor.tileHeight,
                                                                   width - 2 * handleRoom,
                                                                   height - 2 * handleRoom)

        // everything inside is in tile pixels, drawn scaled
        Item {
            id: canvas
            visible: editor.hasTile
            width: editor.tileWidth
            height: editor.tileHeight
            x: (area.width - width * scale) / 2
            y: area.handleRoom
            transformOrigin: Item.TopLeft
            scale: area.imageScale
            readonly property real screenPixel: 1 / scale

            // white keys stay visible on the dialog's white
            Rectangle {
                anchors.fill: parent
                color: "#d8d8d8"
            }
            Image {
                id: tileImage
                objectName: "tileImage"
                source: "image://til/" + innerRectTool.currentImgId
                cache: false
                smooth: false
            }
            // the frame and the guide lines: one device pixel wide
            Repeater {
                model: [0, canvas.width]
                Rectangle {
                    x: modelData - width / 2
                    width: editor.onePixel * canvas.screenPixel
                    height: canvas.height
                    color: "black"
                }
            }
            Repeater {
                model: [0, canvas.height]
                Rectangle {
                    y: modelData - height / 2
                    width: canvas.width
                    height: editor.onePixel * canvas.screenPixel
                    color: "black"
                }
            }
            Rectangle {
                x: editor.startX
                y: editor.startY
                width: editor.endX - editor.startX
                height: editor.endY - editor.startY
                color: "#7f7f7f7f"
            }
            Repeater {
                model: [editor.startX, editor.endX]
                Rectangle {
                    x: modelData - width / 2
                    width: editor.onePixel * canvas.screenPixel
                    height: canvas.height
                    color: "black"
                }
            }
            Repeater {
                model: [editor.startY, editor.endY]
                Rectangle {
                    y: modelData - height / 2
                    width: canvas.width
                    height: editor.onePixel * canvas.screenPixel
                    color: "black"
                }
            }

            InnerRectHandle {
                id: startHandle
                objectName: "startHandle"
                space: canvas
                // The end handle lies on top, except in the tile's far corner:
                // there it cannot move away, and would keep a start handle
                // dragged onto it covered for good.
                z: editor.endX >= editor.tileWidth && editor.endY >= editor.tileHeight ? 1 : 0
                centerX: editor.startX
                centerY: editor.startY
                minX: 0
                minY: 0
                maxX: editor.endX
                maxY: editor.endY
                onDragged: { editor.startX = centreX; editor.startY = centreY }
            }
            InnerRectHandle {
                objectName: "endHandle"
                space: canvas
                centerX: editor.endX
                centerY: editor.endY
                minX: editor.startX
                minY: editor.startY
                maxX: editor.tileWidth
                maxY: editor.tileHeight
                onDragged: { editor.endX = centreX; editor.endY = centreY }
            }
        }
    }

    RowLayout {
        enabled: editor.hasTile
        Label { text: qsTr("Inner Rect: ") }
        Label { text: qsTr("x: ") }
        InnerRectField {
            objectName: "innerRectX"
            shown: editor.rect.x
            onEdited: editor.moveStart(value, editor.startY)
        }
        Label { text: qsTr("y: ") }
        InnerRectField {
            objectName: "innerRectY"
            shown: editor.rect.y
            onEdited: editor.moveStart(editor.startX, value)
        }
        Label { text: qsTr("w: ") }
        InnerRectField {
            objectName: "innerRectW"
            shown: editor.rect.w
            onEdited: editor.moveEnd(editor.startX + value, editor.endY)
        }
        Label { text: qsTr("h: ") }
        InnerRectField {
            objectName: "innerRectH"
            shown: editor.rect.h
            onEdited: editor.moveEnd(editor.endX, editor.startY + value)
        }
    }

    RowLayout {
        visible: editor.hasTile
        spacing: 8
        Label { text: qsTr("Strech preview: ") }
        Repeater {
            model: InnerRectMath.previewSizes(editor.tileWidth, editor.tileHeight)
            Rectangle {
                color: "#d8d8d8"
                Layout.preferredWidth: modelData.width
                Layout.preferredHeight: modelData.height
                Layout.alignment: Qt.AlignTop
                Image {
                    anchors.fill: parent
                    source: "image://til/" + innerRectTool.currentImgId
                    cache: false
                    sourceSize: Qt.size(modelData.requestWidth, modelData.requestHeight)
                    fillMode: Image.PreserveAspectFit
                }
            }
        }
    }

    RowLayout {
        enabled: editor.hasTile
        Button { objectName: "innerRectReset"; text: qsTr("Reset"); onClicked: innerRectTool.reset() }
        Button { objectName: "innerRectPreview"; text: qsTr("Preview"); onClicked: editor.preview() }
        Button { objectName: "innerRectSave"; text: qsTr("Save"); onClicked: innerRectTool.save() }
    }
}
