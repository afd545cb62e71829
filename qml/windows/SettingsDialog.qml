import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "SettingsRules.js" as SettingsRules

// The preferences of the editor; every control writes through to the
// settings store as soon as it changes.
ToolDialog {
    id: dialog

    property int debugClicks: 0

    // One click on the bottom button; the fifth switches the log level.
    function countDebugClick() {
        var next = SettingsRules.debugClick(debugClicks, rpSettings.logLevel)
        debugClicks = next.clicks
        if (next.level !== rpSettings.logLevel)
            rpSettings.logLevel = next.level
    }

    // The field's text is stored when it is a whole number from 500 to
    // 10000; the text turns red otherwise.
    function intervalEdited(text) {
        var value = SettingsRules.intervalValue(text)
        if (value < 0)
            return false
        // filling the field from the store writes nothing back
        if (value !== rpSettings.autoReloadInterval)
            rpSettings.autoReloadInterval = value
        return true
    }

    function storeWorkingDirectory(path) {
        if (path !== "" && path !== rpSettings.skinWorkingDirectory)
            rpSettings.skinWorkingDirectory = path
    }

    // A working directory, chosen with "..." or typed, is taken only after
    // the notice that imports empty it; what was typed and not confirmed
    // goes back to the stored directory.
    function proposeWorkingDirectory(path) {
        if (path === "" || path === rpSettings.skinWorkingDirectory) {
            workingDirectoryField.text = rpSettings.skinWorkingDirectory
            return
        }
        if (notice.visible && notice.path === path)
            return
        notice.path = path
        notice.open()
    }

    title: qsTr("Settings")
    preferredWidth: 400
    preferredHeight: 640
    rightPadding: 5
    standardButtons: Dialog.Ok

    onClosed: proposeWorkingDirectory(workingDirectoryField.text)

    component RowLabel: Label {
        Layout.topMargin: 6
    }

    component OnOffSwitch: Switch {
        text: checked ? qsTr("On") : qsTr("Off")
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 4

        ScrollView {
            id: scroll
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            contentWidth: availableWidth

            ColumnLayout {
                width: scroll.availableWidth - 10
                spacing: 2

                Label {
                    text: qsTr("Display")
                    font.pixelSize: dialog.basePixelSize * 1.8
                }

                RowLabel { text: qsTr("Language") }
                ComboBox {
                    id: languageBox
                    objectName: "languageBox"
                    Layout.preferredWidth: 300
                    textRole: "text"
                    valueRole: "value"
                    // each language named in itself; the choice applies at once
                    model: [
                        { value: "zh", text: "简体中文" },
                        { value: "en", text: "English" },
                        { value: "system", text: qsTr("The system's language") }
                    ]
                    currentIndex: indexOfValue(rpSettings.language)
                    onActivated: rpSettings.language = currentValue
                }

                RowLabel { text: qsTr("reopen the last panel file at start") }
                OnOffSwitch {
                    objectName: "reopenLastPanelSwitch"
                    checked: rpSettings.reopenLastPanel
                    onToggled: rpSettings.reopenLastPanel = checked
                }

                RowLabel { text: qsTr("ui font") }
                ComboBox {
                    id: fontBox
                    objectName: "uiFontBox"
                    Layout.preferredWidth: 300
                    model: Qt.fontFamilies()
                    currentIndex: find(rpSettings.uiFont)
                    // a family this system lacks is still named
                    displayText: currentIndex >= 0 ? currentText : rpSettings.uiFont
                    delegate: ItemDelegate {
                        width: fontBox.width
                        text: modelData
                        font.family: modelData
                        highlighted: fontBox.highlightedIndex === index
                    }
                    onActivated: rpSettings.uiFont = currentText
                }

                RowLabel { text: qsTr("stay on top") }
                OnOffSwitch {
                    objectName: "stayOnTopSwitch"
                    checked: rpSettings.stayOnTop
                    onToggled: SettingsRules.setSwitch(rpSettings, "stayOnTop", checked)
                }

                RowLabel { text: qsTr("View rect color") }
                ColorButton {
                    objectName: "viewRectColorButton"
                    color: rpSettings.viewRectColor
                    // the editor hands the new colour to the preview
                    onPicked: rpSettings.viewRectColor = chosen
                }

                RowLabel { text: qsTr("Touch rect color") }
                ColorButton {
                    objectName: "touchRectColorButton"
                    color: rpSettings.touchRectColor
                    // the editor hands the new colour to the preview
                    onPicked: rpSettings.touchRectColor = chosen
                }

                RowLabel { text: qsTr("Style list backgroud color") }
                Row {
                    spacing: 6
                    ColorButton {
                        objectName: "backgroundColor1Button"
                        color: rpSettings.transparentBackgroudColor1
                        onPicked: rpSettings.transparentBackgroudColor1 = chosen
                    }
                    ColorButton {
                        objectName: "backgroundColor2Button"
                        color: rpSettings.transparentBackgroudColor2
                        onPicked: rpSettings.transparentBackgroudColor2 = chosen
                    }
                }

                RowLabel { text: qsTr("Auto reload") }
                OnOffSwitch {
                    objectName: "autoReloadSwitch"
                    checked: rpSettings.autoReload
                    onToggled: SettingsRules.setSwitch(rpSettings, "autoReload", checked)
                }

                RowLabel { text: qsTr("Relaod interval (ms)") }
                TextField {
                    id: intervalField
                    objectName: "intervalField"
                    property bool stored: true
                    Layout.preferredWidth: 300
                    selectByMouse: true
                    validator: IntValidator { bottom: 500; top: 10000 }
                    color: stored ? "black" : "red"
                    Component.onCompleted: text = rpSettings.autoReloadInterval
                    onTextChanged: stored = dialog.intervalEdited(text)
                }

                // 0: moved and resized keys snap to the other keys instead
                RowLabel { text: qsTr("Snap grid (panel units, 0 snaps to keys)") }
                SpinBox {
                    objectName: "snapGridBox"
                    from: 0
                    to: 1000
                    editable: true
                    value: rpSettings.snapGridSize
                    onValueModified: rpSettings.snapGridSize = value
                }

                RowLabel { text: qsTr("display panel information") }
                OnOffSwitch {
                    objectName: "displayPanelInfoSwitch"
                    checked: rpSettings.displayPanelInfo
                    onToggled: SettingsRules.setSwitch(rpSettings, "displayPanelInfo", checked)
                }

                RowLabel { text: qsTr("display file tree") }
                OnOffSwitch {
                    objectName: "displayFileTreeSwitch"
                    checked: rpSettings.displayFileTree
                    onToggled: SettingsRules.setSwitch(rpSettings, "displayFileTree", checked)
                }

                RowLabel { text: qsTr("display text editor") }
                OnOffSwitch {
                    objectName: "displayTextEditorSwitch"
                    checked: rpSettings.displayTextEditor
                    onToggled: SettingsRules.setSwitch(rpSettings, "displayTextEditor", checked)
                }

                RowLabel { text: qsTr("Skin working directory") }
                PathField {
                    id: workingDirectoryField
                    objectName: "workingDirectory"
                    Layout.fillWidth: true
                    mode: "folder"
                    confirmChoice: true
                    startFolder: text !== "" ? utils.localPathToUrl(text) : ""
                    text: rpSettings.skinWorkingDirectory
                    // typed paths are checked when the typing ends, so that no
                    // directory is made for each prefix on the way
                    onEditingFinished: dialog.proposeWorkingDirectory(text)
                    onChosen: dialog.proposeWorkingDirectory(path)
                }
            }
        }

        ToolButton {
            objectName: "debugButton"
            Layout.fillWidth: true
            flat: true
            text: rpSettings.logLevel === 0 ? qsTr("Debug mode") : ""
            onClicked: dialog.countDebugClick()
        }
    }

    // Importing a skin empties the working directory: say so first. A
    // directory that is never emptied (the root, the home directory or one
    // above it) is not taken at all.
    ToolDialog {
        id: notice
        objectName: "workingDirectoryNotice"
        property string path
        readonly property bool clearable: path !== "" && utils.isClearable(path)
        // what the directory holds now (checked each time the notice opens)
        property int entries: 0
        title: qsTr("Notice")
        titleScale: 1.5
        width: dialog.width
        height: implicitHeight
        standardButtons: Dialog.Ok | Dialog.Cancel

        Column {
            width: parent.width
            spacing: 8

            Label {
                objectName: "noticeText"
                width: parent.width
                wrapMode: Text.WrapAnywhere
                text: qsTr("This directory: %1 will be clean before skins imported!").arg(notice.path)
            }
            Label {
                objectName: "noticeContents"
                width: parent.width
                wrapMode: Text.Wrap
                visible: text !== ""
                color: notice.clearable ? "black" : "red"
                text: !notice.clearable
                      ? qsTr("This directory can not be the skin working directory: it is the root, your home directory or a directory above it.")
                      : notice.entries > 0
                        ? qsTr("It holds %1 files and folders now; each import will ask before deleting them.").arg(notice.entries)
                        : ""
            }
        }

        onAboutToShow: {
            entries = clearable ? utils.entryCount(path) : 0
            var ok = standardButton(Dialog.Ok)
            if (ok)
                ok.enabled = clearable
        }

        onAccepted: {
            if (!clearable) {
                workingDirectoryField.text = rpSettings.skinWorkingDirectory
                return
            }
            workingDirectoryField.text = path
            dialog.storeWorkingDirectory(path)
        }
        onRejected: workingDirectoryField.text = rpSettings.skinWorkingDirectory
    }
}
