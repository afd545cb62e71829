import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "PanelRows.js" as PanelRows

// Edits one row of keys of the panel-create dialog. A field is disabled
// while its "Auto" (or "Same as last row") is checked.
ToolDialog {
    id: editor

    property int rowIndex: -1

    signal rowStored(int index, var row)
    signal rowDeleted(int index)

    // rows are added with the defaults; the editor changes one of them
    title: qsTr("Edit row %1").arg(rowIndex + 1)
    preferredHeight: 700

    function checks() {
        return { heightAuto: heightAuto.checked, widthAuto: widthAuto.checked,
                 sameAsLast: sameAsLast.checked, spacingAuto: spacingAuto.checked }
    }

    function applyChecks(state) {
        heightAuto.checked = state.heightAuto
        widthAuto.checked = state.widthAuto
        sameAsLast.checked = state.sameAsLast
        spacingAuto.checked = state.spacingAuto
    }

    // The user switched one of the check boxes: the rules clear the others.
    function toggle(box, checked) {
        applyChecks(PanelRows.afterCheck(checks(), box, checked))
    }

    function state() {
        var s = checks()
        s.keysNumber = keysNumber.text
        s.rowHeight = rowHeight.text
        s.keyWidth = keyWidth.text
        s.keySpacing = keySpacing.text
        s.alignment = alignCenter.checked ? 1 : (alignRight.checked ? 2 : 0)
        return s
    }

    function edit(index, row) {
        rowIndex = index
        var s = PanelRows.editorState(row, index)
        keysNumber.text = s.keysNumber
        rowHeight.text = s.rowHeight
        keyWidth.text = s.keyWidth
        keySpacing.text = s.keySpacing
        applyChecks(s)
        alignLeft.checked = s.alignment === 0
        alignCenter.checked = s.alignment === 1
        alignRight.checked = s.alignment === 2
        open()
    }

    function store() {
        rowStored(rowIndex, PanelRows.rowFromEditor(state()))
        close()
    }

    function remove() {
        rowDeleted(rowIndex)
        close()
    }

    GridLayout {
        width: parent.width
        columns: 2
        columnSpacing: 10
        rowSpacing: 6

        Label { text: qsTr("Keys number:") }
        NumberField { id: keysNumber; objectName: "rowKeysNumber"; minimum: 0 }

        Label { text: qsTr("Row height:") }
        RowLayout {
            NumberField { id: rowHeight; objectName: "rowHeight"; minimum: 0; enabled: !heightAuto.checked }
            CheckBox {
                id: heightAuto
                objectName: "rowHeightAuto"
                text: qsTr("Auto")
                onToggled: editor.toggle("heightAuto", checked)
            }
        }

        Label { text: qsTr("Key width:") }
        RowLayout {
            NumberField {
                id: keyWidth
                objectName: "rowKeyWidth"
                minimum: 0
                enabled: !widthAuto.checked && !sameAsLast.checked
            }
            CheckBox {
                id: widthAuto
                objectName: "rowKeyWidthAuto"
                text: qsTr("Auto")
                onToggled: editor.toggle("widthAuto", checked)
            }
            CheckBox {
                id: sameAsLast
                objectName: "rowSameAsLast"
                text: qsTr("Same as last row")
                enabled: editor.rowIndex > 0
                onToggled: editor.toggle("sameAsLast", checked)
            }
        }

        Label { text: qsTr("Key spacing:") }
        RowLayout {
            NumberField { id: keySpacing; objectName: "rowKeySpacing"; minimum: 0; enabled: !spacingAuto.checked }
            CheckBox {
                id: spacingAuto
                objectName: "rowKeySpacingAuto"
                text: qsTr("Auto")
                onToggled: editor.toggle("spacingAuto", checked)
            }
        }

        Label { text: qsTr("Alignment:"); Layout.alignment: Qt.AlignTop | Qt.AlignLeft; Layout.topMargin: 12 }
        ColumnLayout {
            enabled: PanelRows.alignmentEnabled({ widthAuto: widthAuto.checked, spacingAuto: spacingAuto.checked })
            spacing: 0
            RadioButton { id: alignLeft; objectName: "rowAlignLeft"; text: qsTr("Align left"); checked: true }
            RadioButton { id: alignCenter; objectName: "rowAlignCenter"; text: qsTr("Align center") }
            RadioButton { id: alignRight; objectName: "rowAlignRight"; text: qsTr("Align right") }
        }
    }

    footer: DialogButtonBox {
        Button {
            objectName: "rowOkButton"
            text: qsTr("Ok")
            DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
            onClicked: editor.store()
        }
        Button {
            objectName: "rowDeleteButton"
            text: qsTr("Delete")
            DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
            onClicked: editor.remove()
        }
        Button {
            objectName: "rowCancelButton"
            text: qsTr("Cancel")
            DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
        }
    }
}
