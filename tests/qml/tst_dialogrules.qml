import QtQuick 2.15
import QtTest 1.15
import "qrc:/ColorText.js" as ColorText
import "qrc:/windows/SettingsRules.js" as SettingsRules
import "qrc:/windows/PanelRows.js" as PanelRows
import "qrc:/windows/ScaleRule.js" as ScaleRule
import "qrc:/windows/FontPresets.js" as FontPresets
import "qrc:/windows/InnerRectMath.js" as InnerRectMath
import "qrc:/windows/FieldRules.js" as FieldRules

// The rules of the settings, colour, panel-create, panel-scale, font and
// inner-rect dialogs that do not need their controls.
Item {
    id: root
    property color probe

    TestCase {
        name: "ReloadInterval"

        function test_interval_data() {
            return [
                { tag: "default", text: "3000", value: 3000 },
                { tag: "lowest", text: "500", value: 500 },
                { tag: "highest", text: "10000", value: 10000 },
                { tag: "below the range", text: "300", value: -1 },
                { tag: "just below", text: "499", value: -1 },
                { tag: "just above", text: "10001", value: -1 },
                { tag: "empty", text: "", value: -1 },
                { tag: "negative", text: "-3000", value: -1 },
                { tag: "fraction", text: "3000.5", value: -1 },
                { tag: "letters after digits", text: "3000ms", value: -1 },
                { tag: "hexadecimal", text: "0x1000", value: -1 },
                { tag: "leading zeros", text: "0700", value: 700 },
                { tag: "surrounding blanks", text: " 1500 ", value: 1500 },
                { tag: "huge", text: "99999999999999999999", value: -1 },
            ]
        }

        function test_interval(data) {
            compare(SettingsRules.intervalValue(data.text), data.value)
        }
    }

    TestCase {
        name: "DebugClicks"

        // Clicks the button n times from (0 clicks, level) and returns the state.
        function clickTimes(n, level) {
            var state = { clicks: 0, level: level }
            for (var i = 0; i < n; ++i)
                state = SettingsRules.debugClick(state.clicks, state.level)
            return state
        }

        function test_clicks_data() {
            return [
                { tag: "four clicks change nothing", clicks: 4, from: 4, level: 4, count: 4 },
                { tag: "fifth click switches info to debug", clicks: 5, from: 4, level: 0, count: 0 },
                { tag: "fifth click switches debug to info", clicks: 5, from: 0, level: 4, count: 0 },
                { tag: "warning switches to debug", clicks: 5, from: 1, level: 0, count: 0 },
                { tag: "fatal switches to debug", clicks: 5, from: 3, level: 0, count: 0 },
                { tag: "ten clicks come back", clicks: 10, from: 4, level: 4, count: 0 },
                { tag: "count restarts after the switch", clicks: 7, from: 4, level: 0, count: 2 },
            ]
        }

        function test_clicks(data) {
            var state = clickTimes(data.clicks, data.from)
            compare(state.level, data.level)
            compare(state.clicks, data.count)
        }
    }

    TestCase {
        name: "SwitchSettings"

        // Behaves as the settings store does: the file without its default
        // decides whether a write happens.
        function makeStore(defaultValue) {
            var store = { file: undefined, writes: 0 }
            Object.defineProperty(store, "flag", {
                get: function() { return store.file === undefined ? defaultValue : store.file },
                set: function(v) {
                    if ((store.file === undefined ? false : store.file) === v)
                        return
                    store.file = v
                    store.writes += 1
                }
            })
            return store
        }

        function test_setSwitch_data() {
            return [
                { tag: "off on a fresh file whose default is on", defaultValue: true, file: undefined,
                  value: false, stored: false },
                { tag: "on on a fresh file whose default is off", defaultValue: false, file: undefined,
                  value: true, stored: true },
                { tag: "off when stored on", defaultValue: true, file: true, value: false, stored: false },
                { tag: "on when stored off", defaultValue: true, file: false, value: true, stored: true },
            ]
        }

        function test_setSwitch(data) {
            var store = makeStore(data.defaultValue)
            store.file = data.file
            SettingsRules.setSwitch(store, "flag", data.value)
            compare(store.flag, data.value)
            compare(store.file, data.stored)
        }

        function test_unchangedWritesNothing() {
            var store = makeStore(true)
            SettingsRules.setSwitch(store, "flag", true)
            compare(store.writes, 0)
            compare(store.file, undefined)
        }
    }

    TestCase {
        name: "ColorText"

        function test_parse_data() {
            return [
                { tag: "six digits are opaque", text: "#ff0000", color: "#ffff0000" },
                { tag: "eight digits carry alpha first", text: "#80ff0000", color: "#80ff0000" },
                { tag: "upper case", text: "#80ABCDEF", color: "#80abcdef" },
                { tag: "four digits refused", text: "#ff00", color: "" },
                { tag: "seven digits refused", text: "#ff00000", color: "" },
                { tag: "nine digits refused", text: "#ff0000000", color: "" },
                { tag: "no hash refused", text: "ff0000", color: "" },
                { tag: "colour name refused", text: "red", color: "" },
                { tag: "non hex digit refused", text: "#ff00zz", color: "" },
                { tag: "blank inside refused", text: "#ff 0000", color: "" },
                { tag: "empty refused", text: "", color: "" },
            ]
        }

        function test_parse(data) {
            compare(ColorText.parse(data.text), data.color)
            compare(ColorText.isValid(data.text), data.color !== "")
        }

        function test_halfTransparent() {
            root.probe = ColorText.parse("#80112233")
            var c = root.probe
            verify(Math.abs(c.a - 128 / 255) < 1e-6)
            compare(Math.round(c.r * 255), 0x11)
            compare(Math.round(c.b * 255), 0x33)
        }

        function test_format_data() {
            return [
                { tag: "opaque shows six digits", r: 1, g: 0, b: 0, a: 1, text: "#ff0000" },
                { tag: "translucent shows eight", r: 0, g: 0, b: 1, a: 128 / 255, text: "#800000ff" },
                { tag: "transparent black", r: 0, g: 0, b: 0, a: 0, text: "#00000000" },
            ]
        }

        function test_format(data) {
            compare(ColorText.format(data.r, data.g, data.b, data.a), data.text)
            // what is shown reads back as the same colour
            verify(ColorText.isValid(ColorText.format(data.r, data.g, data.b, data.a)))
        }

        function test_ring_data() {
            return [
                { tag: "white", r: 1, g: 1, b: 1, black: true },
                { tag: "black", r: 0, g: 0, b: 0, black: false },
                { tag: "pure red", r: 1, g: 0, b: 0, black: false },
                { tag: "yellow", r: 1, g: 1, b: 0, black: true },
                { tag: "exactly half", r: 0.5, g: 0.5, b: 0.5, black: false },
            ]
        }

        function test_ring(data) {
            compare(ColorText.ringIsBlack(data.r, data.g, data.b), data.black)
        }
    }

    TestCase {
        name: "PanelRows"

        function test_defaultRows() {
            var maps = PanelRows.rowMaps(PanelRows.defaultRows())
            compare(maps.length, 2)
            compare(maps[0], { rowHeight: -1, keysNumber: 10, keyWidth: 100, keySpacing: -1, alignment: 0 })
            compare(maps[1], { rowHeight: 80, keysNumber: 6, keyWidth: -1, keySpacing: 0, alignment: 0 })
        }

        function test_newRow() {
            compare(PanelRows.rowMaps([PanelRows.newRow()])[0],
                    { rowHeight: -1, keysNumber: 10, keyWidth: -1, keySpacing: 0, alignment: 0 })
        }

        function test_rowMapsFromText_data() {
            return [
                { tag: "numbers as text", row: { rowHeight: "70", keysNumber: "9", keyWidth: "90", keySpacing: "4", alignment: 2 },
                  map: { rowHeight: 70, keysNumber: 9, keyWidth: 90, keySpacing: 4, alignment: 2 } },
                { tag: "garbage becomes 0", row: { rowHeight: "abc", keysNumber: "", keyWidth: -2, keySpacing: -1, alignment: 1 },
                  map: { rowHeight: 0, keysNumber: 0, keyWidth: -2, keySpacing: -1, alignment: 1 } },
            ]
        }

        function test_rowMapsFromText(data) {
            compare(PanelRows.rowMaps([data.row])[0], data.map)
        }

        function test_texts() {
            compare(PanelRows.valueKind(-1), "auto")
            compare(PanelRows.valueKind(80), "number")
            compare(PanelRows.valueKind(0), "number")
            compare(PanelRows.keyWidthKind(-2), "same")
            compare(PanelRows.keyWidthKind(-1), "auto")
            compare(PanelRows.keyWidthKind(100), "number")
        }

        function noChecks() {
            return { heightAuto: false, widthAuto: false, sameAsLast: false, spacingAuto: false }
        }

        function test_checkRules_data() {
            return [
                { tag: "width auto clears same-as-last and spacing auto",
                  before: { heightAuto: true, widthAuto: false, sameAsLast: true, spacingAuto: true },
                  box: "widthAuto", checked: true,
                  after: { heightAuto: true, widthAuto: true, sameAsLast: false, spacingAuto: false } },
                { tag: "same-as-last clears width auto",
                  before: { heightAuto: false, widthAuto: true, sameAsLast: false, spacingAuto: false },
                  box: "sameAsLast", checked: true,
                  after: { heightAuto: false, widthAuto: false, sameAsLast: true, spacingAuto: false } },
                { tag: "spacing auto clears width auto",
                  before: { heightAuto: false, widthAuto: true, sameAsLast: false, spacingAuto: false },
                  box: "spacingAuto", checked: true,
                  after: { heightAuto: false, widthAuto: false, sameAsLast: false, spacingAuto: true } },
                { tag: "spacing auto keeps same-as-last",
                  before: { heightAuto: false, widthAuto: false, sameAsLast: true, spacingAuto: false },
                  box: "spacingAuto", checked: true,
                  after: { heightAuto: false, widthAuto: false, sameAsLast: true, spacingAuto: true } },
                { tag: "height auto touches nothing else",
                  before: { heightAuto: false, widthAuto: true, sameAsLast: false, spacingAuto: false },
                  box: "heightAuto", checked: true,
                  after: { heightAuto: true, widthAuto: true, sameAsLast: false, spacingAuto: false } },
                { tag: "unchecking clears only itself",
                  before: { heightAuto: false, widthAuto: false, sameAsLast: true, spacingAuto: true },
                  box: "spacingAuto", checked: false,
                  after: { heightAuto: false, widthAuto: false, sameAsLast: true, spacingAuto: false } },
            ]
        }

        function test_checkRules(data) {
            compare(PanelRows.afterCheck(data.before, data.box, data.checked), data.after)
        }

        function test_editorRow_data() {
            return [
                { tag: "all fixed, centred",
                  state: { keysNumber: "8", rowHeight: "90", heightAuto: false, keyWidth: "120", widthAuto: false,
                           sameAsLast: false, keySpacing: "5", spacingAuto: false, alignment: 1 },
                  row: { rowHeight: 90, keysNumber: 8, keyWidth: 120, keySpacing: 5, alignment: 1 } },
                { tag: "auto height ignores the field",
                  state: { keysNumber: "8", rowHeight: "90", heightAuto: true, keyWidth: "120", widthAuto: false,
                           sameAsLast: false, keySpacing: "5", spacingAuto: false, alignment: 2 },
                  row: { rowHeight: -1, keysNumber: 8, keyWidth: 120, keySpacing: 5, alignment: 2 } },
                { tag: "auto width counts the alignment as left",
                  state: { keysNumber: "8", rowHeight: "90", heightAuto: false, keyWidth: "120", widthAuto: true,
                           sameAsLast: false, keySpacing: "5", spacingAuto: false, alignment: 2 },
                  row: { rowHeight: 90, keysNumber: 8, keyWidth: -1, keySpacing: 5, alignment: 0 } },
                { tag: "auto spacing counts the alignment as left",
                  state: { keysNumber: "8", rowHeight: "90", heightAuto: false, keyWidth: "120", widthAuto: false,
                           sameAsLast: false, keySpacing: "5", spacingAuto: true, alignment: 1 },
                  row: { rowHeight: 90, keysNumber: 8, keyWidth: 120, keySpacing: -1, alignment: 0 } },
                { tag: "same as last row",
                  state: { keysNumber: "3", rowHeight: "", heightAuto: true, keyWidth: "", widthAuto: false,
                           sameAsLast: true, keySpacing: "0", spacingAuto: false, alignment: 2 },
                  row: { rowHeight: -1, keysNumber: 3, keyWidth: -2, keySpacing: 0, alignment: 2 } },
            ]
        }

        function test_editorRow(data) {
            compare(PanelRows.rowFromEditor(data.state), data.row)
        }

        function test_alignmentEnabled() {
            verify(PanelRows.alignmentEnabled(noChecks()))
            verify(!PanelRows.alignmentEnabled({ widthAuto: true, spacingAuto: false }))
            verify(!PanelRows.alignmentEnabled({ widthAuto: false, spacingAuto: true }))
            verify(PanelRows.alignmentEnabled({ widthAuto: false, spacingAuto: false, sameAsLast: true }))
        }

        // The editor shows a stored row and gives it back unchanged on Ok.
        function test_roundTrip_data() {
            return [
                { tag: "first default row", index: 0, row: PanelRows.defaultRows()[0] },
                { tag: "second default row", index: 1, row: PanelRows.defaultRows()[1] },
                { tag: "same as last, right", index: 2, row: PanelRows.row(60, 4, -2, 10, 2) },
                { tag: "appended row", index: 2, row: PanelRows.newRow() },
            ]
        }

        function test_roundTrip(data) {
            compare(PanelRows.rowFromEditor(PanelRows.editorState(data.row, data.index)), data.row)
        }

        // an automatic value still leaves a usable number in its field
        function test_automaticFieldsShowNumbers() {
            var state = PanelRows.editorState(PanelRows.row(-1, 5, -1, -1, 0), 1)
            compare(state.rowHeight, "80")
            compare(state.keyWidth, "100")
            compare(state.keySpacing, "0")
            state.heightAuto = false
            state.widthAuto = false
            state.spacingAuto = false
            compare(PanelRows.rowFromEditor(state), PanelRows.row(80, 5, 100, 0, 0))
        }

        function test_firstRowCannotBeSameAsLast() {
            var state = PanelRows.editorState(PanelRows.row(-1, 5, -2, 0, 0), 0)
            verify(!state.sameAsLast)
        }
    }

    TestCase {
        name: "ScaleRule"

        function test_arguments_data() {
            return [
                { tag: "locked ratio gives four", lock: true,
                  args: ["/s", "/t", 1080, 720] },
                { tag: "free ratio gives six", lock: false,
                  args: ["/s", "/t", 1080, 720, 1920, 1280] },
            ]
        }

        function test_arguments(data) {
            compare(ScaleRule.scaleArguments("/s", "/t", data.lock, "1080", "720", "1920", "1280"), data.args)
        }

        function test_emptyFieldsAreZero() {
            compare(ScaleRule.scaleArguments("", "", false, "", "", "", ""), ["", "", 0, 0, 0, 0])
        }
    }

    TestCase {
        name: "FontPresets"

        function test_presets_data() {
            return [
                { tag: "upper abc", index: 0, count: 26, first: "A", last: "Z" },
                { tag: "lower abc", index: 1, count: 26, first: "a", last: "z" },
                { tag: "upper qwerty", index: 2, count: 26, first: "Q", last: "M" },
                { tag: "lower qwerty", index: 3, count: 26, first: "q", last: "m" },
                { tag: "digits", index: 4, count: 10, first: "0", last: "9" },
                { tag: "punctuation", index: 5, count: 15 + 7 + 6 + 4, first: "!", last: "~" },
                { tag: "unknown index", index: 9, count: 0 },
            ]
        }

        function test_presets(data) {
            var chars = FontPresets.characters(data.index)
            compare(chars.length, data.count)
            if (data.count > 0) {
                compare(chars[0], data.first)
                compare(chars[chars.length - 1], data.last)
            }
        }

        function test_qwertyOrder() {
            compare(FontPresets.characters(2).join(""), "QWERTYUIOPASDFGHJKLZXCVBNM")
        }

        function test_punctuationHasNoLettersOrDigits() {
            var chars = FontPresets.characters(5)
            for (var i = 0; i < chars.length; ++i) {
                verify(!/[A-Za-z0-9 ]/.test(chars[i]), chars[i])
                if (i > 0)
                    verify(chars[i].charCodeAt(0) > chars[i - 1].charCodeAt(0))
            }
        }

        function test_append_data() {
            return [
                { tag: "empty text", text: "", result: "0\n1\n2\n3\n4\n5\n6\n7\n8\n9" },
                { tag: "after a line", text: "x", result: "x\n0\n1\n2\n3\n4\n5\n6\n7\n8\n9" },
                { tag: "after a line break", text: "x\n", result: "x\n0\n1\n2\n3\n4\n5\n6\n7\n8\n9" },
            ]
        }

        function test_append(data) {
            compare(FontPresets.append(data.text, 4), data.result)
        }
    }

    TestCase {
        name: "InnerRectMath"

        function test_fitScale_data() {
            return [
                { tag: "wide area", iw: 100, ih: 50, aw: 400, ah: 100, scale: 2 },
                { tag: "tall area", iw: 100, ih: 50, aw: 200, ah: 1000, scale: 2 },
                { tag: "shrinks", iw: 1000, ih: 1000, aw: 250, ah: 500, scale: 0.25 },
                { tag: "empty image", iw: 0, ih: 0, aw: 250, ah: 500, scale: 1 },
                { tag: "no area yet", iw: 10, ih: 10, aw: 0, ah: 0, scale: 1 },
            ]
        }

        function test_fitScale(data) {
            compare(InnerRectMath.fitScale(data.iw, data.ih, data.aw, data.ah), data.scale)
        }

        function test_rectBetween() {
            compare(InnerRectMath.rectBetween(10.4, 9.6, 50.5, 50.2), { x: 10, y: 10, w: 41, h: 40 })
        }

        function test_previewSizes_data() {
            return [
                { tag: "square tile", w: 60, h: 60, sizes: [[50, 100], [100, 100], [100, 50]],
                  requests: [[60, 120], [120, 120], [120, 60]] },
                { tag: "wide tile", w: 100, h: 50, sizes: [[50, 50], [100, 50], [100, 25]],
                  requests: [[100, 100], [200, 100], [200, 50]] },
            ]
        }

        function test_previewSizes(data) {
            var sizes = InnerRectMath.previewSizes(data.w, data.h)
            compare(sizes.length, 3)
            for (var i = 0; i < 3; ++i) {
                compare([sizes[i].width, sizes[i].height], data.sizes[i])
                compare([sizes[i].requestWidth, sizes[i].requestHeight], data.requests[i])
            }
        }
    }

    TestCase {
        name: "FieldRules"

        function test_number_data() {
            return [
                { tag: "in range", text: "1080", ok: true },
                { tag: "lowest", text: "320", ok: true },
                { tag: "below", text: "319", ok: false },
                { tag: "above", text: "100001", ok: false },
                { tag: "empty", text: "", ok: false },
                { tag: "not a number", text: "12a", ok: false },
                { tag: "blanks around", text: " 720 ", ok: true },
            ]
        }

        function test_number(data) {
            compare(FieldRules.resolutionProblem(data.text) === "", data.ok)
        }

        function test_keyCount_data() {
            return [
                { tag: "the most keys", counts: [50000, 50000], ok: true },
                { tag: "one key too many", counts: [50000, 50001], ok: false },
                { tag: "negative counts take nothing", counts: [-5, 100000], ok: true },
            ]
        }

        function test_keyCount(data) {
            var rows = data.counts.map(function(n) { return { keysNumber: n } })
            compare(FieldRules.keyCountProblem(rows) === "", data.ok)
        }

        function test_emptyNames() {
            verify(FieldRules.directoryProblem("  ") !== "")
            compare(FieldRules.directoryProblem("/skin"), "")
            verify(FieldRules.fileProblem("") !== "")
            verify(FieldRules.allClear(["", ""]))
            verify(!FieldRules.allClear(["", "x"]))
        }
    }
}
