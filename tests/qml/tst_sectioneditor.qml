import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import "qrc:/"
import "qrc:/SectionLines.js" as SectionLines

// The rows of the edit-key and add-key pages.
TestCase {
    id: testCase
    name: "SectionEditor"
    when: windowShown
    visible: true
    width: 300
    height: 600

    StackView {
        id: stack
        anchors.fill: parent
        initialItem: Page {}
    }

    Component { id: editorComponent; SectionPropertiesEditor { width: 280; height: 500 } }
    Component { id: editKeyComponent; EditKeyPage {} }
    Component { id: addKeyComponent; AddKeyPage {} }

    function init() {
        panel.clearCalls()
        panel.currentSectionName = ""
        panel.currentSectionProperties = []
    }

    function cleanup() {
        stack.pop(null, StackView.Immediate)
    }

    function show(component) {
        var page = createTemporaryObject(component, testCase)
        verify(page)
        stack.push(page, {}, StackView.Immediate)
        tryCompare(page.StackView, "status", StackView.Active)
        waitForRendering(stack)
        return page
    }

    function test_parse_data() {
        return [
            { tag: "plain lines", lines: ["VIEW_RECT=1,2,3,4", "BACK_STYLE=2"],
              rows: [{ key: "VIEW_RECT", value: "1,2,3,4" }, { key: "BACK_STYLE", value: "2" }] },
            { tag: "line without = skipped", lines: ["bad", "UP=a"], rows: [{ key: "UP", value: "a" }] },
            { tag: "split at the first =", lines: ["CENTER=a=b"], rows: [{ key: "CENTER", value: "a=b" }] },
            { tag: "empty value", lines: ["UP="], rows: [{ key: "UP", value: "" }] },
            { tag: "empty key kept", lines: ["=7"], rows: [{ key: "", value: "7" }] },
            { tag: "blank line skipped", lines: [""], rows: [] },
            { tag: "no lines", lines: [], rows: [] },
            { tag: "undefined", lines: undefined, rows: [] },
        ]
    }

    function test_parse(data) {
        compare(SectionLines.parse(data.lines), data.rows)
    }

    function test_buildKeepsEveryRow() {
        compare(SectionLines.build([{ key: "UP", value: "" }, { key: "", value: "" }, { key: "A", value: "1" }]),
                ["UP=", "=", "A=1"])
    }

    function test_roundTrip() {
        var editor = createTemporaryObject(editorComponent, testCase)
        var lines = ["VIEW_RECT=6,12,96,132", "FORE_STYLE=56,70", "NAME=a=b", "CENTER="]
        editor.setLines(lines)
        compare(editor.count, 4)
        compare(editor.lines(), lines)
    }

    function test_plusAppendsAnEmptyRow() {
        var editor = createTemporaryObject(editorComponent, testCase)
        editor.setLines(["UP=1"])
        waitForRendering(editor)
        mouseClick(findChild(editor, "addRowButton"))
        compare(editor.count, 2)
        compare(editor.lines(), ["UP=1", "="])
    }

    function test_minusEmptiesTheCurrentValue() {
        var editor = createTemporaryObject(editorComponent, testCase)
        editor.setLines(["UP=1", "LEFT=2", "RIGHT=3"])
        waitForRendering(editor)
        var minus = findChild(editor, "clearValueButton")
        verify(!minus.enabled, "nothing to clear before a row is chosen")
        // focusing a field makes its row the current one
        mouseClick(findChild(editor, "keyField0"))
        compare(editor.currentIndex, 0)
        mouseClick(minus)
        compare(editor.lines(), ["UP=", "LEFT=2", "RIGHT=3"])
        mouseClick(findChild(editor, "valueField2"))
        compare(editor.currentIndex, 2)
        mouseClick(minus)
        compare(editor.lines(), ["UP=", "LEFT=2", "RIGHT="])
    }

    function test_typingWritesTheRow() {
        var editor = createTemporaryObject(editorComponent, testCase)
        editor.setLines(["UP=1"])
        waitForRendering(editor)
        var value = findChild(editor, "valueField0")
        mouseClick(value)
        keyClick(Qt.Key_End)
        keyClick(Qt.Key_2)
        var key = findChild(editor, "keyField0")
        mouseClick(key)
        keyClick(Qt.Key_Home)
        keyClick("X")
        compare(editor.lines(), ["XUP=12"])
    }

    function test_editKeyFillsFromTheSection() {
        panel.currentSectionName = "KEY1"
        panel.currentSectionProperties = ["VIEW_RECT=6,12,96,132", "no equals sign", "UP=a"]
        var page = show(editKeyComponent)
        var editor = findChild(page, "editKeyEditor")
        compare(editor.sectionName, "KEY1")
        compare(editor.lines(), ["VIEW_RECT=6,12,96,132", "UP=a"])
    }

    function test_editKeyApply() {
        panel.currentSectionName = "KEY2"
        panel.currentSectionProperties = ["UP=x", "LEFT=y"]
        var page = show(editKeyComponent)
        var editor = findChild(page, "editKeyEditor")
        editor.currentIndex = 0
        editor.clearCurrentValue()
        editor.addRow()
        page.applied()
        compare(panel.callNames(), ["editSection"])
        compare(panel.calls[0].args, ["KEY2", ["UP=", "LEFT=y", "="]])
    }

    function test_editKeyWithoutSectionDoesNothing() {
        var page = show(editKeyComponent)
        findChild(page, "editKeyEditor").addRow()
        page.applied()
        compare(panel.lastCall("editSection"), null)
    }

    function test_editKeyFollowsTheSectionWhileShown() {
        panel.currentSectionName = "KEY1"
        panel.currentSectionProperties = ["UP=1"]
        var page = show(editKeyComponent)
        var editor = findChild(page, "editKeyEditor")
        editor.addRow()
        panel.currentSectionName = "KEY2"
        panel.currentSectionProperties = ["UP=2", "LEFT=3"]
        compare(editor.lines(), ["UP=2", "LEFT=3"])
        stack.pop(null, StackView.Immediate)
        panel.currentSectionProperties = ["CENTER=4"]
        compare(editor.lines(), ["UP=2", "LEFT=3"], "a hidden page keeps its rows")
        stack.push(page, {}, StackView.Immediate)
        compare(editor.lines(), ["CENTER=4"])
    }

    function test_addKeyRows() {
        panel.newKey = "KEY18"
        var page = show(addKeyComponent)
        var editor = findChild(page, "addKeyEditor")
        compare(editor.sectionName, "KEY18")
        compare(editor.lines(), ["BACK_STYLE=", "FORE_STYLE=", "POS_TYPE=", "VIEW_RECT=",
                                 "UP=", "LEFT=", "RIGHT=", "CENTER="])
        verify(panel.callNames().indexOf("getNewKey") >= 0)
    }

    function test_addKeyAsksForANameEachTimeItIsShown() {
        panel.newKey = "KEY3"
        var page = show(addKeyComponent)
        var editor = findChild(page, "addKeyEditor")
        editor.setLines(["UP=9"])
        stack.pop(null, StackView.Immediate)
        panel.newKey = "KEY4"
        stack.push(page, {}, StackView.Immediate)
        compare(editor.sectionName, "KEY4")
        compare(editor.count, 8)
    }

    function test_addKeyApplyUsesTheTypedName() {
        panel.newKey = "KEY30"
        var page = show(addKeyComponent)
        var editor = findChild(page, "addKeyEditor")
        var nameField = findChild(editor, "sectionNameField")
        verify(nameField && nameField.visible)
        compare(nameField.text, "KEY30")
        mouseClick(nameField)
        keyClick(Qt.Key_End)
        keyClick(Qt.Key_1)
        compare(editor.sectionName, "KEY301")
        page.applied()
        var call = panel.lastCall("editSection")
        compare(call.args[0], "KEY301")
        compare(call.args[1].length, 8)
    }

    function test_addKeyWithoutNameDoesNothing() {
        var page = show(addKeyComponent)
        findChild(page, "addKeyEditor").sectionName = ""
        page.applied()
        compare(panel.lastCall("editSection"), null)
    }
}
