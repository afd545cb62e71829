import QtQuick 2.15
import QtQuick.Controls 2.15

// Edits the properties of the panel's current section.
EditPage {
    id: page

    title: qsTr("Edit Key")

    function fill() {
        editor.setLines(panel.currentSectionProperties)
    }

    SectionPropertiesEditor {
        id: editor
        objectName: "editKeyEditor"
        anchors.fill: parent
        sectionName: panel.currentSectionName
    }

    onApplied: {
        // without a section the properties would land outside any section
        if (panel.currentSectionName === "")
            return
        panel.editSection(panel.currentSectionName, editor.lines())
        edited()
    }

    onPanelFileSwitched: fill()

    onReset: fill()

    // filled each time the page is shown, and again whenever the section's
    // properties change while it is shown (unapplied edits are dropped)
    StackView.onActivating: fill()

    Connections {
        target: panel
        enabled: page.shown
        function onCurrentSectionPropertiesChanged() {
            page.fill()
        }
    }
}
