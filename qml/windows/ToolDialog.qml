import QtQuick 2.15
import QtQuick.Controls 2.15

// The frame every dialog of the editor shares: modal, centred over the
// window, its title drawn large.
Dialog {
    id: dialog

    property real titleScale: 2.5
    // the size the dialog asks for; it never grows past the window, its
    // content scrolls or shrinks instead
    property real preferredWidth: 500
    property real preferredHeight: 600
    // the application's font size in pixels, also where it is given in points
    readonly property real basePixelSize: Qt.application.font.pixelSize > 0 ? Qt.application.font.pixelSize
                                          : (font.pixelSize > 0 ? font.pixelSize : 14)

    parent: Overlay.overlay
    anchors.centerIn: parent
    modal: true
    focus: true
    // a stray click beside a desktop dialog does not throw its form away
    closePolicy: Popup.CloseOnEscape
    width: parent ? Math.min(preferredWidth, parent.width) : preferredWidth
    height: parent ? Math.min(preferredHeight, parent.height) : preferredHeight

    header: Label {
        text: dialog.title
        font.pixelSize: dialog.basePixelSize * dialog.titleScale
        elide: Label.ElideRight
        padding: 16
        bottomPadding: 4
    }
}
