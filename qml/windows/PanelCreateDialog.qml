import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Dialogs 1.3
import QtQuick.Layouts 1.15
import "PanelRows.js" as PanelRows
import "FieldRules.js" as FieldRules
import "../FileKinds.js" as FileKinds

// Lays out a new panel file from the panel size, paddings and rows of keys.
// The target file is chosen first; the form then stays open for repeated
// "Create"s.
ToolDialog {
    id: dialog

    property string targetPath
    property var rows: PanelRows.defaultRows()

    title: qsTr("Create Panel")
    preferredHeight: 700

    // "&New Panel File...": the form appears once a target file is chosen.
    function chooseTarget() {
        if (rpSettings.skinDirectory !== "")
            targetDialog.folder = utils.localPathToUrl(rpSettings.skinDirectory)
        targetDialog.open()
    }

    function setTarget(path) {
        targetPath = path
        open()
    }

    function addRow() {
        rows = rows.concat([PanelRows.newRow()])
    }

    function replaceRow(index, row) {
        var copy = rows.slice()
        if (index >= 0 && index < copy.length)
            copy[index] = row
        rows = copy
    }

    function removeRow(index) {
        var copy = rows.slice()
        if (index >= 0 && index < copy.length)
            copy.splice(index, 1)
        rows = copy
    }

    function valueText(value) {
        return PanelRows.valueKind(value) === "auto" ? qsTr("Auto") : String(value)
    }

    function keyWidthText(value) {
        return PanelRows.keyWidthKind(value) === "same" ? qsTr("Same as last row") : valueText(value)
    }

    function alignmentText(value) {
        return value === 1 ? qsTr("Center") : (value === 2 ? qsTr("Right") : qsTr("Left"))
    }

    readonly property string sizeProblem: FieldRules.panelSideProblem(panelWidth.text)
                                          || FieldRules.panelSideProblem(panelHeight.text)
    readonly property string keyCountProblem: FieldRules.keyCountProblem(rows)

    // Hands the form to the panel creator and writes the file; false when
    // no target file was chosen or the form says what keeps it from being
    // laid out.
    function create() {
        if (targetPath === "" || sizeProblem !== "" || keyCountProblem !== "")
            return false
        panelCreator.width = panelWidth.number
        panelCreator.height = panelHeight.number
        panelCreator.leftPadding = leftPadding.number
        panelCreator.rightPadding = rightPadding.number
        panelCreator.topPadding = topPadding.number
        panelCreator.bottomPadding = bottomPadding.number
        panelCreator.rowSpacing = rowSpacing.number
        panelCreator.includeTouchRect = includeTouchRect.checked
        panelCreator.touchRectLeftPadding = touchLeft.number
        panelCreator.touchRectTopPadding = touchTop.number
        panelCreator.touchRectRightPadding = touchRight.number
        panelCreator.touchRectBottomPadding = touchBottom.number
        panelCreator.rowPropertiesList = PanelRows.rowMaps(rows)
        if (extraProperties.text !== "")
            panelCreator.extraProperties = extraProperties.text.split("\n")
        panelCreator.create(targetPath)
        return true
    }

    FileDialog {
        id: targetDialog
        objectName: "panelTargetDialog"
        title: qsTr("New Panel File")
        nameFilters: [qsTr("ini file (*.ini)")]
        selectExisting: false
        onAccepted: dialog.setTarget(FileKinds.withFilterSuffix(utils.urlToLocalPath(fileUrl.toString()),
                                                                nameFilters, selectedNameFilter))
    }

    component Hint: Label {
        color: "grey"
    }

    ScrollView {
        id: scroll
        anchors.fill: parent
        clip: true
        contentWidth: availableWidth

        ColumnLayout {
            width: scroll.availableWidth - 10
            spacing: 6

            Label {
                objectName: "targetLabel"
                Layout.fillWidth: true
                elide: Label.ElideMiddle
                color: "grey"
                text: dialog.targetPath
            }

            Label { text: qsTr("Panel size:") }
            RowLayout {
                NumberField { id: panelWidth; objectName: "panelWidth"; text: "1080" }
                NumberField { id: panelHeight; objectName: "panelHeight"; text: "680" }
                Hint { text: qsTr("(Width Height)") }
            }
            FieldMessage { objectName: "panelSizeProblem"; problem: dialog.sizeProblem }

            Label { text: qsTr("Panel padding:") }
            RowLayout {
                NumberField { id: leftPadding; objectName: "leftPadding"; text: "0"; implicitWidth: 55 }
                NumberField { id: topPadding; objectName: "topPadding"; text: "0"; implicitWidth: 55 }
                NumberField { id: rightPadding; objectName: "rightPadding"; text: "0"; implicitWidth: 55 }
                NumberField { id: bottomPadding; objectName: "bottomPadding"; text: "0"; implicitWidth: 55 }
                Hint { text: qsTr("(Left Top Right Bottom)") }
            }

            Label { text: qsTr("Row spacing:") }
            NumberField { id: rowSpacing; objectName: "rowSpacing"; text: "0" }

            CheckBox { id: includeTouchRect; objectName: "includeTouchRect"; text: qsTr("Include TOUCH_RECT") }
            Label {
                visible: includeTouchRect.checked
                text: qsTr("TOUCH_RECT padding (relative to VIEW_RECT):")
            }
            RowLayout {
                visible: includeTouchRect.checked
                NumberField { id: touchLeft; objectName: "touchLeft"; text: "0"; implicitWidth: 55 }
                NumberField { id: touchTop; objectName: "touchTop"; text: "0"; implicitWidth: 55 }
                NumberField { id: touchRight; objectName: "touchRight"; text: "0"; implicitWidth: 55 }
                NumberField { id: touchBottom; objectName: "touchBottom"; text: "0"; implicitWidth: 55 }
                Hint { text: qsTr("(Left Top Right Bottom)") }
            }

            Label { text: qsTr("Extra properties:") }
            TextArea {
                id: extraProperties
                objectName: "extraProperties"
                Layout.fillWidth: true
                Layout.preferredHeight: 100
                selectByMouse: true
                placeholderText: qsTr("Input extra properties here:") + "\nBACK_STYLE=118\nCENTER="
                background: Rectangle { border.color: "lightgrey" }
            }

            Repeater {
                objectName: "rowList"
                model: dialog.rows.length

                delegate: ItemDelegate {
                    objectName: "row" + index
                    readonly property var row: dialog.rows[index]
                    Layout.fillWidth: true
                    padding: 6
                    onClicked: rowEditor.edit(index, row)

                    contentItem: ColumnLayout {
                        spacing: 2
                        Label { text: qsTr("Row %1").arg(index + 1); font.bold: true }
                        Flow {
                            Layout.fillWidth: true
                            spacing: 10
                            Label { font.pointSize: 8; text: qsTr("Row height: ") + dialog.valueText(row.rowHeight) }
                            Label { font.pointSize: 8; text: qsTr("Keys number: ") + row.keysNumber }
                            Label { font.pointSize: 8; text: qsTr("Key width: ") + dialog.keyWidthText(row.keyWidth) }
                            Label { font.pointSize: 8; text: qsTr("Key spacing: ") + dialog.valueText(row.keySpacing) }
                            Label { font.pointSize: 8; text: qsTr("Alignment: ") + dialog.alignmentText(row.alignment) }
                        }
                    }
                    background: Rectangle {
                        color: parent.hovered ? "#eeeeee" : "transparent"
                        border.color: "lightgrey"
                    }
                }
            }

            FieldMessage { objectName: "keyCountProblem"; problem: dialog.keyCountProblem }

            Button {
                objectName: "addRowButton"
                text: qsTr("Add a row of keys")
                onClicked: dialog.addRow()
            }
        }
    }

    footer: DialogButtonBox {
        Button {
            objectName: "createButton"
            text: qsTr("Create")
            DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
            enabled: dialog.targetPath !== "" && dialog.sizeProblem === "" && dialog.keyCountProblem === ""
            onClicked: dialog.create()
        }
        Button {
            text: qsTr("Close")
            DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
        }
    }

    RowEditorDialog {
        id: rowEditor
        objectName: "rowEditor"
        onRowStored: dialog.replaceRow(index, row)
        onRowDeleted: dialog.removeRow(index)
    }
}
