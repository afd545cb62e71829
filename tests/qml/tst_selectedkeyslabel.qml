import QtQuick 2.15
import QtTest 1.15
import "qrc:/"

TestCase {
    name: "SelectedKeysLabel"
    when: windowShown

    Component {
        id: labelComponent
        SelectedKeysLabel {
            width: 200
        }
    }

    function test_toggle_data() {
        return [
            { tag: "one key", picks: ["KEY1"], keys: ["KEY1"] },
            { tag: "insertion order kept", picks: ["KEY3", "KEY1", "KEY2"], keys: ["KEY3", "KEY1", "KEY2"] },
            { tag: "same key twice removes it", picks: ["KEY1", "KEY1"], keys: [] },
            { tag: "removal keeps the others' order", picks: ["KEY1", "KEY2", "KEY3", "KEY2"], keys: ["KEY1", "KEY3"] },
            { tag: "re-added key goes to the end", picks: ["KEY1", "KEY2", "KEY1", "KEY1"], keys: ["KEY2", "KEY1"] },
            { tag: "three picks of one key", picks: ["KEY5", "KEY5", "KEY5"], keys: ["KEY5"] },
            { tag: "empty name ignored", picks: ["", "KEY1", ""], keys: ["KEY1"] },
            { tag: "undefined ignored", picks: [undefined, "KEY2"], keys: ["KEY2"] },
            { tag: "names differing in case are different keys", picks: ["KEY1", "key1"], keys: ["KEY1", "key1"] },
        ]
    }

    function test_toggle(data) {
        var label = createTemporaryObject(labelComponent, this)
        verify(label)
        for (var i = 0; i < data.picks.length; ++i)
            label.newSelectedKey(data.picks[i])
        compare(label.getKeysList(), data.keys)
        compare(label.text, data.keys.join(" "))
        compare(label.count, data.keys.length)
    }

    function test_listIsACopy() {
        var label = createTemporaryObject(labelComponent, this)
        label.newSelectedKey("KEY1")
        var list = label.getKeysList()
        list.push("KEY9")
        compare(label.getKeysList(), ["KEY1"])
    }

    function test_reset() {
        var label = createTemporaryObject(labelComponent, this)
        label.newSelectedKey("KEY1")
        label.newSelectedKey("KEY2")
        label.reset()
        compare(label.getKeysList(), [])
        compare(label.text, "")
        label.newSelectedKey("KEY2")
        compare(label.getKeysList(), ["KEY2"])
    }

    function test_wrapsLongSelections() {
        var label = createTemporaryObject(labelComponent, this, { width: 80 })
        var oneLine = label.height
        for (var i = 1; i <= 12; ++i)
            label.newSelectedKey("KEY" + i)
        verify(label.height > oneLine, "a long selection wraps onto more lines")
        verify(oneLine > 0, "an empty selection still takes one line")
    }
}
