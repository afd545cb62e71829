import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Qt.labs.folderlistmodel 2.15
import "fontawesome/Icons.js" as Icons

// The files of the skin directory, one folder at a time; the author cannot
// leave the skin directory through "..".
ColumnLayout {
    id: root

    // local path of the skin directory
    property string rootPath
    // the folder shown, as a file URL
    property url folder
    readonly property string currentPath: utils.urlToLocalPath(folder.toString())
    readonly property bool canGoUp: rootPath !== "" && currentPath.length > rootPath.length
    property alias count: list.count

    // a plain click on a file
    signal accepted(url fileUrl, string suffix)
    // a right click or a press-and-hold on a file
    signal acceptedAsTextFile(url fileUrl, string suffix)

    function setRoot(path) {
        var p = String(path)
        while (p.length > 1 && p.endsWith("/"))
            p = p.substring(0, p.length - 1)
        rootPath = p
        folder = utils.localPathToUrl(p)
        list.currentIndex = -1
    }

    function goUp() {
        if (!canGoUp)
            return
        folder = folderModel.parentFolder
        list.currentIndex = -1
    }

    function openFolder(fileUrl) {
        folder = fileUrl
        list.currentIndex = -1
    }

    spacing: 2

    Label {
        text: qsTr("Skin working directory")
        font.bold: true
        Layout.fillWidth: true
        elide: Text.ElideRight
    }
    Label {
        // where in the skin the tree is
        text: root.currentPath.length > root.rootPath.length
              ? root.currentPath.substring(root.rootPath.length) : "/"
        color: "grey"
        font.pixelSize: Qt.application.font.pixelSize * 0.9
        Layout.fillWidth: true
        elide: Text.ElideLeft
    }

    ListView {
        id: list
        objectName: "fileTreeView"
        Layout.fillWidth: true
        Layout.fillHeight: true
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        currentIndex: -1
        ScrollBar.vertical: ScrollBar {}

        model: FolderListModel {
            id: folderModel
            folder: root.folder
            showDirsFirst: true
            showDotAndDotDot: false
            sortField: FolderListModel.Name
            sortCaseSensitive: false
        }

        highlight: Rectangle {
            color: "lightblue"
            opacity: 0.5
        }
        highlightMoveDuration: 0

        header: ItemDelegate {
            objectName: "fileTreeUp"
            width: list.width
            height: 30
            enabled: root.canGoUp
            text: ".."
            onClicked: root.goUp()
        }

        delegate: ItemDelegate {
            id: entry

            width: list.width
            height: 30
            leftPadding: 8

            contentItem: Row {
                spacing: 6
                Label {
                    anchors.verticalCenter: parent.verticalCenter
                    width: 16
                    text: fileIsDir ? Icons.fa_folder : Icons.fa_file_alt
                    font.family: Icons.family
                    font.styleName: Icons.styleName
                    color: fileIsDir ? "#c9a227" : "#607d8b"
                }
                Label {
                    anchors.verticalCenter: parent.verticalCenter
                    width: entry.availableWidth - 22
                    text: fileName
                    elide: Text.ElideRight
                }
            }

            MouseArea {
                anchors.fill: parent
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onClicked: {
                    if (fileIsDir) {
                        if (mouse.button === Qt.LeftButton)
                            root.openFolder(fileUrl)
                        return
                    }
                    list.currentIndex = index
                    if (mouse.button === Qt.RightButton)
                        root.acceptedAsTextFile(fileUrl, fileSuffix)
                    else
                        root.accepted(fileUrl, fileSuffix)
                }
                onPressAndHold: {
                    if (fileIsDir)
                        return
                    list.currentIndex = index
                    root.acceptedAsTextFile(fileUrl, fileSuffix)
                }
            }
        }
    }
}
