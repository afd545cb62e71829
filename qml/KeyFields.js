.pragma library

// Numbers of the key editing fields. The fields hold integer text or nothing;
// a lone "-" (half-typed) counts as nothing.

function parsed(text) {
    var n = parseInt(text, 10)
    return isNaN(n) ? null : n
}

// An absolute value: nothing means "keep the key's own value" (-1).
function absoluteOrKeep(text) {
    var n = parsed(text)
    return n === null ? -1 : n
}

// A distance or relative change: nothing means 0.
function numberOrZero(text) {
    var n = parsed(text)
    return n === null ? 0 : n
}
