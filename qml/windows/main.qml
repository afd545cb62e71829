import QtQuick 2.15
import QtQuick.Controls 2.15

// The main window until the full scene replaces it: geometry from the
// settings and the window title.
ApplicationWindow {
    id: mainWindow
    objectName: "mainWindow"
    visible: true
    width: rpSettings.windowWidth
    height: rpSettings.windowHeight

    readonly property string baseTitle: qsTr("Quillmark Studio") + (utils.isForKWA() ? " for KWA" : "")
    readonly property string panelFile: (typeof panel !== "undefined" && panel) ? panel.currentPanelFile : ""

    title: panelFile === "" ? baseTitle : baseTitle + " - " + panelFile

    Component.onCompleted: {
        x = rpSettings.windowX
        y = rpSettings.windowY
    }
}
