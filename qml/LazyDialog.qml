import QtQuick 2.15

// A dialog made the first time it is needed rather than with the window:
// most sessions open few of the dialogs, and made up front they cost a
// good part of the start-up and of the memory.
Item {
    // the object name the dialog gets
    property string name
    property Component component
    // the dialog once made
    property QtObject item: null

    // the dialog, made now if it does not exist yet
    function dialog() {
        if (!item) {
            item = component.createObject(this, { objectName: name })
            if (!item)
                console.warn("dialog " + name + " could not be made")
        }
        return item
    }

    function open() {
        dialog().open()
    }
}
