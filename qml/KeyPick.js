.pragma library

// Tells the key editing pages whether a change of the panel's current key
// comes from the author picking a key (a click on the preview or a choice in
// the key menu). The current key also changes when another panel file is
// opened; only a pick may change a page's selection.

var depth = 0

function run(action) {
    ++depth
    try {
        action()
    } finally {
        --depth
    }
}

function active() {
    return depth > 0
}
