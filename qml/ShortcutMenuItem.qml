import QtQuick 2.15
import QtQuick.Controls 2.15

// A menu item that names, at its right, the key sequence that does the same.
// It only shows the sequence: the shortcut itself is the window's or the text
// editor's, so that no key is bound twice.
MenuItem {
    id: item

    property var sequence: ""
    readonly property string shortcutText: hint.nativeText

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            implicitContentWidth + leftPadding + rightPadding
                            + (shortcutText !== "" ? shortcutLabel.implicitWidth + 32 : 0))

    Shortcut {
        id: hint
        sequence: item.sequence
        enabled: false
    }

    Label {
        id: shortcutLabel
        objectName: "shortcutLabel"
        anchors.right: parent.right
        anchors.rightMargin: item.rightPadding
        anchors.verticalCenter: parent.verticalCenter
        text: item.shortcutText
        font: item.font
        opacity: 0.6
        visible: text !== ""
    }
}
