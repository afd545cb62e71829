import QtQuick 2.15
import QtQuick.Controls 2.15

// Asks the author before something that cannot be taken back in the
// editor: a text, a button that does it and Cancel, which does nothing.
Dialog {
    id: dialog

    property alias text: message.text
    // the text of the button that goes ahead
    property string acceptText

    // The button Ok or Cancel ("ok", "cancel"), for the tests that press it.
    function button(which) {
        return standardButton(which === "ok" ? Dialog.Ok : Dialog.Cancel)
    }

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: parent ? Math.min(480, parent.width - 40) : 480
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    standardButtons: Dialog.Ok | Dialog.Cancel

    onAboutToShow: {
        var ok = standardButton(Dialog.Ok)
        if (ok && acceptText !== "")
            ok.text = acceptText
    }

    Label {
        id: message
        objectName: "confirmText"
        width: dialog.availableWidth
        wrapMode: Text.Wrap
    }
}
