import QtQuick 2.15
import QtQuick.Controls 2.15

// A menu as wide as its widest item, so that the shortcut hints and the long
// paths of File › Recent fit beside the texts.
Menu {
    id: menu

    // The menu's entries (a MenuEntries), made the first time the menu opens
    // rather than with the window: the window's menus hold some thirty items
    // that few sessions ever look at, and made up front they cost a good part
    // of the start-up.
    property Component entries: null
    readonly property bool filled: made !== null
    property QtObject made: null

    // Makes the entries if that has not happened yet.
    function fill() {
        if (made || !entries)
            return
        made = entries.createObject(menu)
        if (!made) {
            console.warn("the entries of menu " + objectName + " could not be made")
            return
        }
        for (var i = 0; i < made.entries.length; ++i) {
            var entry = made.entries[i]
            // (a submenu is no item)
            if (entry.addItem !== undefined)
                menu.addMenu(entry)
            else
                menu.addItem(entry)
        }
    }

    onAboutToShow: fill()

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
