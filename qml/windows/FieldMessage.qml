import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// What is wrong with the field above it; hidden while nothing is.
Label {
    property string problem

    visible: problem !== ""
    text: problem
    color: "#d32f2f"
    wrapMode: Text.Wrap
    Layout.fillWidth: true
}
