import QtQuick 2.15

// Stands in for the utilities: file URLs and local paths.
QtObject {
    function urlToLocalPath(url) {
        var s = String(url)
        return s.startsWith("file://") ? decodeURIComponent(s.substring(7)) : ""
    }

    function localPathToUrl(path) {
        return "file://" + encodeURI(String(path))
    }

    function isForKWA() {
        return false
    }
}
