.pragma library

// Conversion between the "NAME=value" lines of a section and editable rows.

// Rows of the lines that hold a "="; the key is the text before the first "=",
// the value everything after it. Lines without "=" are skipped.
function parse(lines) {
    var rows = []
    if (!lines)
        return rows
    for (var i = 0; i < lines.length; ++i) {
        var line = String(lines[i])
        var at = line.indexOf("=")
        if (at < 0)
            continue
        rows.push({ key: line.substring(0, at), value: line.substring(at + 1) })
    }
    return rows
}

// One line per row in row order; empty keys and values are kept as they are.
function build(rows) {
    var lines = []
    for (var i = 0; i < rows.length; ++i)
        lines.push(rows[i].key + "=" + rows[i].value)
    return lines
}

// Rows with empty values for the given keys.
function emptyRows(keys) {
    var rows = []
    for (var i = 0; i < keys.length; ++i)
        rows.push({ key: keys[i], value: "" })
    return rows
}

// The keys a new key section starts with.
var newKeyProperties = ["BACK_STYLE", "FORE_STYLE", "POS_TYPE", "VIEW_RECT", "UP", "LEFT", "RIGHT", "CENTER"]
