#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// The one bound on images made from file data, for the whole program.
//
// Qt 5 has no allocation limit of its own: a small PNG that declares
// 16000x16000 decodes to a gigabyte, and a broken panel file can ask for a
// 100000x100000 canvas. Every image whose size comes from a skin file, a
// tool's input or a request goes through these checks, so such input costs a
// log line and a null image instead of the machine's memory.
namespace ImageLimits {

constexpr int maxSide = 16384;
constexpr qint64 maxPixels = qint64(64) * 1024 * 1024;

// True when an image of this size may be allocated (empty sizes are allowed:
// they allocate nothing).
bool allows(const QSize &size);
bool allows(int width, int height);

// Lowers the pixel bound for the whole process (never above maxPixels), for
// callers such as the fuzzers that must keep every image small.
void setPixelBudget(qint64 pixels);

// A new image of that size and format, filled with transparent black, or a
// null image (and one log line naming `what`) when the size is over the
// bound or has a side of 0 or below.
QImage create(const QSize &size, QImage::Format format = QImage::Format_ARGB32_Premultiplied,
    const char *what = "image");

// The file decoded as premultiplied ARGB, or a null image when it cannot be
// decoded or declares a size over the bound (checked before decoding).
QImage load(const QString &path);

// The same, but the image keeps the format the file decodes to (RGB, grey,
// palette, 16-bit, colours under low or zero alpha untouched), for callers
// that copy pixels from file to file.
QImage loadAsIs(const QString &path);

// `image` scaled to `size` (ignoring the aspect ratio, fast transformation);
// a null image when the target is empty or over the bound.
QImage scaled(const QImage &image, const QSize &size);

// `image` scaled to `width` (when > 0) or else to `height`, the other side
// following the aspect ratio (rounded to nearest as QImage::scaledToWidth
// does, at least 1), fast transformation; what the image providers do with a
// requested size. Null when the target is over the bound.
QImage scaledKeepingAspect(const QImage &image, int width, int height);

} // namespace ImageLimits
