import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import "ZoomMath.js" as ZoomMath
import "KeyPick.js" as KeyPick
import "fontawesome/Icons.js" as Icons

// The preview of the panel: zoomed with the wheel around the cursor, moved by
// dragging; a click picks the key under it.
Item {
    id: root

    readonly property real dpr: Screen.devicePixelRatio > 0 ? Screen.devicePixelRatio : 1
    property real zoom: 1 / dpr
    // the first image larger than 1 x 1 is fitted to the pane's width
    property bool firstLoadDone: false
    // The first fit follows the pane's size (the window is still being laid
    // out then) until the author zooms or moves the image.
    property bool followsPane: false
    property alias imageX: image.x
    property alias imageY: image.y
    readonly property alias image: image
    // false when the panel's size keeps the preview from drawing it
    property bool panelDrawable: true
    readonly property alias keyMenu: keyMenu

    function reloadImage() {
        var keptZoom = zoom
        var keptX = image.x
        var keptY = image.y
        image.source = ""
        image.source = "image://panel"
        if (!firstLoadDone && (image.implicitWidth > 1 || image.implicitHeight > 1)) {
            firstLoadDone = true
            followsPane = true
            fitWidthToPane()
        } else {
            zoom = keptZoom
            image.x = keptX
            image.y = keptY
        }
    }

    function fitWidthToPane() {
        zoom = ZoomMath.fitWidth(width, image.implicitWidth, zoom, dpr)
        centre()
    }

    onWidthChanged: if (followsPane) fitWidthToPane()
    onHeightChanged: if (followsPane) fitWidthToPane()

    function centre() {
        image.x = ZoomMath.centred(width, image.width, zoom)
        image.y = ZoomMath.centred(height, image.height, zoom)
    }

    function resetZoom() {
        followsPane = false
        zoom = 1 / dpr
        centre()
    }

    function fitToPane() {
        followsPane = false
        zoom = ZoomMath.fitAll(width, height, image.width, image.height, zoom, dpr)
        centre()
    }

    // wheel zoom around the point (x, y) of the pane
    function zoomAt(x, y, angleDeltaY) {
        var oldZoom = zoom
        var newZoom = ZoomMath.wheelZoom(oldZoom, angleDeltaY, dpr)
        if (newZoom === oldZoom)
            return
        followsPane = false
        var p = mapToItem(image, x, y)
        image.x += ZoomMath.anchorShift(p.x, oldZoom, newZoom)
        image.y += ZoomMath.anchorShift(p.y, oldZoom, newZoom)
        zoom = newZoom
    }

    // a click at (x, y) of the pane picks the keys under it
    function pickAt(x, y) {
        if (!(image.width > 0) || !(image.height > 0))
            return
        var p = mapToItem(image, x, y)
        keyMenu.x = x
        keyMenu.y = y
        KeyPick.run(function() {
            panel.setHighlightPointF(Qt.point(p.x / image.width, p.y / image.height))
        })
    }

    function updatePosition(x, y) {
        var p = mapToItem(image, x, y)
        var s = panel.scale > 0 ? panel.scale : 1
        positionLabel.text = qsTr("X: ") + (p.x / s - panel.panelOrigin.x).toFixed(0)
                + qsTr(", Y: ") + (p.y / s - panel.panelOrigin.y).toFixed(0)
    }

    clip: true

    Image {
        id: image
        objectName: "previewImage"
        source: "image://panel"
        cache: false
        transformOrigin: Item.TopLeft
        scale: root.zoom
        smooth: root.zoom < 1
    }

    Connections {
        target: panel
        function onPanelReloaded() {
            root.reloadImage()
        }
        function onHighlightedKeysChanged() {
            if (panel.highlightedKeys.length > 0)
                keyMenu.open()
        }
    }

    PinchArea {
        anchors.fill: parent
        pinch.target: null

        property real startZoom: 1

        onPinchStarted: {
            root.followsPane = false
            startZoom = root.zoom
        }
        onPinchUpdated: {
            // the pinch stops at the zoom limits
            if (root.zoom >= ZoomMath.maxZoom(root.dpr) && pinch.scale > pinch.previousScale)
                return
            if (root.zoom < ZoomMath.minZoom(root.dpr) && pinch.scale < pinch.previousScale)
                return
            var oldZoom = root.zoom
            var newZoom = ZoomMath.clamp(startZoom * pinch.scale, root.dpr)
            var p = root.mapToItem(image, pinch.center.x, pinch.center.y)
            image.x += ZoomMath.anchorShift(p.x, oldZoom, newZoom)
            image.y += ZoomMath.anchorShift(p.y, oldZoom, newZoom)
            root.zoom = newZoom
        }

        MouseArea {
            id: mouseArea
            objectName: "previewMouseArea"
            anchors.fill: parent
            hoverEnabled: true
            drag.target: image
            drag.axis: Drag.XAndYAxis
            cursorShape: drag.active ? Qt.ClosedHandCursor : Qt.CrossCursor

            onPositionChanged: root.updatePosition(mouse.x, mouse.y)
            onClicked: root.pickAt(mouse.x, mouse.y)
            onDoubleClicked: root.resetZoom()
            onWheel: root.zoomAt(wheel.x, wheel.y, wheel.angleDelta.y)
        }
    }

    Connections {
        target: mouseArea.drag
        function onActiveChanged() {
            if (mouseArea.drag.active)
                root.followsPane = false
        }
    }

    Label {
        objectName: "notDrawnLabel"
        anchors.centerIn: parent
        width: Math.min(implicitWidth, parent.width - 20)
        visible: !root.panelDrawable
        text: qsTr("the panel size is not valid — see Problems")
        wrapMode: Text.Wrap
        horizontalAlignment: Text.AlignHCenter
        color: "#d32f2f"
        padding: 8
        background: Rectangle {
            color: "white"
            border.color: "#d32f2f"
            radius: 3
        }
    }

    Label {
        id: positionLabel
        objectName: "positionLabel"
        anchors.left: parent.left
        anchors.top: parent.top
        padding: 4
        text: qsTr("X: ") + 0 + qsTr(", Y: ") + 0
        background: Rectangle {
            color: "white"
            opacity: 0.7
        }
    }

    Column {
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 5
        spacing: 10

        IconToolButton {
            objectName: "resetZoomButton"
            glyph: Icons.fa_expand
            toolTipText: qsTr("Actual size")
            flat: true
            implicitWidth: 25
            implicitHeight: 35
            onClicked: root.resetZoom()
        }
        IconToolButton {
            objectName: "fitButton"
            glyph: Icons.fa_expand_arrows_alt
            toolTipText: qsTr("Fit to view")
            flat: true
            implicitWidth: 25
            implicitHeight: 35
            onClicked: root.fitToPane()
        }
    }

    Menu {
        id: keyMenu
        objectName: "keyMenu"

        Instantiator {
            model: panel.highlightedKeys
            delegate: MenuItem {
                text: modelData
                onTriggered: KeyPick.run(function() { panel.currentKey = modelData })
            }
            onObjectAdded: keyMenu.insertItem(index, object)
            onObjectRemoved: keyMenu.removeItem(object)
        }
    }
}
