import QtQuick 2.15

// Stands in for the window's message list: keeps what was reported.
QtObject {
    // every result as { ok, message, file }, in order
    property var results: []

    function addResult(result) {
        var list = results.slice()
        list.push({ ok: result.ok, message: result.message, file: result.file })
        results = list
    }

    function clear() {
        results = []
    }
}
