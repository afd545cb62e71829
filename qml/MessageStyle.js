.pragma library
.import "fontawesome/Icons.js" as Icons

// How a message of each severity looks: info 0, success 1, warning 2,
// error 3, as the message list numbers them.

var Info = 0
var Success = 1
var Warning = 2
var Error = 3

function clamp(severity) {
    return severity >= Info && severity <= Error ? severity : Info
}

function glyph(severity) {
    return [Icons.fa_info_circle, Icons.fa_check_circle, Icons.fa_exclamation_triangle,
            Icons.fa_times_circle][clamp(severity)]
}

// the icon's colour, also the bar's border
function color(severity) {
    return ["#1565c0", "#2e7d32", "#e65100", "#c62828"][clamp(severity)]
}

// the bar's background
function tint(severity) {
    return ["#e3f2fd", "#e8f5e9", "#fff3e0", "#ffebee"][clamp(severity)]
}

// Errors and warnings stay until the author dismisses them.
function staysUntilDismissed(severity) {
    return clamp(severity) >= Warning
}
