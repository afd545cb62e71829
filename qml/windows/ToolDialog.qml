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

    // The dialog's own items go into a body that scrolls when the window is
    // too low for them, so that the buttons below always stay in view.
    default property alias body: bodyItem.data
    readonly property alias scrollView: scroll

    contentItem: ScrollView {
        id: scroll
        objectName: "dialogScroll"
        clip: true
        contentWidth: availableWidth
        contentHeight: bodyItem.height
        ScrollBar.horizontal.policy: ScrollBar.AlwaysOff
        // a bar that shows there is more, not only while scrolling
        ScrollBar.vertical.policy: bodyItem.implicitHeight > scroll.availableHeight + 1 ? ScrollBar.AlwaysOn
                                                                                        : ScrollBar.AsNeeded

        Item {
            id: bodyItem
            width: scroll.availableWidth
                   - (scroll.ScrollBar.vertical.policy === ScrollBar.AlwaysOn ? scroll.ScrollBar.vertical.width : 0)
            // the tallest of the dialog's items as it would lay itself out
            implicitHeight: {
                var h = 0
                for (var i = 0; i < children.length; ++i) {
                    if (children[i].visible)
                        h = Math.max(h, children[i].implicitHeight)
                }
                return h
            }
            height: Math.max(scroll.availableHeight, implicitHeight)
        }
    }

    header: Label {
        text: dialog.title
        font.pixelSize: dialog.basePixelSize * dialog.titleScale
        elide: Label.ElideRight
        padding: 16
        bottomPadding: 4
    }
}
