.pragma library

// Character sets the font resource dialog appends to its text, one
// character per line. The names are translated by the dialog.

var names = ["Upper case letters (abc)", "Lower case letters (abc)", "Upper case letters (qwerty)",
             "Lower case letters (qwerty)", "Digital", "Common punctuations"]

function range(first, last) {
    var chars = []
    for (var c = first.charCodeAt(0); c <= last.charCodeAt(0); ++c)
        chars.push(String.fromCharCode(c))
    return chars
}

function characters(index) {
    var qwerty = "QWERTYUIOPASDFGHJKLZXCVBNM".split("")
    switch (index) {
    case 0: return range("A", "Z")
    case 1: return range("a", "z")
    case 2: return qwerty
    case 3: return qwerty.map(function(c) { return c.toLowerCase() })
    case 4: return range("0", "9")
    case 5: return range("!", "/").concat(range(":", "@"), range("[", "`"), range("{", "~"))
    }
    return []
}

// The text area after appending a preset: it goes on a line of its own.
function append(text, index) {
    var chars = characters(index)
    if (chars.length === 0)
        return text
    var prefix = text === "" || text.endsWith("\n") ? text : text + "\n"
    return prefix + chars.join("\n")
}
