import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import "ZoomMath.js" as ZoomMath
import "KeyPick.js" as KeyPick
import "DirectEdit.js" as DirectEdit
import "fontawesome/Icons.js" as Icons

// The preview of the panel, and the place to edit keys directly: a click
// selects the key under it (Ctrl or Shift adds or removes one), a drag on an
// empty area selects with a band, a drag of a selected key moves the
// selection, the eight handles of a single key resize it, and the arrow keys
// nudge. Every edit is one panel operation on release, so one undo step.
// The middle button or Space with a drag pans; the wheel zooms around the
// cursor.
Item {
    id: root

    readonly property real dpr: Screen.devicePixelRatio > 0 ? Screen.devicePixelRatio : 1
    // one image pixel per physical pixel at 1 / dpr, set on completion
    property real zoom: 1
    // Until the author zooms or pans, the whole image is fitted into the
    // pane and follows its size, a new panel file and a status change.
    property bool followsPane: true
    property alias imageX: image.x
    property alias imageY: image.y
    readonly property alias image: image
    // false when the panel's size keeps the preview from drawing it
    property bool panelDrawable: true
    readonly property alias keyMenu: keyMenu

    // The selected keys, shared with the key editing page that is shown.
    property var selectedKeys: []
    // The page that shares the selection (see EditPage); while there is one,
    // a plain click toggles the key in that page's selection instead.
    property var selectionOwner: null
    // the author changed the selection on the preview
    signal selectionEdited()

    // Where the keys are (Panel::keyRects), refreshed after every render.
    property var keyRects: []
    // pane pixels per panel unit
    readonly property real unit: zoom * (panel.scale > 0 ? panel.scale : 1)
    // What the outlines show ahead of the panel file, in panel units: the
    // distance of a drag or a run of nudges, or the box of a resize.
    property real moveDx: 0
    property real moveDy: 0
    property var resizeBox: null
    property var guidesX: []
    property var guidesY: []
    // pane pixels within which an edge snaps
    readonly property real snapPixels: 6
    // the distance of nudges not yet written
    property int nudgeDx: 0
    property int nudgeDy: 0
    property bool spaceHeld: false
    // the panel file the selection belongs to
    property string shownFile

    readonly property var selectedRects: DirectEdit.rectsOf(keyRects, selectedKeys)
    readonly property var singleRect: selectedRects.length === 1 ? selectedRects[0] : null

    function reloadImage() {
        var keptZoom = zoom
        var keptX = image.x
        var keptY = image.y
        var kept = followsPane
        image.source = ""
        image.source = "image://panel"
        refreshKeyRects()
        if (kept) {
            followsPane = true
            fitAll()
        } else {
            zoom = keptZoom
            image.x = keptX
            image.y = keptY
        }
    }

    function refreshKeyRects() {
        keyRects = panel.keyRects ? panel.keyRects() : []
        var kept = selectedKeys.filter(function(name) {
            return keyRects.some(function(r) { return r.name === name })
        })
        if (kept.length !== selectedKeys.length)
            selectedKeys = kept
    }

    function fitAll() {
        if (!(image.implicitWidth > 1 || image.implicitHeight > 1))
            return
        fitting = true
        zoom = ZoomMath.fitAll(width, height, image.implicitWidth, image.implicitHeight, zoom, dpr)
        centre()
        fitting = false
    }

    // any other change of the zoom or the image's place ends following
    // (not those made while the preview is being created)
    property bool fitting: false
    property bool created: false
    Component.onCompleted: {
        fitting = true
        zoom = 1 / dpr
        fitting = false
        created = true
        if (followsPane)
            fitAll()
    }
    onZoomChanged: if (created && !fitting) followsPane = false

    onWidthChanged: if (followsPane) fitAll()
    onHeightChanged: if (followsPane) fitAll()

    function centre() {
        image.x = ZoomMath.centred(width, image.width, zoom)
        image.y = ZoomMath.centred(height, image.height, zoom)
    }

    function resetZoom() {
        followsPane = false
        zoom = 1 / dpr
        centre()
    }

    // "fit": back to the view that follows the pane
    function fitToPane() {
        followsPane = true
        fitAll()
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

    // (x, y) of the pane in panel units (not rounded)
    function toUnits(x, y) {
        return Qt.point((x - image.x) / unit, (y - image.y) / unit)
    }

    function updatePosition(x, y) {
        var p = mapToItem(image, x, y)
        var s = panel.scale > 0 ? panel.scale : 1
        positionLabel.text = qsTr("X: ") + (p.x / s - panel.panelOrigin.x).toFixed(0)
                + qsTr(", Y: ") + (p.y / s - panel.panelOrigin.y).toFixed(0)
    }

    function setSelection(keys) {
        if (keys.length === selectedKeys.length && keys.every(function(k, i) { return k === selectedKeys[i] }))
            return
        selectedKeys = keys
        selectionEdited()
    }

    function toggleKey(key) {
        var list = selectedKeys.slice()
        var at = list.indexOf(key)
        if (at >= 0)
            list.splice(at, 1)
        else
            list.push(key)
        setSelection(list)
    }

    function selectAll() {
        flushNudge()
        setSelection(keyRects.map(function(r) { return r.name }))
    }

    function clearSelection() {
        flushNudge()
        setSelection([])
    }

    function snapSettings(excluded, free) {
        if (free)
            return null
        var s = panel.scale > 0 ? panel.scale : 1
        var origin = panel.panelOrigin
        var grid = rpSettings.snapGridSize !== undefined ? rpSettings.snapGridSize : 0
        return {
            targets: DirectEdit.snapTargets(keyRects, excluded,
                                            { x: origin.x, y: origin.y,
                                              width: panel.panelSize.width, height: panel.panelSize.height }),
            threshold: snapPixels / unit,
            grid: grid,
            origin: origin
        }
    }

    // Writes the run of nudges as one move.
    function flushNudge() {
        nudgeTimer.stop()
        if (nudgeDx === 0 && nudgeDy === 0)
            return
        var dx = nudgeDx, dy = nudgeDy
        nudgeDx = 0
        nudgeDy = 0
        writeMove(dx, dy)
    }

    function writeMove(dx, dy) {
        if (selectedKeys.length > 0 && (dx !== 0 || dy !== 0)) {
            releaseHighlight()
            panel.moveKeys(selectedKeys.slice(), dx, dy)
            edited()
        }
        moveDx = 0
        moveDy = 0
    }

    function nudge(dx, dy) {
        if (selectedKeys.length === 0)
            return
        nudgeDx += dx
        nudgeDy += dy
        moveDx = nudgeDx
        moveDy = nudgeDy
        nudgeTimer.restart()
    }

    // Delete: the selection goes in one step; nothing selected, nothing goes.
    function deleteSelection() {
        flushNudge()
        if (selectedKeys.length === 0)
            return
        releaseHighlight()
        panel.removeKeys(selectedKeys.slice())
        setSelection([])
        edited()
    }

    // Ctrl+D: copies of the selected keys under the next free numbers, 10
    // units further right and down, written in one step and then selected.
    function duplicateSelection() {
        flushNudge()
        if (selectedKeys.length === 0)
            return
        var first = parseInt(String(panel.getNewKey()).replace(/^KEY/, ""), 10)
        if (isNaN(first))
            return
        var changes = {}
        var copies = []
        for (var i = 0; i < selectedKeys.length; ++i) {
            var name = "KEY" + (first + i)
            DirectEdit.copiedKey(panel.keyProperties(selectedKeys[i]), name, 10, 10, changes)
            copies.push(name)
        }
        releaseHighlight()
        panel.recordChanges(changes)
        edited()
        refreshKeyRects()
        setSelection(copies)
    }

    // after an edit: the pages and the text editor follow the file
    signal edited()

    // Before an edit: the point of the last click lets go, so that keys
    // moved or copied under it neither show pressed nor raise the key menu.
    function releaseHighlight() {
        panel.setHighlightPointF(Qt.point(-1, -1))
    }

    clip: true
    activeFocusOnTab: true

    Image {
        id: image
        objectName: "previewImage"
        source: "image://panel"
        cache: false
        transformOrigin: Item.TopLeft
        scale: root.zoom
        smooth: root.zoom < 1
        onStatusChanged: if (status === Image.Ready && root.followsPane) root.fitAll()
        onXChanged: if (root.created && !root.fitting) root.followsPane = false
        onYChanged: if (root.created && !root.fitting) root.followsPane = false
    }

    // The selection drawn over the image: outlines move during a drag
    // without the panel being drawn again.
    Item {
        id: overlay
        objectName: "selectionOverlay"
        x: image.x
        y: image.y

        Repeater {
            model: root.selectedRects
            delegate: Rectangle {
                objectName: "selectionOutline"
                readonly property var box: root.resizeBox && root.singleRect ? root.resizeBox : modelData
                x: (box.x + (root.resizeBox ? 0 : root.moveDx)) * root.unit
                y: (box.y + (root.resizeBox ? 0 : root.moveDy)) * root.unit
                width: box.width * root.unit
                height: box.height * root.unit
                color: "#2a1e88e5"
                border.color: "#1e88e5"
                border.width: 2
            }
        }

        Repeater {
            model: root.singleRect && root.moveDx === 0 && root.moveDy === 0 ? DirectEdit.handles : []
            delegate: Rectangle {
                objectName: "handle_" + modelData.name
                readonly property var box: root.resizeBox ? root.resizeBox : root.singleRect
                readonly property var at: box ? DirectEdit.handlePoint(box, modelData) : Qt.point(0, 0)
                x: at.x * root.unit - width / 2
                y: at.y * root.unit - height / 2
                width: 8
                height: 8
                color: "white"
                border.color: "#1e88e5"
                border.width: 1
            }
        }

        Repeater {
            model: root.guidesX
            delegate: Rectangle {
                x: modelData * root.unit
                y: -overlay.y
                width: 1
                height: root.height
                color: "#ff6d00"
            }
        }
        Repeater {
            model: root.guidesY
            delegate: Rectangle {
                x: -overlay.x
                y: modelData * root.unit
                width: root.width
                height: 1
                color: "#ff6d00"
            }
        }
    }

    Rectangle {
        id: band
        objectName: "selectionBand"
        visible: false
        color: "#201e88e5"
        border.color: "#1e88e5"
        border.width: 1
    }

    Timer {
        id: nudgeTimer
        // a run of nudges ends after this pause and becomes one move
        interval: 400
        onTriggered: root.flushNudge()
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
        function onPanelOriginChanged() {
            root.refreshKeyRects()
        }
        // a key picked by a click or in the key menu becomes the selection
        // (a page that shares the selection toggles it itself)
        function onCurrentKeyChanged() {
            if (KeyPick.active() && !root.selectionOwner && panel.currentKey !== "")
                root.setSelection([panel.currentKey])
        }
        // a new file is seen whole (a reload announces the same file again)
        function onCurrentPanelFileChanged() {
            if (panel.currentPanelFile === root.shownFile)
                return
            root.shownFile = panel.currentPanelFile
            root.followsPane = true
            // the pages let go of their picks themselves
            root.selectedKeys = []
        }
        function onCurrentStatusChanged() {
            root.refreshKeyRects()
        }
    }

    Keys.onPressed: {
        var step = (event.modifiers & Qt.ShiftModifier) ? 10 : 1
        var ctrl = event.modifiers & Qt.ControlModifier
        if (event.key === Qt.Key_Space) {
            if (!event.isAutoRepeat)
                root.spaceHeld = true
        } else if (event.key === Qt.Key_Left) {
            root.nudge(-step, 0)
        } else if (event.key === Qt.Key_Right) {
            root.nudge(step, 0)
        } else if (event.key === Qt.Key_Up) {
            root.nudge(0, -step)
        } else if (event.key === Qt.Key_Down) {
            root.nudge(0, step)
        } else if (event.key === Qt.Key_Delete) {
            root.deleteSelection()
        } else if (event.key === Qt.Key_Escape) {
            root.clearSelection()
        } else if (ctrl && event.key === Qt.Key_A) {
            root.selectAll()
        } else if (ctrl && event.key === Qt.Key_D) {
            root.duplicateSelection()
        } else {
            return
        }
        event.accepted = true
    }
    Keys.onReleased: {
        if (event.key === Qt.Key_Space && !event.isAutoRepeat) {
            root.spaceHeld = false
            event.accepted = true
        }
    }
    onActiveFocusChanged: if (!activeFocus) { spaceHeld = false; flushNudge() }

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
            acceptedButtons: Qt.LeftButton | Qt.MiddleButton
            cursorShape: mode === "pan" ? Qt.ClosedHandCursor
                       : root.spaceHeld ? Qt.OpenHandCursor
                       : mode === "move" ? Qt.SizeAllCursor : Qt.CrossCursor

            // "", "pan", "press" (on a key, not yet a drag), "move",
            // "resize", "band"
            property string mode: ""
            property point pressAt
            property point startImage
            property string pressKey
            property int pressModifiers
            property var handle: null
            property var startBox: null

            function handleAt(x, y) {
                if (!root.singleRect)
                    return null
                for (var i = 0; i < DirectEdit.handles.length; ++i) {
                    var p = DirectEdit.handlePoint(root.singleRect, DirectEdit.handles[i])
                    if (Math.abs(image.x + p.x * root.unit - x) <= 6 && Math.abs(image.y + p.y * root.unit - y) <= 6)
                        return DirectEdit.handles[i]
                }
                return null
            }

            function beyondThreshold(x, y) {
                return Math.abs(x - pressAt.x) >= Qt.styleHints.startDragDistance
                        || Math.abs(y - pressAt.y) >= Qt.styleHints.startDragDistance
            }

            onPressed: {
                root.forceActiveFocus()
                root.flushNudge()
                pressAt = Qt.point(mouse.x, mouse.y)
                pressModifiers = mouse.modifiers
                if (mouse.button === Qt.MiddleButton || root.spaceHeld) {
                    mode = "pan"
                    startImage = Qt.point(image.x, image.y)
                    return
                }
                handle = handleAt(mouse.x, mouse.y)
                if (handle) {
                    mode = "resize"
                    startBox = root.singleRect
                    return
                }
                var p = root.toUnits(mouse.x, mouse.y)
                var under = DirectEdit.keysAt(root.keyRects, p.x, p.y)
                pressKey = under.length > 0 ? under[under.length - 1] : ""
                // on a selected key the press may start moving the whole selection
                var selectedUnder = under.filter(function(k) { return root.selectedKeys.indexOf(k) >= 0 })
                if (selectedUnder.length > 0)
                    pressKey = selectedUnder[selectedUnder.length - 1]
                mode = pressKey !== "" ? "press" : "band"
            }

            onPositionChanged: {
                root.updatePosition(mouse.x, mouse.y)
                if (!pressed)
                    return
                var free = mouse.modifiers & Qt.AltModifier
                if (mode === "pan") {
                    root.followsPane = false
                    image.x = startImage.x + mouse.x - pressAt.x
                    image.y = startImage.y + mouse.y - pressAt.y
                } else if (mode === "press" && beyondThreshold(mouse.x, mouse.y)) {
                    if (root.selectedKeys.indexOf(pressKey) < 0)
                        root.setSelection([pressKey])
                    mode = "move"
                }
                if (mode === "move") {
                    var m = DirectEdit.snapMove(DirectEdit.bounds(root.selectedRects),
                                                (mouse.x - pressAt.x) / root.unit, (mouse.y - pressAt.y) / root.unit,
                                                root.snapSettings(root.selectedKeys, free))
                    root.moveDx = m.dx
                    root.moveDy = m.dy
                    root.guidesX = m.guidesX
                    root.guidesY = m.guidesY
                } else if (mode === "resize") {
                    var r = DirectEdit.resize(startBox, handle,
                                              (mouse.x - pressAt.x) / root.unit, (mouse.y - pressAt.y) / root.unit,
                                              mouse.modifiers & Qt.ShiftModifier,
                                              root.snapSettings([startBox.name], free))
                    root.resizeBox = r
                    root.guidesX = r.guidesX
                    root.guidesY = r.guidesY
                } else if (mode === "band" && beyondThreshold(mouse.x, mouse.y)) {
                    band.x = Math.min(pressAt.x, mouse.x)
                    band.y = Math.min(pressAt.y, mouse.y)
                    band.width = Math.abs(mouse.x - pressAt.x)
                    band.height = Math.abs(mouse.y - pressAt.y)
                    band.visible = true
                }
            }

            onReleased: {
                var was = mode
                mode = ""
                root.guidesX = []
                root.guidesY = []
                var adds = pressModifiers & (Qt.ControlModifier | Qt.ShiftModifier)
                if (was === "move") {
                    root.writeMove(root.moveDx, root.moveDy)
                } else if (was === "resize") {
                    var b = root.resizeBox
                    root.resizeBox = null
                    if (b && (b.x !== startBox.x || b.y !== startBox.y
                              || b.width !== startBox.width || b.height !== startBox.height)) {
                        root.releaseHighlight()
                        panel.adjustKeys([startBox.name], -1, -1, -1, -1, b.x - startBox.x, b.y - startBox.y,
                                         b.width - startBox.width, b.height - startBox.height)
                        root.edited()
                    }
                } else if (was === "band" && band.visible) {
                    band.visible = false
                    var a = root.toUnits(band.x, band.y)
                    var c = root.toUnits(band.x + band.width, band.y + band.height)
                    var found = DirectEdit.keysInBand(root.keyRects, DirectEdit.band(a.x, a.y, c.x, c.y))
                    if (adds) {
                        var list = root.selectedKeys.slice()
                        for (var i = 0; i < found.length; ++i) {
                            if (list.indexOf(found[i]) < 0)
                                list.push(found[i])
                        }
                        found = list
                    }
                    root.setSelection(found)
                } else if ((was === "press" || was === "band") && mouse.button === Qt.LeftButton) {
                    if (adds && pressKey !== "") {
                        root.toggleKey(pressKey)
                    } else {
                        // a click beside the keys keeps the selection, so
                        // that a double-click there only resets the zoom
                        root.pickAt(mouse.x, mouse.y)
                    }
                }
            }

            onDoubleClicked: {
                // the release that follows is no click of its own
                mode = ""
                var p = root.toUnits(mouse.x, mouse.y)
                if (DirectEdit.keysAt(root.keyRects, p.x, p.y).length === 0)
                    root.resetZoom()
            }
            onWheel: root.zoomAt(wheel.x, wheel.y, wheel.angleDelta.y)
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
