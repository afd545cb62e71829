import QtQuick 2.15
import QtTest 1.15
import "qrc:/"

TestCase {
    id: testCase
    name: "StylesList"
    when: windowShown
    visible: true
    width: 220
    height: 500

    Component {
        id: listComponent
        StylesList {
            width: 220
            height: 500
        }
    }

    function init() {
        panel.styleNumbers = ["1", "2", "10", "12", "2"]
    }

    function test_positionAt_data() {
        return [
            { tag: "first row", text: "1", row: 0 },
            { tag: "exact match only", text: "10", row: 2 },
            { tag: "first of duplicates", text: "2", row: 1 },
            { tag: "missing number", text: "7", row: -1 },
            { tag: "prefix of a number", text: "1 ", row: -1 },
            { tag: "empty text", text: "", row: -1 },
            { tag: "leading zero", text: "01", row: -1 },
        ]
    }

    function test_positionAt(data) {
        var list = createTemporaryObject(listComponent, testCase)
        var field = findChild(list, "stylePositionField")
        field.text = "x"
        field.text = data.text
        compare(list.currentIndex, data.row)
    }

    function test_rowsAndPictures() {
        var list = createTemporaryObject(listComponent, testCase)
        var view = findChild(list, "stylesListView")
        compare(view.count, 5)
        compare(view.highlightMoveDuration, 250)
    }

    // The pictures are asked for again (under a new address) when the style
    // table is read again or another panel file is opened, even when the
    // style numbers stay the same.
    function test_picturesFollowTheFiles_data() {
        return [
            { tag: "style table read again", change: function() { panel.styleNumbers = panel.styleNumbers.slice() } },
            { tag: "another panel file", change: function() { panel.currentPanelFile = panel.currentPanelFile + "x" } },
        ]
    }

    function test_picturesFollowTheFiles(data) {
        var list = createTemporaryObject(listComponent, testCase)
        var view = findChild(list, "stylesListView")
        tryVerify(function() { return findChild(view, "normalStyleCell2") !== null })
        var normal = String(findChild(view, "normalStyleCell2").source)
        var highlight = String(findChild(view, "highlightStyleCell2").source)
        verify(normal.indexOf("image://styles/nm/10") === 0, normal)
        verify(highlight.indexOf("image://styles/hl/10") === 0, highlight)
        data.change()
        tryVerify(function() { var cell = findChild(view, "normalStyleCell2"); return cell && String(cell.source) !== normal })
        tryVerify(function() { var cell = findChild(view, "highlightStyleCell2"); return cell && String(cell.source) !== highlight })
        verify(String(findChild(view, "normalStyleCell2").source).indexOf("image://styles/nm/10") === 0)
    }

    function test_scaleSlider() {
        var list = createTemporaryObject(listComponent, testCase)
        var slider = findChild(list, "styleScaleSlider")
        compare(slider.from, 0.1)
        compare(slider.to, 4.0)
        compare(slider.stepSize, 0.1)
        compare(list.scaleFactor, 1.0)
    }
}
