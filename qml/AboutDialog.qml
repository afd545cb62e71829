import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// Name, purpose and version of the program, and the licences of the
// libraries it is built on.
Dialog {
    id: dialog

    readonly property var licenseLinks: ({
        qt: "https://www.gnu.org/licenses/lgpl-3.0.html",
        libarchive: "https://opensource.org/licenses/BSD-3-Clause",
        openssl: "https://www.openssl.org/source/license-openssl-ssleay.txt"
    })

    // the application's font size in pixels, also where it is given in points
    readonly property real basePixelSize: Qt.application.font.pixelSize > 0 ? Qt.application.font.pixelSize
                                          : (font.pixelSize > 0 ? font.pixelSize : 14)

    title: qsTr("About")
    parent: Overlay.overlay
    anchors.centerIn: parent
    modal: true
    focus: true
    standardButtons: Dialog.Ok

    header: Label {
        text: dialog.title
        font.pixelSize: dialog.basePixelSize * 2.5
        padding: 16
        bottomPadding: 4
    }

    component LicenseLine: Label {
        property string library
        property string license
        property string link
        textFormat: Text.StyledText
        text: library + "<a href=\"" + link + "\">" + license + "</a>"
        onLinkActivated: Qt.openUrlExternally(link)

        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.NoButton
            cursorShape: parent.hoveredLink !== "" ? Qt.PointingHandCursor : Qt.ArrowCursor
        }
    }

    // never taller than the window: the text scrolls instead
    height: parent ? Math.min(implicitHeight, parent.height - 20) : implicitHeight

    ScrollView {
        anchors.fill: parent
        implicitWidth: 300
        implicitHeight: Math.min(aboutColumn.implicitHeight, 400)
        clip: true
        ScrollBar.vertical.policy: contentHeight > height ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded

        ColumnLayout {
            id: aboutColumn
            width: 300
            spacing: 8

            Label {
                text: qsTr("Quillmark Studio")
                font.pixelSize: dialog.basePixelSize * 1.5
            }
            Label {
                Layout.fillWidth: true
                wrapMode: Text.WordWrap
                text: qsTr("Previews and edits the keyboard panels of input-method skins.")
            }
            Label {
                objectName: "versionLabel"
                text: qsTr("Version: %1").arg(utils.getVersion())
            }
            // an installed editor keeps them below the home directory
            Label {
                objectName: "settingsFileLabel"
                Layout.fillWidth: true
                wrapMode: Text.WrapAnywhere
                text: qsTr("Settings: %1").arg(rpSettings.fileName())
            }
            Label {
                objectName: "logFileLabel"
                Layout.fillWidth: true
                wrapMode: Text.WrapAnywhere
                text: qsTr("Log: %1").arg(utils.logFilePath())
            }
            Label {
                Layout.topMargin: 8
                text: qsTr("Open Source Licenses")
                font.pixelSize: dialog.basePixelSize * 1.2
            }
            LicenseLine {
                objectName: "qtLicense"
                library: qsTr("Qt: ")
                license: qsTr(" LGPLv3 license ")
                link: dialog.licenseLinks.qt
            }
            LicenseLine {
                objectName: "libarchiveLicense"
                library: qsTr("libarchive: ")
                license: qsTr(" New BSD license ")
                link: dialog.licenseLinks.libarchive
            }
            LicenseLine {
                objectName: "opensslLicense"
                library: qsTr("OpenSSL: ")
                license: qsTr(" OpenSSL and SSLeay license ")
                link: dialog.licenseLinks.openssl
            }
        }
    }
}
