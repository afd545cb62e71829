.pragma library

// What is wrong with a value typed into a tool dialog, as the sentence shown
// next to the field; the empty text when it will do. The tools refuse such
// values with no more than a log line, so the dialogs check them first.

// The bounds the tools and the dialogs share.
var minimumResolution = 320
var maximumResolution = 100000
var minimumFontSize = 1
var maximumFontSize = 16384 // a larger line would be over the image bound
var maximumPanelSide = 100000
var maximumKeys = 100000 // PanelCreator::maxKeys

function isWholeNumber(text) {
    return /^\s*[+-]?[0-9]+\s*$/.test(String(text))
}

function numberProblem(text, minimum, maximum) {
    var value = parseInt(String(text), 10)
    if (!isWholeNumber(text) || value < minimum || value > maximum)
        return qsTr("Enter a whole number from %1 to %2.").arg(minimum).arg(maximum)
    return ""
}

function resolutionProblem(text) {
    return numberProblem(text, minimumResolution, maximumResolution)
}

function fontSizeProblem(text) {
    return numberProblem(text, minimumFontSize, maximumFontSize)
}

function panelSideProblem(text) {
    return numberProblem(text, 1, maximumPanelSide)
}

function directoryProblem(path) {
    return String(path).trim() === "" ? qsTr("Choose a directory.") : ""
}

function fileProblem(path) {
    return String(path).trim() === "" ? qsTr("Choose a file.") : ""
}

function textProblem(text) {
    return String(text).trim() === "" ? qsTr("Type at least one line of text.") : ""
}

// The rows of the panel creator: it lays out nothing when they ask for more
// keys than it takes.
function keyCountProblem(rows) {
    var total = 0
    for (var i = 0; i < rows.length; ++i)
        total += Math.max(0, Number(rows[i].keysNumber) || 0)
    if (total > maximumKeys)
        return qsTr("The rows ask for %1 keys; a panel can have at most %2.").arg(total).arg(maximumKeys)
    return ""
}

// True when none of the problems is set.
function allClear(problems) {
    for (var i = 0; i < problems.length; ++i) {
        if (problems[i] !== "")
            return false
    }
    return true
}
