import QtQuick 2.15
import QtQuick.Controls 2.15

// The keys picked for a key editing page, in the order they were picked.
// Picking a key that is already there takes it out again.
Label {
    id: root

    property var keys: []
    readonly property int count: keys.length

    function newSelectedKey(key) {
        if (key === undefined || key === null || String(key) === "")
            return
        var list = keys.slice()
        var at = list.indexOf(String(key))
        if (at >= 0)
            list.splice(at, 1)
        else
            list.push(String(key))
        keys = list
    }

    function getKeysList() {
        return keys.slice()
    }

    function reset() {
        keys = []
    }

    text: keys.join(" ")
    padding: 5
    wrapMode: Text.WrapAtWordBoundaryOrAnywhere

    background: Rectangle {
        border.color: "lightblue"
        border.width: 2
        color: Qt.lighter("lightblue", 1.15)
    }
}
