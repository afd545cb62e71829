#pragma once

#include <QImage>
#include <QString>
#include <QVector>

class AtomicFile;

// Helpers shared by the tools that write sheets and tile files: packing
// numbered images into one sheet recorded in a tile file (the tile tool's
// join and the font resource generator's tile output) and writing PNG files
// so that a failed write never leaves a half-written image behind.
namespace TileSheet {

// One image placed on a sheet; `number` names its section "IMG<number>".
struct Entry
{
    int number = 0;
    QImage image;
};

// The sheet of a tile file (base name + ".png" beside it) as premultiplied
// ARGB. A null image, with one log line naming the missing tile file, the
// missing sheet or the sheet that "is invalid!", when it cannot be had.
QImage loadSheet(const QString &tilFile);

// Encodes `image` in `format` into `file` (opened here when it is not yet)
// and finishes it, without putting it in place; false (with one log line)
// and the file cancelled on failure.
bool encodeImage(AtomicFile &file, const QImage &image, const char *format);

// Writes `image` as PNG to `path` through a temporary file and an atomic
// rename. A null image writes nothing. False (with one log line) on failure;
// an existing file at `path` is then left as it was.
bool savePng(const QImage &image, const QString &path);

// Stacks the images in the given order, top to bottom when `vertical` and
// left to right otherwise, each starting at the edge (no alignment), onto a
// transparent premultiplied ARGB sheet. Opens the tile file at `tilFile`
// keeping its content, sets GLOBAL/USE_ALPHA to 1, GLOBAL/TILE_NUM to the
// number of entries and SOURCE_RECT of each entry's section to where it
// landed, and writes the sheet beside the tile file (base name + ".png") and
// the tile file: both are completed in temporary files first and then put in
// place back to back, so a failure changes neither. A missing directory of
// the tile file logs and writes nothing. With no non-empty image there is no sheet to save; the tile
// file is still written. A sheet over the image bound logs and writes
// nothing. Returns true when everything that had to be written was written;
// otherwise `why`, when given, says in one translated phrase what was not.
bool pack(const QVector<Entry> &entries, bool vertical, const QString &tilFile, QString *why = nullptr);

} // namespace TileSheet
