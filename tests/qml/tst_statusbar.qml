import QtQuick 2.15
import QtTest 1.15
import "qrc:/"

// (the test names the icon font through the bar's own icon button: a script
// import here would hide a bar that cannot reach the glyph table itself)
TestCase {
    id: testCase
    name: "StatusBar"
    when: windowShown
    visible: true
    width: 900
    height: 100

    Component {
        id: barComponent
        StatusBar {
            width: testCase.width
            errorCount: 2
        }
    }

    function test_problemCountsShowTheirGlyph_data() {
        return [
            { tag: "errors", name: "errorCountLabel", count: "2" },
            { tag: "warnings", name: "warningCountLabel", count: "0" },
            { tag: "infos", name: "infoCountLabel", count: "0" },
        ]
    }

    // each glyph is drawn in the icon font, which has it
    function test_problemCountsShowTheirGlyph(data) {
        var bar = createTemporaryObject(barComponent, testCase)
        var iconButton = findChild(bar, "messageHistoryButton")
        var counter = findChild(bar, data.name)
        verify(iconButton && counter)
        var glyph = counter.children[0]
        compare(glyph.text.length, 1)
        compare(glyph.font.family, iconButton.font.family)
        compare(glyph.font.styleName, iconButton.font.styleName)
        compare(counter.children[1].text, data.count)
    }
}
