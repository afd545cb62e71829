import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "SectionLines.js" as SectionLines

// The properties of one section as editable rows of key, "=" and value.
ListView {
    id: view

    // the section's name, shown in the header as "[name]"
    property string sectionName
    // whether the header lets the author type the name (a new section)
    property bool nameEditable: false

    function setLines(lines) {
        setRows(SectionLines.parse(lines))
    }

    function setRows(rows) {
        rowModel.clear()
        for (var i = 0; i < rows.length; ++i)
            rowModel.append({ key: rows[i].key, value: rows[i].value })
        currentIndex = -1
    }

    function rows() {
        var list = []
        for (var i = 0; i < rowModel.count; ++i) {
            var row = rowModel.get(i)
            list.push({ key: row.key, value: row.value })
        }
        return list
    }

    function lines() {
        return SectionLines.build(rows())
    }

    function addRow() {
        rowModel.append({ key: "", value: "" })
        currentIndex = rowModel.count - 1
    }

    function clearCurrentValue() {
        if (currentIndex >= 0 && currentIndex < rowModel.count)
            rowModel.setProperty(currentIndex, "value", "")
    }

    clip: true
    spacing: 2
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar {}

    model: ListModel {
        id: rowModel
    }

    header: RowLayout {
        width: view.width - 8
        height: visible ? implicitHeight + 5 : 0
        visible: view.nameEditable || view.sectionName !== ""
        spacing: 2

        Label {
            visible: !view.nameEditable
            text: "[" + view.sectionName + "]"
            font.bold: true
            elide: Text.ElideRight
            Layout.fillWidth: true
        }
        Label {
            visible: view.nameEditable
            text: "["
            font.bold: true
        }
        PropertyField {
            objectName: "sectionNameField"
            visible: view.nameEditable
            text: view.sectionName
            font.bold: true
            Layout.fillWidth: true
            // a section name: letters, digits and underscores
            validator: RegularExpressionValidator { regularExpression: /[A-Za-z0-9_]*/ }
            onTextEdited: view.sectionName = text
        }
        Label {
            visible: view.nameEditable
            text: "]"
            font.bold: true
        }
    }

    delegate: RowLayout {
        id: row

        width: view.width - 8
        spacing: 2

        PropertyField {
            objectName: "keyField" + index
            text: model.key
            Layout.preferredWidth: (row.width - equalsLabel.width - 2 * row.spacing) / 2
            onTextEdited: model.key = text
            onActiveFocusChanged: if (activeFocus) view.currentIndex = index
        }
        Label {
            id: equalsLabel
            text: "="
        }
        PropertyField {
            objectName: "valueField" + index
            text: model.value
            Layout.preferredWidth: (row.width - equalsLabel.width - 2 * row.spacing) / 2
            onTextEdited: model.value = text
            onActiveFocusChanged: if (activeFocus) view.currentIndex = index
        }
    }

    footer: Row {
        spacing: 5
        topPadding: 5

        Button {
            objectName: "addRowButton"
            text: "+"
            width: 50
            height: 30
            topInset: 0
            bottomInset: 0
            onClicked: view.addRow()
        }
        Button {
            objectName: "clearValueButton"
            text: "-"
            width: 50
            height: 30
            topInset: 0
            bottomInset: 0
            enabled: view.currentIndex >= 0
            onClicked: view.clearCurrentValue()
        }
    }
}
