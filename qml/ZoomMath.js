.pragma library

// Zoom arithmetic of the preview. Zoom factors are image scale factors; they
// are divided by the device pixel ratio so that 1 / dpr shows one image pixel
// per physical pixel.

function minZoom(dpr) {
    return 0.1 / dpr
}

function maxZoom(dpr) {
    return 5.0 / dpr
}

function clamp(zoom, dpr) {
    if (isNaN(zoom))
        return 1 / dpr
    return Math.min(Math.max(zoom, minZoom(dpr)), maxZoom(dpr))
}

// Whole wheel notches in an angle delta (120 per notch), rounded half away
// from zero so that both directions behave alike.
function notches(angleDeltaY) {
    var n = angleDeltaY / 120
    return n < 0 ? -Math.round(-n) : Math.round(n)
}

// One notch changes the zoom by 0.1.
function wheelZoom(zoom, angleDeltaY, dpr) {
    return clamp(zoom + notches(angleDeltaY) / 10, dpr)
}

// How far the image position moves so that the image point p (in image
// coordinates) stays under the cursor when the zoom goes from oldZoom to
// newZoom.
function anchorShift(p, oldZoom, newZoom) {
    return (1 - newZoom / oldZoom) * p * oldZoom
}

// The zoom at which an image fills the pane's width; the current zoom when
// either size is unusable.
function fitWidth(paneWidth, imageWidth, zoom, dpr) {
    if (!(paneWidth > 0) || !(imageWidth > 0))
        return zoom
    return clamp(paneWidth / imageWidth, dpr)
}

// The zoom at which the whole image fits into the pane.
function fitAll(paneWidth, paneHeight, imageWidth, imageHeight, zoom, dpr) {
    if (!(paneWidth > 0) || !(paneHeight > 0) || !(imageWidth > 0) || !(imageHeight > 0))
        return zoom
    return clamp(Math.min(paneWidth / imageWidth, paneHeight / imageHeight), dpr)
}

// Position along one axis that centres an image of the given size and zoom.
function centred(paneSize, imageSize, zoom) {
    return (paneSize - imageSize * zoom) / 2
}
