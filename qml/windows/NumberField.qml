import QtQuick 2.15
import QtQuick.Controls 2.15

// A field for a whole number; the text is turned into a number when used.
TextField {
    property alias minimum: intValidator.bottom
    property alias maximum: intValidator.top
    readonly property real number: Number(text)

    selectByMouse: true
    implicitWidth: 70
    validator: IntValidator { id: intValidator }
}
