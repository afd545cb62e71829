.pragma library

// The panel lists the current section's properties only when another key
// becomes current, so after an edit of the file the list would still show the
// old values, and the edit-key page would write them back on its next Apply.
// Choosing the current key again through the empty name rebuilds the list.
// (Not a pick: the pages' selections stay as they are; see KeyPick.js.)
function refresh(panel) {
    var key = panel.currentKey
    if (key === "")
        return
    panel.currentKey = ""
    panel.currentKey = key
}
