.pragma library

// The arguments of the panel scaler: with the ratio locked the horizontal
// pair serves both directions (four arguments), otherwise both pairs go
// (six arguments).
function scaleArguments(sourceDir, targetDir, lockRatio, hSource, hTarget, vSource, vTarget) {
    if (lockRatio)
        return [sourceDir, targetDir, Number(hSource), Number(hTarget)]
    return [sourceDir, targetDir, Number(hSource), Number(hTarget), Number(vSource), Number(vTarget)]
}
