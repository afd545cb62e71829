import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Dialogs 1.3
import QtQuick.Layouts 1.15
import "FontPresets.js" as FontPresets
import "FieldRules.js" as FieldRules
import "../FileKinds.js" as FileKinds
import ".."
import "../fontawesome/Icons.js" as Icons

// Renders lines of text in a chosen font into numbered resource images.
ToolDialog {
    id: dialog

    // read once, as the generator takes them once (the property has no
    // change signal for a binding to follow)
    property var systemFamilies: []
    readonly property var families: useSystemFont.checked ? systemFamilies : fontResGenerator.customFontFamilies

    // set by the first Generate: an empty text is pointed out from then on
    property bool attempted: false
    readonly property string sizeProblem: FieldRules.fontSizeProblem(sizeField.text)
    readonly property string textProblem: attempted ? FieldRules.textProblem(resourceText.text) : ""

    // False, with the fields saying why, when there is nothing to render.
    function generate() {
        attempted = true
        if (sizeProblem !== "" || FieldRules.textProblem(resourceText.text) !== "")
            return false
        fontResGenerator.generate(resourceText.text)
        return true
    }

    onOpened: attempted = false

    function appendPreset(index) {
        resourceText.text = FontPresets.append(resourceText.text, index)
    }

    function startFolder() {
        return rpSettings.skinDirectory !== "" ? utils.localPathToUrl(rpSettings.skinDirectory) : ""
    }

    title: qsTr("Font Resource Generate")

    Component.onCompleted: {
        systemFamilies = fontResGenerator.systemFontFamilies
        fontResGenerator.color = colorButton.color
        fontResGenerator.size = sizeField.number
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 4

        RowLayout {
            CheckBox { id: useSystemFont; objectName: "useSystemFont"; text: qsTr("Use system font"); checked: true }
            Button {
                objectName: "loadFontButton"
                text: qsTr("Load from font file")
                enabled: !useSystemFont.checked
                onClicked: {
                    var folder = dialog.startFolder()
                    if (folder !== "")
                        fontFileDialog.folder = folder
                    fontFileDialog.open()
                }
            }
        }

        RowLayout {
            Layout.fillWidth: true
            ComboBox {
                id: familyBox
                objectName: "familyBox"
                Layout.fillWidth: true
                model: dialog.families
                delegate: ItemDelegate {
                    width: familyBox.width
                    text: modelData
                    font.family: modelData
                    highlighted: familyBox.highlightedIndex === index
                }
                onCurrentTextChanged: fontResGenerator.family = currentText
                Component.onCompleted: {
                    var preferred = find(Qt.application.font.family)
                    currentIndex = preferred >= 0 ? preferred : 0
                }
            }
            ComboBox {
                id: styleBox
                objectName: "styleBox"
                Layout.preferredWidth: 130
                model: fontResGenerator.styles(familyBox.currentText)
                onCurrentTextChanged: fontResGenerator.style = currentText
            }
        }

        RowLayout {
            spacing: 6
            Label { text: qsTr("Color: ") }
            ColorButton {
                id: colorButton
                objectName: "fontColorButton"
                color: "black"
                onPicked: fontResGenerator.color = chosen
            }
            Label { text: qsTr("Size: ") }
            NumberField {
                id: sizeField
                objectName: "fontSizeField"
                text: "30"
                minimum: FieldRules.minimumFontSize
                maximum: FieldRules.maximumFontSize
                implicitWidth: 50
                onTextChanged: fontResGenerator.size = Number(text)
            }
            CheckBox {
                objectName: "tightMode"
                text: qsTr("Tight mode: ")
                LayoutMirroring.enabled: true
                onToggled: fontResGenerator.tightMode = checked
            }
        }

        FieldMessage { objectName: "fontSizeProblem"; problem: dialog.sizeProblem }

        RowLayout {
            spacing: 2
            // the toggles are a file component: an inline one cannot see
            // the icon import
            IconToolButton {
                objectName: "boldButton"
                checkable: true
                glyph: Icons.fa_bold
                toolTipText: qsTr("Bold")
                onToggled: fontResGenerator.bold = checked
            }
            IconToolButton {
                objectName: "italicButton"
                checkable: true
                glyph: Icons.fa_italic
                toolTipText: qsTr("Italic")
                onToggled: fontResGenerator.italic = checked
            }
            IconToolButton {
                objectName: "underlineButton"
                checkable: true
                glyph: Icons.fa_underline
                toolTipText: qsTr("Underline")
                onToggled: fontResGenerator.underLine = checked
            }
            Label { text: qsTr("Order: "); Layout.leftMargin: 10 }
            ComboBox {
                objectName: "orderBox"
                model: [qsTr("Vertical"), qsTr("Horizontal")]
                onCurrentIndexChanged: fontResGenerator.verticalOrder = currentIndex === 0
                Component.onCompleted: fontResGenerator.verticalOrder = currentIndex === 0
            }
        }

        ComboBox {
            objectName: "presetBox"
            Layout.fillWidth: true
            displayText: qsTr("Presets")
            model: [qsTr("Upper case letters (abc)"), qsTr("Lower case letters (abc)"),
                    qsTr("Upper case letters (qwerty)"), qsTr("Lower case letters (qwerty)"),
                    qsTr("Digital"), qsTr("Common punctuations")]
            onActivated: dialog.appendPreset(index)
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 6

            ScrollView {
                Layout.fillWidth: true
                Layout.fillHeight: true
                TextArea {
                    id: resourceText
                    objectName: "resourceText"
                    placeholderText: qsTr("Input by line")
                    font.family: familyBox.currentText
                    selectByMouse: true
                    background: Rectangle { border.color: dialog.textProblem !== "" ? "#d32f2f" : "lightgrey" }
                }
            }

            Frame {
                Layout.preferredWidth: 120
                Layout.fillHeight: true
                padding: 2
                ListView {
                    objectName: "resourceList"
                    anchors.fill: parent
                    clip: true
                    spacing: 4
                    model: fontResGenerator.resNumers
                    delegate: RowLayout {
                        width: ListView.view.width
                        Label { text: modelData; color: "grey"; Layout.preferredWidth: 30 }
                        Image {
                            source: "image://fontres/" + modelData
                            cache: false
                            Layout.maximumWidth: 80
                            Layout.maximumHeight: 80
                            fillMode: Image.PreserveAspectFit
                        }
                    }
                }
            }
        }

        FieldMessage { objectName: "resourceTextProblem"; problem: dialog.textProblem }
    }

    footer: DialogButtonBox {
        Button {
            objectName: "generateButton"
            text: qsTr("Generate")
            DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
            onClicked: dialog.generate()
        }
        Button {
            objectName: "saveResourcesButton"
            text: qsTr("Save")
            DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
            onClicked: {
                var folder = dialog.startFolder()
                if (folder !== "")
                    saveFolderDialog.folder = folder
                saveFolderDialog.open()
            }
        }
        Button {
            objectName: "saveAsTilButton"
            text: qsTr("Save as til")
            DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
            onClicked: {
                var folder = dialog.startFolder()
                if (folder !== "")
                    saveTilDialog.folder = folder
                saveTilDialog.open()
            }
        }
        Button {
            text: qsTr("Close")
            DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
        }
    }

    FileDialog {
        id: fontFileDialog
        title: qsTr("Load from font file")
        nameFilters: [qsTr("Font files (*.ttf *.otf *.ttc)")]
        selectExisting: true
        onAccepted: fontResGenerator.addCustomFont(utils.urlToLocalPath(fileUrl.toString()))
    }
    FileDialog {
        id: saveFolderDialog
        title: qsTr("Save")
        selectFolder: true
        onAccepted: fontResGenerator.save(utils.urlToLocalPath(fileUrl.toString()))
    }
    FileDialog {
        id: saveTilDialog
        title: qsTr("Save as til")
        nameFilters: [qsTr("til file (*.til)")]
        selectExisting: false
        onAccepted: fontResGenerator.saveAsTil(FileKinds.withFilterSuffix(utils.urlToLocalPath(fileUrl.toString()),
                                                                           nameFilters, selectedNameFilter))
    }
}
