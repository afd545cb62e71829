import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import "qrc:/"
import "qrc:/KeyPick.js" as KeyPick

// The key editing pages in a stack, against the recording panel stand-in.
TestCase {
    id: testCase
    name: "KeyPages"
    when: windowShown
    visible: true
    width: 300
    height: 600

    StackView {
        id: stack
        anchors.fill: parent
        initialItem: Page { objectName: "bottomPage" }
    }

    Component { id: moveComponent; MoveKeysPage {} }
    Component { id: adjustComponent; AdjustKeysPage {} }
    Component { id: alignComponent; AlignKeysPage {} }
    Component { id: removeComponent; RemoveKeysPage {} }
    Component { id: exchangeComponent; ExchangeKeysPage {} }

    function init() {
        panel.clearCalls()
        panel.currentKey = ""
    }

    function cleanup() {
        stack.pop(null, StackView.Immediate)
    }

    function show(component) {
        var page = createTemporaryObject(component, testCase)
        verify(page)
        stack.push(page, {}, StackView.Immediate)
        tryCompare(page.StackView, "status", StackView.Active)
        // let the layouts place the fields and buttons before clicking them
        waitForRendering(stack)
        return page
    }

    // the author clicks a key on the preview
    function pick(key) {
        KeyPick.run(function() { panel.announceCurrentKey(key) })
    }

    // A click that cannot join an earlier test's click into a double click.
    function click(item) {
        verify(item)
        wait(Qt.styleHints.mouseDoubleClickInterval + 20)
        mouseClick(item)
    }

    function button(page, text) {
        var box = findChild(page, "buttonBox")
        for (var i = 0; i < box.count; ++i)
            if (box.itemAt(i).text === text)
                return box.itemAt(i)
        return null
    }

    function setField(page, name, text) {
        var field = findChild(page, name)
        verify(field, name)
        field.text = text
    }

    function test_moveAfterResetSendsZeroDistances() {
        var page = show(moveComponent)
        page.applied()
        compare(panel.callNames(), ["setHighlightPointF", "moveKeys"])
        compare(panel.calls[0].args[0], Qt.point(-1, -1))
        compare(panel.calls[1].args, [[], 0, 0])
    }

    function test_moveTogglesPickedKeys() {
        var page = show(moveComponent)
        pick("KEY3")
        pick("KEY5")
        pick("KEY3")
        setField(page, "moveXField", "12")
        setField(page, "moveYField", "-4")
        click(button(page, "Apply"))
        compare(panel.lastCall("moveKeys").args, [["KEY5"], 12, -4])
    }

    function test_moveCountsPicksWhileHidden() {
        var page = createTemporaryObject(moveComponent, testCase)
        pick("KEY7")
        compare(findChild(page, "moveSelectedKeys").getKeysList(), ["KEY7"])
        // showing the page starts afresh
        stack.push(page, {}, StackView.Immediate)
        compare(findChild(page, "moveSelectedKeys").getKeysList(), [])
        compare(findChild(page, "moveXField").text, "")
    }

    function test_repeatedRenderDoesNotToggle() {
        var page = show(moveComponent)
        pick("KEY2")
        // a later render (status change, reload from disk) repeats the key
        panel.announceCurrentKey("KEY2")
        compare(findChild(page, "moveSelectedKeys").getKeysList(), ["KEY2"])
    }

    function test_adjust_data() {
        return [
            { tag: "only the absolute width", fields: { adjustWField: "100" },
              values: [-1, -1, 100, -1, 0, 0, 0, 0] },
            { tag: "nothing filled", fields: {}, values: [-1, -1, -1, -1, 0, 0, 0, 0] },
            { tag: "absolute zero is a value", fields: { adjustXField: "0", adjustYField: "0" },
              values: [0, 0, -1, -1, 0, 0, 0, 0] },
            { tag: "relative only", fields: { adjustAyField: "10", adjustAhField: "-5" },
              values: [-1, -1, -1, -1, 0, 10, 0, -5] },
            { tag: "a lone minus counts as empty", fields: { adjustAxField: "-", adjustHField: "" },
              values: [-1, -1, -1, -1, 0, 0, 0, 0] },
            { tag: "all eight", fields: { adjustXField: "1", adjustYField: "2", adjustWField: "3", adjustHField: "4",
                                          adjustAxField: "5", adjustAyField: "6", adjustAwField: "7", adjustAhField: "8" },
              values: [1, 2, 3, 4, 5, 6, 7, 8] },
        ]
    }

    function test_adjust(data) {
        var page = show(adjustComponent)
        for (var name in data.fields)
            setField(page, name, data.fields[name])
        page.applied()
        compare(panel.callNames(), ["setHighlightPointF", "adjustKeys"])
        compare(panel.calls[0].args[0], Qt.point(-1, -1))
        compare(panel.calls[1].args, [[]].concat(data.values))
    }

    function test_adjustPreselectsTheCurrentKey() {
        panel.currentKey = "KEY9"
        var page = show(adjustComponent)
        compare(findChild(page, "adjustSelectedKeys").getKeysList(), ["KEY9"])
        pick("KEY4")
        pick("KEY9")
        page.applied()
        compare(panel.lastCall("adjustKeys").args[0], ["KEY4"])
    }

    function test_adjustResetsOnActivation() {
        var page = show(adjustComponent)
        setField(page, "adjustWField", "80")
        stack.pop(null, StackView.Immediate)
        stack.push(page, {}, StackView.Immediate)
        compare(findChild(page, "adjustWField").text, "")
    }

    function test_hiddenAdjustPageIgnoresPicks() {
        var page = createTemporaryObject(adjustComponent, testCase)
        pick("KEY1")
        compare(findChild(page, "adjustSelectedKeys").getKeysList(), [])
    }

    function test_alignButtons_data() {
        var texts = ["Align left", "Align top", "Align right", "Align bottom", "Align center",
                     "Align middle", "Distribute vertically", "Distribute horizontally"]
        var rows = []
        for (var i = 0; i < texts.length; ++i)
            rows.push({ tag: texts[i], type: i, text: texts[i] })
        return rows
    }

    function test_alignButtons(data) {
        var page = show(alignComponent)
        pick("KEY1")
        pick("KEY2")
        var alignButton = findChild(page, "alignButton" + data.type)
        verify(alignButton)
        compare(alignButton.text, data.text)
        compare(alignButton.height, 40)
        panel.clearCalls()
        alignButton.clicked()
        compare(panel.callNames(), ["setHighlightPointF", "alignKeys"])
        compare(panel.calls[0].args[0], Qt.point(0, 0))
        compare(panel.calls[1].args, [["KEY1", "KEY2"], data.type])
    }

    function test_alignApplyDoesNothing() {
        var page = show(alignComponent)
        page.applied()
        compare(panel.calls, [])
    }

    function test_remove() {
        var page = show(removeComponent)
        pick("KEY8")
        page.applied()
        compare(panel.callNames(), ["setHighlightPointF", "removeKeys"])
        compare(panel.calls[0].args[0], Qt.point(0, 0))
        compare(panel.calls[1].args, [["KEY8"]])
    }

    function test_exchangeNeedsTwoKeys() {
        var page = show(exchangeComponent)
        pick("KEY1")
        page.applied()
        compare(panel.callNames(), ["setHighlightPointF"])
        compare(panel.calls[0].args[0], Qt.point(-1, -1))
    }

    function test_exchangeFillsTheActiveSlot() {
        var page = show(exchangeComponent)
        pick("KEY1")
        compare(page.firstKey, "KEY1")
        click(findChild(page, "secondKeySlot"))
        compare(page.activeSlot, 1)
        pick("KEY6")
        pick("KEY7")
        compare(page.firstKey, "KEY1")
        compare(page.secondKey, "KEY7")
        page.applied()
        compare(panel.lastCall("exchangeKeys").args, ["KEY1", "KEY7"])
    }

    function test_exchangeKeepsItsSlotsWhenShownAgain() {
        var page = show(exchangeComponent)
        pick("KEY1")
        stack.pop(null, StackView.Immediate)
        stack.push(page, {}, StackView.Immediate)
        compare(page.firstKey, "KEY1")
        page.reset()
        compare(page.firstKey, "")
        compare(page.activeSlot, 0)
    }

    function test_cancelResetsAndReturns() {
        var page = show(moveComponent)
        pick("KEY1")
        click(button(page, "Cancel"))
        tryCompare(stack, "depth", 1)
        compare(findChild(page, "moveSelectedKeys").getKeysList(), [])
        compare(panel.calls, [])
    }
}
