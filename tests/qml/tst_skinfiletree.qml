import QtQuick 2.15
import QtTest 1.15
import "qrc:/"

// The file tree on the project's own demo skin (read only).
TestCase {
    id: testCase
    name: "SkinFileTree"
    when: windowShown
    visible: true
    width: 220
    height: 400

    Component {
        id: treeComponent
        SkinFileTree {
            width: 220
            height: 400
        }
    }

    readonly property string skin: testSourceDir + "/skins/demo"

    function createTree() {
        var tree = createTemporaryObject(treeComponent, testCase)
        tree.setRoot(skin)
        tryVerify(function() { return tree.count > 0 })
        return tree
    }

    function test_upDoesNothingAtTheSkinDirectory() {
        var tree = createTree()
        compare(tree.canGoUp, false)
        tree.goUp()
        compare(tree.currentPath, skin)
    }

    function test_upReturnsFromASubfolder() {
        var tree = createTree()
        tree.openFolder(utils.localPathToUrl(skin + "/port"))
        compare(tree.currentPath, skin + "/port")
        compare(tree.canGoUp, true)
        tree.goUp()
        compare(tree.currentPath, skin)
        compare(tree.canGoUp, false)
    }

    function test_rootWithTrailingSlash() {
        var tree = createTemporaryObject(treeComponent, testCase)
        tree.setRoot(skin + "/")
        compare(tree.rootPath, skin)
        compare(tree.canGoUp, false)
    }

    function test_newRootBecomesTheCurrentFolder() {
        var tree = createTree()
        tree.openFolder(utils.localPathToUrl(skin + "/res"))
        tree.setRoot(skin + "/port")
        compare(tree.currentPath, skin + "/port")
        compare(tree.canGoUp, false)
    }

    function test_clicksOnFiles() {
        var tree = createTree()
        tree.openFolder(utils.localPathToUrl(skin + "/port"))
        var view = findChild(tree, "fileTreeView")
        // The skin's own folder has three entries as well: wait for the
        // listing of port/, which a reading thread delivers later, and for
        // the row's delegate.
        tryVerify(function() { return view.count === 3 && view.model.get(2, "fileName") === "py_cand.cnd" })
        tryVerify(function() { return view.itemAtIndex(2) !== null })
        waitForRendering(tree)
        var accepted = []
        var asText = []
        tree.accepted.connect(function(url, suffix) { accepted.push(suffix) })
        tree.acceptedAsTextFile.connect(function(url, suffix) { asText.push(suffix) })
        // sorted by name: gen.ini, py_26.ini, py_cand.cnd
        var row = view.itemAtIndex(2)
        mouseClick(row, 20, 10, Qt.LeftButton)
        wait(Qt.styleHints.mouseDoubleClickInterval + 20)
        mouseClick(row, 20, 10, Qt.RightButton)
        compare(accepted, ["cnd"])
        compare(asText, ["cnd"])
    }
}
