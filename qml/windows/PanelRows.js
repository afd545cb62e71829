.pragma library

// The rows of keys of the panel-create dialog and the rules of its row
// editor. A row is { rowHeight, keysNumber, keyWidth, keySpacing, alignment }
// where -1 means automatic and a key width of -2 means the same as the last
// row; the alignment is 0 left, 1 center, 2 right.

var automatic = -1
var sameAsLastRow = -2

function row(rowHeight, keysNumber, keyWidth, keySpacing, alignment) {
    return { rowHeight: rowHeight, keysNumber: keysNumber, keyWidth: keyWidth,
             keySpacing: keySpacing, alignment: alignment }
}

function defaultRows() {
    return [row(automatic, 10, 100, automatic, 0), row(80, 6, automatic, 0, 0)]
}

// The row appended by "Add a row of keys".
function newRow() {
    return row(automatic, 10, automatic, 0, 0)
}

// The maps handed to the panel creator, one per row, with whole numbers.
function rowMaps(rows) {
    var maps = []
    for (var i = 0; i < rows.length; ++i) {
        var r = rows[i]
        maps.push(row(toInt(r.rowHeight), toInt(r.keysNumber), toInt(r.keyWidth),
                      toInt(r.keySpacing), toInt(r.alignment)))
    }
    return maps
}

function toInt(value) {
    var n = Number(value)
    return isFinite(n) ? Math.trunc(n) : 0
}

// What a value shows in the row list: "auto", "same" or the number; the
// dialog translates the words.
function valueKind(value) {
    if (value === automatic)
        return "auto"
    return "number"
}

function keyWidthKind(value) {
    if (value === sameAsLastRow)
        return "same"
    return valueKind(value)
}

// What a field shows while its value is automatic, so that unchecking "Auto"
// starts from a usable number rather than from nothing.
var fallbackRowHeight = 80
var fallbackKeyWidth = 100
var fallbackKeySpacing = 0

// The row editor's state: the fields as text and the check boxes.
function editorState(r, index) {
    return {
        keysNumber: String(r.keysNumber),
        rowHeight: String(r.rowHeight === automatic ? fallbackRowHeight : r.rowHeight),
        heightAuto: r.rowHeight === automatic,
        keyWidth: String(r.keyWidth < 0 ? fallbackKeyWidth : r.keyWidth),
        widthAuto: r.keyWidth === automatic,
        sameAsLast: r.keyWidth === sameAsLastRow && index > 0,
        keySpacing: String(r.keySpacing === automatic ? fallbackKeySpacing : r.keySpacing),
        spacingAuto: r.keySpacing === automatic,
        alignment: r.alignment === 1 || r.alignment === 2 ? r.alignment : 0
    }
}

// The check boxes after one of them was switched. Checking the key width's
// "Auto" clears "Same as last row" and the spacing's "Auto"; checking "Same
// as last row" or the spacing's "Auto" clears the key width's "Auto".
function afterCheck(state, box, checked) {
    var s = { heightAuto: state.heightAuto, widthAuto: state.widthAuto,
              sameAsLast: state.sameAsLast, spacingAuto: state.spacingAuto }
    s[box] = checked
    if (checked) {
        if (box === "widthAuto") {
            s.sameAsLast = false
            s.spacingAuto = false
        } else if (box === "sameAsLast" || box === "spacingAuto") {
            s.widthAuto = false
        }
    }
    return s
}

// The alignment can be chosen only while neither the key width nor the
// spacing is automatic.
function alignmentEnabled(state) {
    return !state.widthAuto && !state.spacingAuto
}

// The row stored by the editor's "Ok".
function rowFromEditor(state) {
    return row(state.heightAuto ? automatic : toInt(state.rowHeight),
               toInt(state.keysNumber),
               state.widthAuto ? automatic : (state.sameAsLast ? sameAsLastRow : toInt(state.keyWidth)),
               state.spacingAuto ? automatic : toInt(state.keySpacing),
               alignmentEnabled(state) ? toInt(state.alignment) : 0)
}
