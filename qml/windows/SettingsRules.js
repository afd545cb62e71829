.pragma library

// Rules of the settings dialog that do not depend on its controls.

var minimumInterval = 500
var maximumInterval = 10000

// The reload interval typed as text, or -1 when it must not be stored:
// only whole numbers from 500 to 10000 are taken.
function intervalValue(text) {
    var t = String(text).trim()
    if (!/^[+]?[0-9]+$/.test(t))
        return -1
    var value = parseInt(t, 10)
    return value >= minimumInterval && value <= maximumInterval ? value : -1
}

var debugClicks = 5
var debugLevel = 0
var normalLevel = 4

// One click on the debug button: the new click count and log level. The
// fifth click toggles between the debug level and the normal one and starts
// counting again.
function debugClick(clicks, level) {
    var count = clicks + 1
    if (count < debugClicks)
        return { clicks: count, level: level }
    return { clicks: 0, level: level === debugLevel ? normalLevel : debugLevel }
}

// Sets a switch's setting so that the store ends up holding it. The store
// skips a write that equals what the file holds without its default, so on
// a fresh file turning off a setting whose default is on would be lost; the
// value is then written by way of its opposite.
function setSwitch(store, name, value) {
    if (store[name] === value)
        return
    store[name] = value
    if (store[name] !== value) {
        store[name] = !value
        store[name] = value
    }
}
