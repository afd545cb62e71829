.pragma library

// Arithmetic of editing keys on the preview. Rectangles are maps with x, y,
// width and height in panel units as the composite image has them (the panel
// file's values moved by the panel's origin); `unit` is the number of pane
// pixels per panel unit (the zoom times the panel's scale; the zoom already
// holds the device pixel ratio).

// The key on top at the point (p in panel units): keys later in key order
// are drawn over earlier ones. Returns every key there, topmost last.
function keysAt(rects, px, py) {
    var found = []
    for (var i = 0; i < rects.length; ++i) {
        var r = rects[i]
        if (px >= r.x && px < r.x + r.width && py >= r.y && py < r.y + r.height)
            found.push(r.name)
    }
    return found
}

// The keys whose rectangles touch the band (any overlap or shared edge).
function keysInBand(rects, band) {
    var found = []
    for (var i = 0; i < rects.length; ++i) {
        var r = rects[i]
        if (r.x <= band.x + band.width && r.x + r.width >= band.x
                && r.y <= band.y + band.height && r.y + r.height >= band.y)
            found.push(r.name)
    }
    return found
}

// A band from two corners, whichever way it was drawn.
function band(x1, y1, x2, y2) {
    return { x: Math.min(x1, x2), y: Math.min(y1, y2), width: Math.abs(x2 - x1), height: Math.abs(y2 - y1) }
}

function rectsOf(rects, names) {
    var found = []
    for (var i = 0; i < rects.length; ++i) {
        if (names.indexOf(rects[i].name) >= 0)
            found.push(rects[i])
    }
    return found
}

function bounds(rects) {
    if (rects.length === 0)
        return null
    var left = Infinity, top = Infinity, right = -Infinity, bottom = -Infinity
    for (var i = 0; i < rects.length; ++i) {
        var r = rects[i]
        left = Math.min(left, r.x)
        top = Math.min(top, r.y)
        right = Math.max(right, r.x + r.width)
        bottom = Math.max(bottom, r.y + r.height)
    }
    return { x: left, y: top, width: right - left, height: bottom - top }
}

// Edges and centres of the keys not being edited, and the panel's edges,
// along both axes: what a moved or resized rectangle snaps to.
function snapTargets(rects, excluded, panelBox) {
    var xs = [], ys = []
    for (var i = 0; i < rects.length; ++i) {
        var r = rects[i]
        if (excluded.indexOf(r.name) >= 0)
            continue
        xs.push(r.x, r.x + r.width / 2, r.x + r.width)
        ys.push(r.y, r.y + r.height / 2, r.y + r.height)
    }
    if (panelBox && panelBox.width > 0 && panelBox.height > 0) {
        xs.push(panelBox.x, panelBox.x + panelBox.width)
        ys.push(panelBox.y, panelBox.y + panelBox.height)
    }
    return { xs: xs, ys: ys }
}

// The shift that brings the nearest of `moving` onto one of `targets`
// within `threshold`; { shift: 0, at: null } when none is near enough.
function nearest(moving, targets, threshold) {
    var best = { shift: 0, at: null }
    var bestDistance = Infinity
    for (var i = 0; i < moving.length; ++i) {
        for (var j = 0; j < targets.length; ++j) {
            var d = targets[j] - moving[i]
            if (Math.abs(d) <= threshold && Math.abs(d) < bestDistance) {
                bestDistance = Math.abs(d)
                best = { shift: d, at: targets[j] }
            }
        }
    }
    return best
}

// Rounds v to the nearest multiple of grid, measured from origin.
function toGrid(v, origin, grid) {
    return origin + Math.round((v - origin) / grid) * grid
}

// A move of the box by the raw distance (dx, dy) in panel units, snapped
// and rounded to whole units. `snap` is { targets, threshold, grid, origin }
// or null for a free move. Returns { dx, dy, guidesX, guidesY }.
function snapMove(box, dx, dy, snap) {
    var result = { dx: Math.round(dx), dy: Math.round(dy), guidesX: [], guidesY: [] }
    if (!snap || !box)
        return result
    if (snap.grid > 0) {
        result.dx = toGrid(box.x + dx, snap.origin.x, snap.grid) - box.x
        result.dy = toGrid(box.y + dy, snap.origin.y, snap.grid) - box.y
        return result
    }
    var nx = nearest([box.x + dx, box.x + box.width / 2 + dx, box.x + box.width + dx],
                     snap.targets.xs, snap.threshold)
    if (nx.at !== null) {
        result.dx = Math.round(dx + nx.shift)
        result.guidesX = [nx.at]
    }
    var ny = nearest([box.y + dy, box.y + box.height / 2 + dy, box.y + box.height + dy],
                     snap.targets.ys, snap.threshold)
    if (ny.at !== null) {
        result.dy = Math.round(dy + ny.shift)
        result.guidesY = [ny.at]
    }
    return result
}

// The eight handles of a rectangle: which edges each moves (-1 the left or
// top edge, 1 the right or bottom one, 0 neither).
var handles = [
    { name: "topLeft", hx: -1, hy: -1 }, { name: "top", hx: 0, hy: -1 },
    { name: "topRight", hx: 1, hy: -1 }, { name: "right", hx: 1, hy: 0 },
    { name: "bottomRight", hx: 1, hy: 1 }, { name: "bottom", hx: 0, hy: 1 },
    { name: "bottomLeft", hx: -1, hy: 1 }, { name: "left", hx: -1, hy: 0 }
]

// Where a handle sits on the box: its centre in panel units.
function handlePoint(box, handle) {
    return { x: box.x + box.width * (handle.hx + 1) / 2, y: box.y + box.height * (handle.hy + 1) / 2 }
}

// The box after dragging a handle by (dx, dy) panel units: whole units, at
// least one unit wide and high, snapped like a move when `snap` is given;
// `keepAspect` keeps the width to height ratio (the larger change wins).
function resize(box, handle, dx, dy, keepAspect, snap) {
    var left = box.x, top = box.y, right = box.x + box.width, bottom = box.y + box.height
    var guidesX = [], guidesY = []
    var moveX = handle.hx < 0 ? left + dx : right + dx
    var moveY = handle.hy < 0 ? top + dy : bottom + dy
    if (snap && !keepAspect) {
        if (snap.grid > 0) {
            moveX = toGrid(moveX, snap.origin.x, snap.grid)
            moveY = toGrid(moveY, snap.origin.y, snap.grid)
        } else {
            var nx = nearest([moveX], snap.targets.xs, snap.threshold)
            if (nx.at !== null && handle.hx !== 0) {
                moveX += nx.shift
                guidesX = [nx.at]
            }
            var ny = nearest([moveY], snap.targets.ys, snap.threshold)
            if (ny.at !== null && handle.hy !== 0) {
                moveY += ny.shift
                guidesY = [ny.at]
            }
        }
    }
    moveX = Math.round(moveX)
    moveY = Math.round(moveY)
    if (handle.hx < 0)
        left = Math.min(moveX, right - 1)
    else if (handle.hx > 0)
        right = Math.max(moveX, left + 1)
    if (handle.hy < 0)
        top = Math.min(moveY, bottom - 1)
    else if (handle.hy > 0)
        bottom = Math.max(moveY, top + 1)
    var width = right - left, height = bottom - top
    if (keepAspect && box.width > 0 && box.height > 0) {
        var ratio = box.width / box.height
        if (handle.hx === 0)
            width = Math.max(1, Math.round(height * ratio))
        else if (handle.hy === 0 || width / box.width >= height / box.height)
            height = Math.max(1, Math.round(width / ratio))
        else
            width = Math.max(1, Math.round(height * ratio))
        // the edges opposite the handle stay; a side handle grows both ways
        left = handle.hx < 0 ? right - width : handle.hx > 0 ? left
                                                             : Math.round(box.x + (box.width - width) / 2)
        top = handle.hy < 0 ? bottom - height : handle.hy > 0 ? top
                                                              : Math.round(box.y + (box.height - height) / 2)
    }
    return { x: left, y: top, width: width, height: height, guidesX: guidesX, guidesY: guidesY }
}

// The properties of a copy of a key: the same lines with the view and touch
// rectangles moved by (dx, dy). Returns a change map "SECTION/NAME" -> value.
function copiedKey(lines, newKey, dx, dy, changes) {
    for (var i = 0; i < lines.length; ++i) {
        var at = lines[i].indexOf("=")
        if (at < 1)
            continue
        var name = lines[i].substring(0, at)
        var value = lines[i].substring(at + 1)
        if (name === "VIEW_RECT" || name === "TOUCH_RECT")
            value = movedRect(value, dx, dy)
        changes[newKey + "/" + name] = value
    }
    return changes
}

// "x,y,w,h" moved; any other text is kept as it is.
function movedRect(text, dx, dy) {
    var parts = text.split(",")
    if (parts.length !== 4)
        return text
    var x = parseInt(parts[0], 10), y = parseInt(parts[1], 10)
    if (isNaN(x) || isNaN(y))
        return text
    return [x + dx, y + dy, parts[2].trim(), parts[3].trim()].join(",")
}
