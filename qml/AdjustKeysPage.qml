import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "KeyFields.js" as KeyFields

// Sets or changes the rectangles of the selected keys (all keys when none is
// selected): each value is the absolute field (or the key's own value when it
// is empty) plus the relative field.
EditPage {
    id: page
    selection: selectedKeys

    title: qsTr("Adjust Keys")

    // the arguments of panel.adjustKeys after the key list: x, y, w, h, then
    // the four relative values
    function adjustValues() {
        return [KeyFields.absoluteOrKeep(xField.text), KeyFields.absoluteOrKeep(yField.text),
                KeyFields.absoluteOrKeep(wField.text), KeyFields.absoluteOrKeep(hField.text),
                KeyFields.numberOrZero(axField.text), KeyFields.numberOrZero(ayField.text),
                KeyFields.numberOrZero(awField.text), KeyFields.numberOrZero(ahField.text)]
    }

    ColumnLayout {
        width: parent.width
        spacing: 5

        Label {
            text: qsTr("keys (leave empty to adjust all)")
            Layout.fillWidth: true
            wrapMode: Text.Wrap
        }
        SelectedKeysLabel {
            id: selectedKeys
            objectName: "adjustSelectedKeys"
            Layout.fillWidth: true
        }

        GridLayout {
            columns: 4
            columnSpacing: 5
            rowSpacing: 0
            Layout.fillWidth: true
            Layout.topMargin: 5

            Label { text: qsTr("x:") }
            TextField { id: xField; objectName: "adjustXField"; Layout.fillWidth: true; selectByMouse: true; validator: IntValidator { bottom: 0 } }
            Label { text: "+" }
            TextField { id: axField; objectName: "adjustAxField"; Layout.fillWidth: true; selectByMouse: true; validator: IntValidator {} }

            Label { text: qsTr("y:") }
            TextField { id: yField; objectName: "adjustYField"; Layout.fillWidth: true; selectByMouse: true; validator: IntValidator { bottom: 0 } }
            Label { text: "+" }
            TextField { id: ayField; objectName: "adjustAyField"; Layout.fillWidth: true; selectByMouse: true; validator: IntValidator {} }

            Label { text: qsTr("w:") }
            TextField { id: wField; objectName: "adjustWField"; Layout.fillWidth: true; selectByMouse: true; validator: IntValidator { bottom: 0 } }
            Label { text: "+" }
            TextField { id: awField; objectName: "adjustAwField"; Layout.fillWidth: true; selectByMouse: true; validator: IntValidator {} }

            Label { text: qsTr("h:") }
            TextField { id: hField; objectName: "adjustHField"; Layout.fillWidth: true; selectByMouse: true; validator: IntValidator { bottom: 0 } }
            Label { text: "+" }
            TextField { id: ahField; objectName: "adjustAhField"; Layout.fillWidth: true; selectByMouse: true; validator: IntValidator {} }
        }

        Label {
            text: qsTr("leave empty to keep original value")
            Layout.fillWidth: true
            wrapMode: Text.Wrap
            color: "grey"
        }
    }

    onKeyPicked: {
        if (shown)
            selectedKeys.newSelectedKey(key)
    }

    onApplied: {
        panel.setHighlightPointF(Qt.point(-1, -1))
        var v = adjustValues()
        panel.adjustKeys(selectedKeys.getKeysList(), v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7])
        edited()
    }

    onPanelFileSwitched: selectedKeys.reset()

    onReset: {
        selectedKeys.reset()
        var fields = [xField, yField, wField, hField, axField, ayField, awField, ahField]
        for (var i = 0; i < fields.length; ++i)
            fields[i].text = ""
    }

    // On showing, the fields are cleared first and the panel's current key is
    // then taken into the selection, so that the key the author clicked
    // before opening the page is preselected.
    StackView.onActivating: {
        reset()
        // the preview's selection; else the key clicked last
        if (!takePreviewSelection() || selectedKeys.count === 0)
            selectedKeys.newSelectedKey(panel.currentKey)
    }
}
