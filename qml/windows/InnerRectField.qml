import QtQuick 2.15
import QtQuick.Controls 2.15

// One number of the inner rectangle. It shows `shown`; what the author types
// is reported, and a number the editor could not take (outside the tile) is
// replaced by the one it did take.
TextField {
    id: field

    property int shown

    signal edited(real value)

    implicitWidth: 50
    selectByMouse: true
    validator: IntValidator {}
    text: shown

    onTextEdited: {
        if (text === "" || text === "-")
            return
        edited(Number(text))
        if (Number(text) !== shown)
            text = Qt.binding(function() { return String(field.shown) })
    }
}
