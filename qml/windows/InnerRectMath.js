.pragma library

// Geometry of the inner-rect editor: the tile is shown scaled, the handles
// sit on the corners of the inner rectangle in tile pixels.

// The scale that fits an image into the free area (the smaller ratio).
function fitScale(imageWidth, imageHeight, areaWidth, areaHeight) {
    if (imageWidth <= 0 || imageHeight <= 0 || areaWidth <= 0 || areaHeight <= 0)
        return 1
    return Math.min(areaWidth / imageWidth, areaHeight / imageHeight)
}

function clamp(value, low, high) {
    return Math.max(low, Math.min(high, value))
}

// The rectangle between the two handle centres, in whole tile pixels.
function rectBetween(startX, startY, endX, endY) {
    var x = Math.round(startX)
    var y = Math.round(startY)
    return { x: x, y: y, w: Math.round(endX) - x, h: Math.round(endY) - y }
}

// The stretch previews: (w, 2h), (2w, 2h), (2w, h) requested from the
// provider, drawn so that a tile length is 50 units on its longer side.
function previewSizes(tileWidth, tileHeight) {
    var w = Math.max(1, tileWidth)
    var h = Math.max(1, tileHeight)
    var unit = 50 / Math.max(w, h)
    var sizes = [[w, 2 * h], [2 * w, 2 * h], [2 * w, h]]
    return sizes.map(function(s) {
        return { requestWidth: s[0], requestHeight: s[1], width: s[0] * unit, height: s[1] * unit }
    })
}
