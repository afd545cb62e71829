.pragma library

// What the window does with a file chosen or dropped by the author.

// "panel" for a panel file, "skin" for a skin archive, "" for anything else.
function dropKind(path) {
    var p = String(path)
    if (p.endsWith(".ini"))
        return "panel"
    if (p.endsWith(".bds") || p.endsWith(".bdi") || p.endsWith(".zip"))
        return "skin"
    return ""
}

// An archive named "...bdi" (no dot is tested) holds the skin one level down.
function importedPanelFile(archivePath, workingDirectory) {
    if (String(archivePath).endsWith("bdi"))
        return workingDirectory + "/skin/port/py_26.ini"
    return workingDirectory + "/port/py_26.ini"
}

// The skin directory of a panel file: the directory above the panel file's
// directory.
function skinDirectoryOf(panelFile) {
    var p = String(panelFile)
    p = p.substring(0, Math.max(p.lastIndexOf("/"), 0))
    return p.substring(0, Math.max(p.lastIndexOf("/"), 0))
}

// Whether the path lies inside the directory (not the directory itself).
function isInside(path, directory) {
    var d = String(directory)
    if (d === "")
        return false
    if (!d.endsWith("/"))
        d += "/"
    return String(path).startsWith(d)
}

// The path below the directory, or the whole path when it lies elsewhere.
function relativePath(path, directory) {
    var p = String(path)
    if (!isInside(p, directory))
        return p
    var d = String(directory)
    return p.substring(d.endsWith("/") ? d.length : d.length + 1)
}

// Suffixes that open in the text editor.
var textSuffixes = ["ini", "cnd", "pop", "til", "css", "txt"]

function isTextFile(suffix) {
    return textSuffixes.indexOf(String(suffix)) >= 0
}

// The extensions of a name filter such as "jpg file (*.jpg *.jpeg)".
function filterExtensions(nameFilter) {
    var found = String(nameFilter).match(/\*\.[A-Za-z0-9]+/g)
    var extensions = []
    if (found)
        for (var i = 0; i < found.length; ++i)
            extensions.push(found[i].substring(2))
    return extensions
}

// A typed save name that ends in none of the filters' extensions gets the
// first extension of the selected filter.
function withFilterSuffix(path, nameFilters, selectedFilter) {
    var p = String(path)
    var name = p.substring(p.lastIndexOf("/") + 1).toLowerCase()
    for (var f = 0; f < nameFilters.length; ++f) {
        var known = filterExtensions(nameFilters[f])
        for (var i = 0; i < known.length; ++i)
            if (name.endsWith("." + known[i].toLowerCase()))
                return p
    }
    var extensions = filterExtensions(selectedFilter)
    if (extensions.length === 0)
        extensions = filterExtensions(nameFilters[0])
    return extensions.length === 0 ? p : p + "." + extensions[0]
}
