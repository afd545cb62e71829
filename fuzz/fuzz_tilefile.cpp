// Tile files: any text beside a small sheet reads without a crash, and every
// tile that reads can be drawn at a few sizes.
#include "fuzzfile.h"
#include "skin/tile.h"

#include <QImage>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    startDrawingFuzzer(argc, argv);
    QImage sheet(64, 48, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::blue);
    sheet.save(fuzzDirectory() + QStringLiteral("/keys.png"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = writeFuzzFile(QStringLiteral("keys.til"), data, size);
    const QList<Tile> tiles = readTileFile(path);
    int drawn = 0;
    for (const Tile &tile : tiles) {
        if (++drawn > 8)
            break;
        tile.render(QSize(40, 30), 1.0);
        tile.render(QSize(3, 200), 0.5);
    }
    return 0;
}
