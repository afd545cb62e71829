import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import "qrc:/"

// The colour picker on its own: what its square, sliders and text field do
// to the colour, and how a new colour moves them.
TestCase {
    id: testCase
    name: "CustomColorDialog"
    when: windowShown
    visible: true
    width: 500
    height: 500

    Component {
        id: pickerComponent
        CustomColorDialog {}
    }

    Component {
        id: fieldComponent
        TextField {}
    }

    function openPicker(color) {
        var picker = createTemporaryObject(pickerComponent, testCase)
        picker.currentColor = color
        picker.open()
        tryCompare(picker, "opened", true)
        return picker
    }

    function child(picker, name) {
        return findChild(picker.contentItem, name)
    }

    function test_colourMovesEverything() {
        var picker = openPicker("#80ff0000")
        compare(child(picker, "colorTextField").text, "#80ff0000")
        fuzzyCompare(child(picker, "alphaSlider").value, 128 / 255, 0.002)
        compare(child(picker, "hueSlider").value, 0)
        picker.currentColor = "#00ff00"
        compare(child(picker, "colorTextField").text, "#00ff00")
        fuzzyCompare(child(picker, "hueSlider").value, 1 / 3, 0.002)
        compare(child(picker, "alphaSlider").value, 0.9999)
    }

    function test_ringMarksSaturationAndValue() {
        var picker = openPicker(Qt.hsva(0.5, 0.25, 0.75, 1))
        var square = child(picker, "colorSquare")
        var ring = child(picker, "colorRing")
        fuzzyCompare(ring.x + ring.width / 2, 0.25 * square.width, 1)
        fuzzyCompare(ring.y + ring.height / 2, 0.25 * square.height, 1)
        // a light colour gets a black ring, a dark one a white ring
        compare(ring.border.color, Qt.rgba(0, 0, 0, 1))
        picker.currentColor = "#202020"
        compare(ring.border.color, Qt.rgba(1, 1, 1, 1))
    }

    function test_squareSetsSaturationAndValue() {
        var picker = openPicker(Qt.hsva(2 / 3, 1, 1, 0.5))
        var square = child(picker, "colorSquare")
        mouseClick(square, square.width / 2, square.height / 4)
        fuzzyCompare(picker.currentColor.hsvSaturation, 0.5, 0.02)
        fuzzyCompare(picker.currentColor.hsvValue, 0.75, 0.02)
        // hue and alpha are kept
        fuzzyCompare(picker.currentColor.hsvHue, 2 / 3, 0.01)
        fuzzyCompare(picker.currentColor.a, 0.5, 0.01)
    }

    function test_greyKeepsItsHue() {
        var picker = openPicker(Qt.hsva(0.5, 1, 1, 1))
        var square = child(picker, "colorSquare")
        // to the white edge and back: the hue of the square stays
        mouseClick(square, 0, 0)
        mouseClick(square, square.width - 1, 0)
        fuzzyCompare(picker.currentColor.hsvHue, 0.5, 0.01)
    }

    function test_copyButton() {
        var picker = openPicker("#80abcdef")
        mouseClick(child(picker, "copyColorButton"))
        // what lands on the clipboard pastes into any field
        var field = createTemporaryObject(fieldComponent, testCase)
        field.paste()
        compare(field.text, "#80abcdef")
        compare(child(picker, "colorTextField").selectedText, "")
    }

    function test_typedText_data() {
        return [
            { tag: "eight digits", text: "#80112233", color: "#80112233", red: false },
            { tag: "six digits", text: "#112233", color: "#ff112233", red: false },
            { tag: "four digits", text: "#1122", color: "#ff445566", red: true },
            // the first six digits were a colour on the way; the seventh is not
            { tag: "seven digits", text: "#1122334", color: "#ff112233", red: true },
            { tag: "a name", text: "red", color: "#ff445566", red: true },
        ]
    }

    function test_typedText(data) {
        var picker = openPicker("#445566")
        var field = child(picker, "colorTextField")
        field.forceActiveFocus()
        field.selectAll()
        keyClick(Qt.Key_Delete)
        for (var i = 0; i < data.text.length; ++i)
            keyClick(data.text.charAt(i))
        compare(field.text, data.text)
        compare(String(picker.currentColor), data.color.substring(0, 3) === "#ff" ? "#" + data.color.substring(3)
                                                                                   : data.color)
        compare(field.color === Qt.rgba(1, 0, 0, 1), data.red)
    }
}
