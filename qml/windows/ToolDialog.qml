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
        ScrollBar.vertical.policy: overflows ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded

        // Whether the body is taller than the view, settled once the layouts
        // have followed a change: the bar takes width from the body, whose
        // wrapped texts then grow taller, and reading a layout's size from
        // inside a binding while it lays itself out is a binding loop.
        // Narrower never makes the body lower, so it settles at once.
        property bool overflows: false
        function settle() {
            Qt.callLater(bodyItem.measure)
        }
        onAvailableHeightChanged: settle()

        Item {
            id: bodyItem
            width: scroll.availableWidth
                   - (scroll.ScrollBar.vertical.policy === ScrollBar.AlwaysOn ? scroll.ScrollBar.vertical.width : 0)
            height: Math.max(scroll.availableHeight, implicitHeight)

            // the tallest of the dialog's items as it lays itself out
            function measure() {
                var h = 0
                for (var i = 0; i < children.length; ++i) {
                    if (children[i].visible)
                        h = Math.max(h, children[i].implicitHeight)
                }
                implicitHeight = h
                scroll.overflows = h > scroll.availableHeight + 1
            }

            property var watched: []
            onChildrenChanged: {
                for (var i = 0; i < children.length; ++i) {
                    var child = children[i]
                    if (watched.indexOf(child) >= 0)
                        continue
                    child.implicitHeightChanged.connect(scroll.settle)
                    child.visibleChanged.connect(scroll.settle)
                    watched.push(child)
                }
                scroll.settle()
            }
            Component.onCompleted: measure()
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
