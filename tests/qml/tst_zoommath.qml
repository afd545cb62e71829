import QtQuick 2.15
import QtTest 1.15
import "qrc:/ZoomMath.js" as ZoomMath

TestCase {
    name: "ZoomMath"

    function test_wheelZoom_data() {
        return [
            { tag: "one notch up at 1.0", zoom: 1.0, delta: 120, dpr: 1, expected: 1.1 },
            { tag: "one notch down at 1.0", zoom: 1.0, delta: -120, dpr: 1, expected: 0.9 },
            { tag: "three notches up", zoom: 1.0, delta: 360, dpr: 1, expected: 1.3 },
            { tag: "half a notch rounds up", zoom: 1.0, delta: 60, dpr: 1, expected: 1.1 },
            { tag: "half a notch down rounds away from zero", zoom: 1.0, delta: -60, dpr: 1, expected: 0.9 },
            { tag: "a small touchpad step does nothing", zoom: 1.0, delta: 15, dpr: 1, expected: 1.0 },
            { tag: "no delta", zoom: 2.0, delta: 0, dpr: 1, expected: 2.0 },
            { tag: "clamped at the top", zoom: 4.95, delta: 120, dpr: 1, expected: 5.0 },
            { tag: "stays at the top", zoom: 5.0, delta: 1200, dpr: 1, expected: 5.0 },
            { tag: "clamped at the bottom", zoom: 0.15, delta: -120, dpr: 1, expected: 0.1 },
            { tag: "huge delta down", zoom: 1.0, delta: -120000, dpr: 1, expected: 0.1 },
            { tag: "top divided by the pixel ratio", zoom: 2.4, delta: 240, dpr: 2, expected: 2.5 },
            { tag: "bottom divided by the pixel ratio", zoom: 0.1, delta: -120, dpr: 2, expected: 0.05 },
            { tag: "a zoom outside the range comes back in", zoom: 9.0, delta: 0, dpr: 1, expected: 5.0 },
        ]
    }

    function test_wheelZoom(data) {
        fuzzyCompare(ZoomMath.wheelZoom(data.zoom, data.delta, data.dpr), data.expected, 1e-9)
    }

    function test_clampOfNotANumber() {
        compare(ZoomMath.clamp(NaN, 2), 0.5)
    }

    // The image point under the cursor stays under the cursor.
    function test_anchorShift_data() {
        return [
            { tag: "zoom in", imageX: 10, cursor: 110, oldZoom: 1.0, newZoom: 1.1 },
            { tag: "zoom out", imageX: -40, cursor: 300, oldZoom: 2.0, newZoom: 1.9 },
            { tag: "cursor left of the image", imageX: 50, cursor: 0, oldZoom: 0.5, newZoom: 0.6 },
            { tag: "cursor at the image origin", imageX: 25, cursor: 25, oldZoom: 1.0, newZoom: 3.0 },
        ]
    }

    function test_anchorShift(data) {
        var p = (data.cursor - data.imageX) / data.oldZoom
        var newImageX = data.imageX + ZoomMath.anchorShift(p, data.oldZoom, data.newZoom)
        fuzzyCompare(newImageX + p * data.newZoom, data.cursor, 1e-9)
    }

    function test_fit_data() {
        return [
            { tag: "width", fit: "width", pane: [800, 300], image: [1600, 900], expected: 0.5 },
            { tag: "all, height limits", fit: "all", pane: [800, 300], image: [1600, 900], expected: 1 / 3 },
            { tag: "all, width limits", fit: "all", pane: [400, 900], image: [1600, 900], expected: 0.25 },
            { tag: "width of a tiny image clamps", fit: "width", pane: [800, 300], image: [10, 10], expected: 5.0 },
            { tag: "no image keeps the zoom", fit: "width", pane: [800, 300], image: [0, 0], expected: 0.7 },
            { tag: "pane not laid out keeps the zoom", fit: "all", pane: [0, 0], image: [100, 100], expected: 0.7 },
        ]
    }

    function test_fit(data) {
        var zoom = data.fit === "width"
                ? ZoomMath.fitWidth(data.pane[0], data.image[0], 0.7, 1)
                : ZoomMath.fitAll(data.pane[0], data.pane[1], data.image[0], data.image[1], 0.7, 1)
        fuzzyCompare(zoom, data.expected, 1e-9)
    }

    function test_centred() {
        compare(ZoomMath.centred(800, 200, 2), 200)
        compare(ZoomMath.centred(100, 200, 1), -50)
    }
}
