import QtQuick 2.15
import QtQuick.Controls 2.15
import "SectionLines.js" as SectionLines

// Creates a new key section under a name the panel proposes.
EditPage {
    id: page

    title: qsTr("Add Key")

    function fill() {
        editor.sectionName = panel.getNewKey()
        editor.setRows(SectionLines.emptyRows(SectionLines.newKeyProperties))
    }

    SectionPropertiesEditor {
        id: editor
        objectName: "addKeyEditor"
        anchors.fill: parent
        nameEditable: true
    }

    onApplied: {
        // a section needs a name: without one the properties would land
        // outside any section
        if (editor.sectionName === "")
            return
        panel.editSection(editor.sectionName, editor.lines())
        edited()
    }

    onPanelFileSwitched: fill()

    onReset: fill()

    StackView.onActivating: fill()
}
