import QtQuick 2.15
import QtQuick.Controls 2.15

// A menu as wide as its widest item, so that the shortcut hints and the long
// paths of File › Recent fit beside the texts.
Menu {
    id: menu

    width: {
        var widest = 200
        for (var i = 0; i < count; ++i) {
            var entry = itemAt(i)
            if (entry)
                widest = Math.max(widest, entry.implicitWidth + leftPadding + rightPadding)
        }
        return Math.min(widest, 900)
    }
}
