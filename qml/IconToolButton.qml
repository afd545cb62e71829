import QtQuick 2.15
import QtQuick.Controls 2.15
import "fontawesome/Icons.js" as Icons

// A tool button that shows a glyph of the icon font; its tool tip tells what
// it does.
ToolButton {
    id: button

    property string glyph
    property string toolTipText: action ? action.text.replace(/&(?!&)/g, "").replace(/\.\.\.$/, "") : ""

    text: glyph
    font.family: Icons.family
    font.styleName: Icons.styleName
    font.pixelSize: 16
    implicitWidth: 35
    implicitHeight: 35
    padding: 0

    ToolTip {
        // the tool tip is text, not glyphs: it takes the window's font
        font: button.ApplicationWindow.window ? button.ApplicationWindow.window.font : Qt.application.font
        visible: button.hovered && button.toolTipText !== ""
        delay: 600
        text: button.toolTipText
    }
}
