import QtQuick 2.15
import QtTest 1.15
import "qrc:/FileKinds.js" as FileKinds

TestCase {
    name: "FileKinds"

    function test_dropKind_data() {
        return [
            { tag: "panel file", path: "/s/port/py_26.ini", kind: "panel" },
            { tag: "bds", path: "/a/skin.bds", kind: "skin" },
            { tag: "bdi", path: "/a/skin.bdi", kind: "skin" },
            { tag: "zip", path: "/a/skin.zip", kind: "skin" },
            { tag: "png refused", path: "/a/key.png", kind: "" },
            { tag: "capital INI refused", path: "/a/PY.INI", kind: "" },
            { tag: "suffix without dot refused", path: "/a/notini", kind: "" },
            { tag: "ini inside a name refused", path: "/a/py.ini.bak", kind: "" },
            { tag: "empty path", path: "", kind: "" },
        ]
    }

    function test_dropKind(data) {
        compare(FileKinds.dropKind(data.path), data.kind)
    }

    function test_importedPanelFile_data() {
        return [
            { tag: "bdi", archive: "/d/skin.bdi", panel: "/w/skin/port/py_26.ini" },
            { tag: "bdi without a dot", archive: "/d/skinbdi", panel: "/w/skin/port/py_26.ini" },
            { tag: "bds", archive: "/d/skin.bds", panel: "/w/port/py_26.ini" },
            { tag: "zip", archive: "/d/skin.zip", panel: "/w/port/py_26.ini" },
            { tag: "capital BDI", archive: "/d/skin.BDI", panel: "/w/port/py_26.ini" },
        ]
    }

    function test_importedPanelFile(data) {
        compare(FileKinds.importedPanelFile(data.archive, "/w"), data.panel)
    }

    function test_skinDirectoryOf_data() {
        return [
            { tag: "panel in port", file: "/home/a/skin/port/py_26.ini", dir: "/home/a/skin" },
            { tag: "windows drive", file: "C:/skins/demo/port/py_26.ini", dir: "C:/skins/demo" },
            { tag: "panel at the top", file: "/py_26.ini", dir: "" },
            { tag: "no slash", file: "py_26.ini", dir: "" },
        ]
    }

    function test_skinDirectoryOf(data) {
        compare(FileKinds.skinDirectoryOf(data.file), data.dir)
    }

    function test_isInside_data() {
        return [
            { tag: "file inside", path: "/w/a.zip", dir: "/w", inside: true, relative: "a.zip" },
            { tag: "directory with slash", path: "/w/x/a.zip", dir: "/w/", inside: true, relative: "x/a.zip" },
            { tag: "sibling with common prefix", path: "/work/a.zip", dir: "/w", inside: false,
              relative: "/work/a.zip" },
            { tag: "the directory itself", path: "/w", dir: "/w", inside: false, relative: "/w" },
            { tag: "empty directory", path: "/a.zip", dir: "", inside: false, relative: "/a.zip" },
        ]
    }

    function test_isInside(data) {
        compare(FileKinds.isInside(data.path, data.dir), data.inside)
        // the text editor's caption: what lies elsewhere is named in full
        compare(FileKinds.relativePath(data.path, data.dir), data.relative)
    }

    function test_textFiles_data() {
        return [
            { tag: "ini", suffix: "ini", text: true },
            { tag: "cnd", suffix: "cnd", text: true },
            { tag: "pop", suffix: "pop", text: true },
            { tag: "til", suffix: "til", text: true },
            { tag: "css", suffix: "css", text: true },
            { tag: "txt", suffix: "txt", text: true },
            { tag: "png", suffix: "png", text: false },
            { tag: "md", suffix: "md", text: false },
            { tag: "capital INI", suffix: "INI", text: false },
        ]
    }

    function test_textFiles(data) {
        compare(FileKinds.isTextFile(data.suffix), data.text)
    }

    function test_withFilterSuffix_data() {
        var images = ["png file (*.png)", "jpg file (*.jpg *.jpeg)", "bmp file (*.bmp)"]
        return [
            { tag: "name without suffix", path: "/p/shot", filters: images, selected: images[0], result: "/p/shot.png" },
            { tag: "selected filter decides", path: "/p/shot", filters: images, selected: images[1], result: "/p/shot.jpg" },
            { tag: "own suffix kept", path: "/p/shot.png", filters: images, selected: images[0], result: "/p/shot.png" },
            { tag: "other filter's suffix kept", path: "/p/shot.jpeg", filters: images, selected: images[0], result: "/p/shot.jpeg" },
            { tag: "suffix in capitals kept", path: "/p/shot.PNG", filters: images, selected: images[0], result: "/p/shot.PNG" },
            { tag: "dot in a folder name", path: "/p.png/shot", filters: images, selected: images[2], result: "/p.png/shot.bmp" },
            { tag: "unknown selection uses the first", path: "/p/shot", filters: images, selected: "", result: "/p/shot.png" },
        ]
    }

    function test_withFilterSuffix(data) {
        compare(FileKinds.withFilterSuffix(data.path, data.filters, data.selected), data.result)
    }
}
