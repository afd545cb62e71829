import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Controls.Material 2.15
import "fontawesome/Icons.js" as Icons

// Chooses the panel's status, 0 to 99; the keys show the styles their
// STAT_STYLE names for the chosen status.
ComboBox {
    id: box

    function statusText(status) {
        var text = "S" + status
        if (status === 0)
            text += qsTr(" no status")
        else if (status === 4)
            text += qsTr(" candiate")
        return text
    }

    implicitWidth: 100
    implicitHeight: 35
    topInset: 0
    bottomInset: 0
    model: 100
    displayText: "S" + currentIndex

    delegate: ItemDelegate {
        width: box.popup.width
        text: box.statusText(index)
        highlighted: box.highlightedIndex === index
    }

    popup.width: Math.max(box.width, 160)

    // The style's arrow drawn as the icon font's caret, in the same 40 x 24
    // box: the style's own arrow is an image file, and the first image file a
    // process reads loads every image format plug-in (some 4 ms before the
    // window's first frame).
    indicator: Label {
        x: box.mirrored ? box.padding : box.width - width - box.padding
        y: box.topPadding + (box.availableHeight - height) / 2
        width: 40
        height: 24
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        bottomPadding: 2
        color: box.enabled ? box.Material.foreground : box.Material.hintTextColor
        font.family: Icons.family
        font.styleName: Icons.styleName
        font.pixelSize: 16
        text: Icons.fa_caret_down
    }

    onCurrentIndexChanged: panel.currentStatus = currentIndex
}
