import QtQuick 2.15

// A dialog made the first time it is needed rather than with the window:
// most sessions open few of the dialogs, and made up front they cost a
// good part of the start-up and of the memory.
Item {
    // the object name the dialog gets
    property string name
    // the dialog's file, read only when the dialog is first made (a type
    // named in the window's file is read with the window), or a component
    property url source
    property Component component
    // the dialog once made
    property QtObject item: null

    // the dialog, made now if it does not exist yet
    function dialog() {
        if (!item) {
            var maker = component ? component : Qt.createComponent(source)
            item = maker.createObject(this, { objectName: name })
            if (!item)
                console.warn("dialog " + name + " could not be made: " + maker.errorString())
        }
        return item
    }

    function open() {
        dialog().open()
    }
}
