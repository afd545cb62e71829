import QtQuick 2.15

// Stands in for the controls style's elevation effect where the scene graph
// draws in software (see SceneUrlInterceptor): the style's effect shows the
// control through a shader, which software drawing leaves out, so the
// control's layer is turned off and the control draws itself, flat.
Item {
    // what the style sets on its effect
    property var source
    property int elevation: 0
    property bool fullWidth: false
    property bool fullHeight: false

    // (the layer hands its source over once the effect is made; turning the
    // layer off from inside its making would pull the effect away under it)
    onSourceChanged: {
        var item = source ? source.sourceItem : null
        if (item)
            Qt.callLater(function() { item.layer.enabled = false })
    }
}
