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

    function test_scaleSlider() {
        var list = createTemporaryObject(listComponent, testCase)
        var slider = findChild(list, "styleScaleSlider")
        compare(slider.from, 0.1)
        compare(slider.to, 4.0)
        compare(slider.stepSize, 0.1)
        compare(list.scaleFactor, 1.0)
    }
}
