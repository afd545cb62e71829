import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import "qrc:/"

TestCase {
    id: testCase
    name: "FittingMenu"
    when: windowShown
    visible: true
    width: 400
    height: 400

    Component {
        id: menuComponent
        FittingMenu {
            entries: MenuEntries {
                MenuItem { objectName: "first"; text: "&First" }
                MenuSeparator {}
                FittingMenu {
                    objectName: "more"
                    title: "&More"
                    entries: MenuEntries { MenuItem { objectName: "inner"; text: "&Inner" } }
                }
                MenuItem { objectName: "last"; text: "&Last, an entry far wider than the narrowest menu there is" }
            }
        }
    }

    Component {
        id: emptyComponent
        FittingMenu {}
    }

    function openAndClose(menu) {
        menu.open()
        tryCompare(menu, "opened", true)
        menu.close()
        tryCompare(menu, "visible", false)
    }

    function test_entriesComeWithTheFirstOpening() {
        var menu = createTemporaryObject(menuComponent, testCase)
        compare(menu.count, 0)
        compare(menu.filled, false)
        openAndClose(menu)
        compare(menu.filled, true)
        compare(menu.count, 4)
        compare(menu.itemAt(0).objectName, "first")
        compare(menu.itemAt(2).subMenu.objectName, "more")
        compare(menu.itemAt(3).objectName, "last")
        // a submenu waits for its own opening
        compare(menu.itemAt(2).subMenu.count, 0)
        // as wide as the widest entry
        verify(menu.width > 200)
        verify(menu.width >= menu.itemAt(3).implicitWidth)
    }

    function test_entriesAreMadeOnce() {
        var menu = createTemporaryObject(menuComponent, testCase)
        openAndClose(menu)
        var first = menu.itemAt(0)
        openAndClose(menu)
        menu.fill()
        compare(menu.count, 4)
        compare(menu.itemAt(0), first)
    }

    function test_menuWithoutEntries() {
        var menu = createTemporaryObject(emptyComponent, testCase)
        openAndClose(menu)
        compare(menu.count, 0)
        compare(menu.filled, false)
        compare(menu.width, 200)
    }
}
