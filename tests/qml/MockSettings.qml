import QtQuick 2.15

// Stands in for the settings store.
QtObject {
    property bool stayOnTop: false
    property int windowX: 100
    property int windowY: 100
    property int windowWidth: 800
    property int windowHeight: 600
    property bool displayPanelInfo: true
    property bool displayFileTree: true
    property bool displayTextEditor: true
    property string skinWorkingDirectory
    property string skinDirectory
    property string uiFont: "Noto Sans CJK SC Regular"
}
