.pragma library

// The colour picker's text form of a colour: "#" with six hex digits (red,
// green, blue) or eight (alpha first).

// The colour written as "#aarrggbb" in lower case, or "" when the text is
// not one of the two accepted forms.
function parse(text) {
    var t = String(text)
    if (/^#[0-9a-fA-F]{6}$/.test(t))
        return "#ff" + t.substring(1).toLowerCase()
    if (/^#[0-9a-fA-F]{8}$/.test(t))
        return t.toLowerCase()
    return ""
}

function isValid(text) {
    return parse(text) !== ""
}

function hex2(value) {
    var n = Math.round(Math.max(0, Math.min(1, value)) * 255)
    return (n < 16 ? "0" : "") + n.toString(16)
}

// The text shown for a colour given by its components (0 to 1): six digits
// when it is opaque, eight (alpha first) otherwise.
function format(r, g, b, a) {
    var rgb = hex2(r) + hex2(g) + hex2(b)
    return hex2(a) === "ff" ? "#" + rgb : "#" + hex2(a) + rgb
}

// The ring over the hue square is black on light colours, white on dark.
function ringIsBlack(r, g, b) {
    return r + g + b > 1.5
}
