import QtQuick 2.15
import QtQuick.Window 2.15
import QtTest 1.15
import "qrc:/"

// The preview against the test runner's 200 x 100 "panel" image.
TestCase {
    id: testCase
    name: "PanelImage"
    when: windowShown
    // a test case is hidden by default, and hidden items get no mouse events
    visible: true
    width: 400
    height: 300

    Component {
        id: previewComponent
        PanelImage {
            width: 400
            height: 300
        }
    }

    function init() {
        panel.clearCalls()
        panel.scale = 1.0
        panel.panelOrigin = Qt.point(0, 0)
        panel.highlightedKeys = []
    }

    function createPreview() {
        var preview = createTemporaryObject(previewComponent, testCase)
        verify(preview)
        tryCompare(preview.image, "status", Image.Ready)
        return preview
    }

    function test_firstLoadFitsTheWidthAndCentres() {
        var preview = createPreview()
        panel.panelReloaded()
        fuzzyCompare(preview.zoom, 2.0, 1e-9)
        fuzzyCompare(preview.imageX, 0, 1e-9)
        fuzzyCompare(preview.imageY, (300 - 200) / 2, 1e-9)
    }

    function test_laterReloadsKeepZoomAndPlace() {
        var preview = createPreview()
        panel.panelReloaded()
        preview.zoom = 1.5
        preview.imageX = 12
        preview.imageY = -7
        panel.panelReloaded()
        compare(preview.zoom, 1.5)
        compare(preview.imageX, 12)
        compare(preview.imageY, -7)
    }

    function test_firstFitFollowsThePaneUntilTheAuthorZooms() {
        var preview = createPreview()
        panel.panelReloaded()
        preview.width = 300
        fuzzyCompare(preview.zoom, 1.5, 1e-9)
        mouseWheel(preview, 150, 150, 0, 120)
        var zoom = preview.zoom
        preview.width = 400
        compare(preview.zoom, zoom)
    }

    function test_wheelZoomsAroundTheCursor() {
        var preview = createPreview()
        var dpr = Screen.devicePixelRatio
        preview.zoom = 1 / dpr
        preview.imageX = 10
        preview.imageY = 20
        var before = preview.mapToItem(preview.image, 110, 70)
        mouseWheel(preview, 110, 70, 0, 120)
        fuzzyCompare(preview.zoom, 1 / dpr + 0.1, 1e-9)
        var after = preview.mapFromItem(preview.image, before.x, before.y)
        fuzzyCompare(after.x, 110, 1e-6)
        fuzzyCompare(after.y, 70, 1e-6)
    }

    function test_wheelStopsAtTheLimits() {
        var preview = createPreview()
        var dpr = Screen.devicePixelRatio
        for (var i = 0; i < 80; ++i)
            mouseWheel(preview, 200, 150, 0, 120)
        fuzzyCompare(preview.zoom, 5.0 / dpr, 1e-9)
        for (i = 0; i < 80; ++i)
            mouseWheel(preview, 200, 150, 0, -120)
        fuzzyCompare(preview.zoom, 0.1 / dpr, 1e-9)
    }

    function test_clickPassesTheRelativePoint() {
        var preview = createPreview()
        preview.zoom = 2.0
        preview.imageX = 0
        preview.imageY = 0
        mouseClick(preview, 100, 50)
        var call = panel.lastCall("setHighlightPointF")
        verify(call)
        fuzzyCompare(call.args[0].x, 0.25, 1e-9)
        fuzzyCompare(call.args[0].y, 0.25, 1e-9)
    }

    function test_doubleClickResetsTheZoom() {
        var preview = createPreview()
        preview.zoom = 3
        mouseDoubleClickSequence(preview, 50, 50)
        fuzzyCompare(preview.zoom, 1 / Screen.devicePixelRatio, 1e-9)
        fuzzyCompare(preview.imageX, (400 - 200 * preview.zoom) / 2, 1e-9)
    }

    function test_fitButtons() {
        var preview = createPreview()
        var fit = findChild(preview, "fitButton")
        var actual = findChild(preview, "resetZoomButton")
        verify(fit && actual)
        verify(fit.y > actual.y, "the fit button is the lower one")
        mouseClick(fit)
        fuzzyCompare(preview.zoom, Math.min(400 / 200, 300 / 100), 1e-9)
        mouseClick(actual)
        fuzzyCompare(preview.zoom, 1 / Screen.devicePixelRatio, 1e-9)
    }

    function test_middleDragMovesTheImage() {
        var preview = createPreview()
        preview.imageX = 0
        preview.imageY = 0
        mouseDrag(preview, 100, 100, 60, -30, Qt.MiddleButton)
        // the image follows the pointer once it has left the drag threshold
        verify(preview.imageX > 30 && preview.imageX <= 60, "x follows the drag: " + preview.imageX)
        verify(preview.imageY < -10 && preview.imageY >= -30, "y follows the drag: " + preview.imageY)
        compare(panel.lastCall("setHighlightPointF"), null, "a drag is no click")
    }

    function test_positionInPanelUnits_data() {
        return [
            { tag: "scale 1", scale: 1, origin: Qt.point(0, 0), at: [40, 30], text: "X: 40, Y: 30" },
            { tag: "scale 2 with origin", scale: 2, origin: Qt.point(0, 60), at: [40, 300], text: "X: 20, Y: 90" },
            { tag: "scale 0 is taken as 1", scale: 0, origin: Qt.point(0, 0), at: [7, 9], text: "X: 7, Y: 9" },
        ]
    }

    function test_positionInPanelUnits(data) {
        var preview = createPreview()
        preview.zoom = 1
        preview.imageX = 0
        preview.imageY = 0
        panel.scale = data.scale
        panel.panelOrigin = data.origin
        mouseMove(preview, data.at[0] + 1, Math.min(data.at[1], 298) + 1)
        mouseMove(preview, data.at[0], Math.min(data.at[1], 298))
        if (data.at[1] > 298)
            preview.updatePosition(data.at[0], data.at[1])
        compare(findChild(preview, "positionLabel").text, data.text)
    }

    function test_keyMenuOffersOverlappingKeys() {
        var preview = createPreview()
        preview.zoom = 1
        mouseClick(preview, 30, 40)
        panel.highlightedKeys = ["KEY3", "KEY4"]
        var menu = preview.keyMenu
        tryCompare(menu, "opened", true)
        compare(menu.count, 2)
        compare(menu.itemAt(1).text, "KEY4")
        compare(menu.x, 30)
        compare(menu.y, 40)
        menu.itemAt(1).triggered()
        compare(panel.currentKey, "KEY4")
        menu.close()
        // closed to the end: Qt Quick Controls leak a part of a menu destroyed
        // while it still fades out
        tryCompare(menu, "visible", false)
    }
}
