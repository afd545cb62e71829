import QtQuick 2.15
import QtQuick.Controls 2.15
import "fontawesome/Icons.js" as Icons

// A tool button that shows a glyph of the icon font; its tool tip tells what
// it does.
ToolButton {
    id: button

    property string glyph
    // the action's text without its mnemonic: a Chinese text carries it as
    // "(&S)" after the words, an English one as "&" inside them
    property string toolTipText: action ? action.text.replace(/\s*[(（]&[^&][)）]/g, "")
                                                      .replace(/&(.)/g, "$1").replace(/(\.\.\.|…)$/, "") : ""
    // the tool tip, once the pointer has been over the button
    readonly property alias toolTip: toolTipLoader.item

    text: glyph
    font.family: Icons.family
    font.styleName: Icons.styleName
    font.pixelSize: 16
    implicitWidth: 35
    implicitHeight: 35
    padding: 0

    // A tool tip is a popup with a text of its own: the window's dozen or so
    // buttons make theirs on the first hover rather than with the window.
    Loader {
        id: toolTipLoader
        active: false
        sourceComponent: ToolTip {
            parent: button
            // the tool tip is text, not glyphs: it takes the window's font
            font: button.ApplicationWindow.window ? button.ApplicationWindow.window.font : Qt.application.font
            visible: button.hovered && button.toolTipText !== ""
            delay: 600
            text: button.toolTipText
        }
    }
    onHoveredChanged: {
        if (hovered)
            toolTipLoader.active = true
    }
}
