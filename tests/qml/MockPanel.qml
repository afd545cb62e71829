import QtQuick 2.15

// Stands in for the native panel: the properties the scene binds to, and the
// operations, which only record their calls.
QtObject {
    id: mock

    property string currentPanelFile
    property string basicInfomation
    property var highlightedKeys: []
    property string currentKey
    property string currentSectionName
    property var currentSectionProperties: []
    property int currentStatus: 0
    property bool canUndo: false
    property bool canRedo: false
    property var styleNumbers: []
    property point panelOrigin: Qt.point(0, 0)
    property size panelSize: Qt.size(0, 0)
    property real scale: 1.0
    property int resolution: 0
    property int deviceResolution: 0
    property string newKey: "KEY1"

    // every call as { name, args }, in order
    property var calls: []

    signal panelReloaded()

    function record(name, args) {
        var list = calls.slice()
        list.push({ name: name, args: Array.prototype.slice.call(args) })
        calls = list
    }

    function callNames() {
        return calls.map(function(c) { return c.name })
    }

    function lastCall(name) {
        for (var i = calls.length - 1; i >= 0; --i)
            if (calls[i].name === name)
                return calls[i]
        return null
    }

    function clearCalls() {
        calls = []
    }

    // The native panel announces its current key on every render, whether it
    // changed or not.
    function announceCurrentKey(key) {
        if (currentKey !== key)
            currentKey = key
        else
            currentKeyChanged()
    }

    // where the keys are, as Panel::keyRects gives them
    property var rects: []
    function keyRects() { return rects }
    function keyProperties(key) { record("keyProperties", arguments); return [] }
    function recordChanges(changes) { record("recordChanges", arguments) }
    function clean() { record("clean", arguments) }
    function reload() { record("reload", arguments) }
    function getNewKey() { record("getNewKey", arguments); return newKey }
    function setHighlightPointF(point) { record("setHighlightPointF", arguments) }
    function setPanelFile(file) { record("setPanelFile", arguments) }
    function exportAsImage(path) { record("exportAsImage", arguments) }
    function exchangeKeys(key1, key2) { record("exchangeKeys", arguments) }
    function moveKeys(keys, x, y) { record("moveKeys", arguments) }
    function adjustKeys(keys, x, y, w, h, ax, ay, aw, ah) { record("adjustKeys", arguments) }
    function editSection(section, properties) { record("editSection", arguments) }
    function removeKeys(keys) { record("removeKeys", arguments) }
    function alignKeys(keys, type) { record("alignKeys", arguments) }
    function undo() { record("undo", arguments) }
    function redo() { record("redo", arguments) }
}
