import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import "qrc:/"
import "qrc:/fontawesome/Icons.js" as Icons

TestCase {
    id: testCase
    name: "IconToolButton"
    when: windowShown
    visible: true
    width: 300
    height: 200

    Action {
        id: settingsAction
        text: "&Settings..."
    }

    Component {
        id: buttonComponent
        IconToolButton {
            x: 100
            y: 100
            action: settingsAction
            glyph: Icons.fa_cog
            // (the offscreen platform has no hover effects by default)
            hoverEnabled: true
        }
    }

    function test_toolTipComesWithTheFirstHover() {
        var button = createTemporaryObject(buttonComponent, testCase)
        mouseMove(testCase, 10, 10)
        compare(button.toolTip, null)
        compare(button.font.family, Icons.family)

        mouseMove(button, button.width / 2, button.height / 2)
        tryVerify(function() { return button.toolTip !== null })
        var tip = button.toolTip
        compare(tip.text, "Settings")
        compare(tip.parent, button)
        // words, not glyphs
        verify(tip.font.family !== Icons.family)
        tryCompare(tip, "visible", true)

        mouseMove(testCase, 10, 10)
        tryCompare(tip, "visible", false)
        // and the same one next time
        mouseMove(button, button.width / 2, button.height / 2)
        tryCompare(tip, "visible", true)
        compare(button.toolTip, tip)
        // closed before the button goes: a popup destroyed while it fades
        // out leaves an object of Qt's behind
        mouseMove(testCase, 10, 10)
        tryCompare(tip, "visible", false)
    }
}
