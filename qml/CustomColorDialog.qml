import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "ColorText.js" as ColorText
import "fontawesome/Icons.js" as Icons

// The colour picker: a saturation/value square for the current hue, a hue
// slider beside it, an alpha slider below and the colour as text. The caller
// sets currentColor before opening and reads it on Ok.
Dialog {
    id: dialog

    property color currentColor: "white"
    // kept apart from the colour: a grey has no hue of its own
    property real hue: 0
    property bool syncing: false

    title: qsTr("Select a color")
    parent: Overlay.overlay
    anchors.centerIn: parent
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    standardButtons: Dialog.Ok | Dialog.Cancel
    contentWidth: 280
    contentHeight: 320

    function setHsva(h, s, v, a) {
        hue = h
        currentColor = Qt.hsva(h, s, v, a)
    }

    // Rewrites the ring, the sliders and (unless it is being typed) the text.
    function sync(rewriteText) {
        syncing = true
        if (currentColor.hsvHue >= 0 && currentColor.hsvSaturation > 0)
            hue = currentColor.hsvHue
        hueSlider.value = Math.min(hue, hueSlider.to)
        alphaSlider.value = Math.min(currentColor.a, alphaSlider.to)
        if (rewriteText)
            colorField.text = ColorText.format(currentColor.r, currentColor.g, currentColor.b, currentColor.a)
        syncing = false
    }

    onCurrentColorChanged: sync(!colorField.typing)
    onAboutToShow: sync(true)
    Component.onCompleted: sync(true)

    contentItem: ColumnLayout {
        spacing: 8

        RowLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 8

            Rectangle {
                id: square
                objectName: "colorSquare"
                Layout.fillWidth: true
                Layout.fillHeight: true
                gradient: Gradient {
                    orientation: Gradient.Horizontal
                    GradientStop { position: 0; color: "white" }
                    GradientStop { position: 1; color: Qt.hsva(dialog.hue, 1, 1, 1) }
                }

                Rectangle {
                    anchors.fill: parent
                    gradient: Gradient {
                        GradientStop { position: 0; color: "transparent" }
                        GradientStop { position: 1; color: "black" }
                    }
                }

                Rectangle {
                    objectName: "colorRing"
                    width: 10
                    height: 10
                    radius: 5
                    color: "transparent"
                    border.width: 2
                    border.color: ColorText.ringIsBlack(dialog.currentColor.r, dialog.currentColor.g,
                                                        dialog.currentColor.b) ? "black" : "white"
                    x: dialog.currentColor.hsvSaturation * square.width - width / 2
                    y: (1 - dialog.currentColor.hsvValue) * square.height - height / 2
                }

                MouseArea {
                    anchors.fill: parent
                    function pickAt(mouse) {
                        var s = Math.max(0, Math.min(1, mouse.x / width))
                        var v = 1 - Math.max(0, Math.min(1, mouse.y / height))
                        dialog.setHsva(dialog.hue, s, v, dialog.currentColor.a)
                    }
                    onPressed: pickAt(mouse)
                    onPositionChanged: pickAt(mouse)
                }
            }

            Slider {
                id: hueSlider
                objectName: "hueSlider"
                orientation: Qt.Vertical
                from: 0
                to: 0.999
                Layout.fillHeight: true
                implicitWidth: 24
                background: Rectangle {
                    x: (hueSlider.width - width) / 2
                    y: hueSlider.topPadding
                    width: 12
                    height: hueSlider.availableHeight
                    radius: 2
                    gradient: Gradient {
                        GradientStop { position: 0 / 6; color: "#ff0000" }
                        GradientStop { position: 1 / 6; color: "#ff00ff" }
                        GradientStop { position: 2 / 6; color: "#0000ff" }
                        GradientStop { position: 3 / 6; color: "#00ffff" }
                        GradientStop { position: 4 / 6; color: "#00ff00" }
                        GradientStop { position: 5 / 6; color: "#ffff00" }
                        GradientStop { position: 6 / 6; color: "#ff0000" }
                    }
                }
                onMoved: dialog.setHsva(value, dialog.currentColor.hsvSaturation, dialog.currentColor.hsvValue,
                                        dialog.currentColor.a)
            }
        }

        Slider {
            id: alphaSlider
            objectName: "alphaSlider"
            from: 0
            to: 0.9999
            Layout.fillWidth: true
            background: Rectangle {
                x: alphaSlider.leftPadding
                y: (alphaSlider.height - height) / 2
                width: alphaSlider.availableWidth
                height: 12
                radius: 2
                border.color: "lightgrey"
                gradient: Gradient {
                    orientation: Gradient.Horizontal
                    GradientStop {
                        position: 0
                        color: Qt.rgba(dialog.currentColor.r, dialog.currentColor.g, dialog.currentColor.b, 0)
                    }
                    GradientStop {
                        position: 1
                        color: Qt.rgba(dialog.currentColor.r, dialog.currentColor.g, dialog.currentColor.b, 1)
                    }
                }
            }
            onMoved: dialog.setHsva(dialog.hue, dialog.currentColor.hsvSaturation, dialog.currentColor.hsvValue,
                                    value)
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 8

            Rectangle {
                implicitWidth: 30
                implicitHeight: 30
                border.color: "black"
                color: dialog.currentColor
            }
            TextField {
                id: colorField
                objectName: "colorTextField"
                property bool typing: false
                Layout.fillWidth: true
                selectByMouse: true
                color: ColorText.isValid(text) ? "black" : "red"
                onTextEdited: {
                    var parsed = ColorText.parse(text)
                    if (parsed === "")
                        return
                    typing = true
                    dialog.currentColor = parsed
                    typing = false
                }
            }
            ToolButton {
                objectName: "copyColorButton"
                text: Icons.fa_copy
                font.family: Icons.family
                font.styleName: Icons.styleName
                implicitWidth: 35
                onClicked: {
                    colorField.selectAll()
                    colorField.copy()
                    colorField.deselect()
                }
            }
        }
    }
}
