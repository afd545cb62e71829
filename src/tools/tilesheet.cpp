#include "tilesheet.h"

#include "skin/atomicfile.h"
#include "skin/imagelimits.h"
#include "skin/skinconfig.h"
#include "skin/tile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QPainter>

namespace TileSheet {

QImage loadSheet(const QString &tilFile)
{
    const QFileInfo info(tilFile);
    const QString sheetPath = tileImagePath(tilFile);
    if (!info.exists()) {
        qInfo() << info.absoluteFilePath() << " not exists!";
        return QImage();
    }
    if (!QFileInfo::exists(sheetPath)) {
        qInfo() << sheetPath << " not exists!";
        return QImage();
    }
    const QImage sheet = ImageLimits::load(sheetPath);
    if (sheet.isNull())
        qInfo() << sheetPath << " is invalid!";
    return sheet;
}

bool encodeImage(AtomicFile &file, const QImage &image, const char *format)
{
    if (image.isNull())
        return false;
    if (!file.isOpen() && !file.open()) {
        qInfo() << "can not open file: " << file.fileName() << file.errorString();
        return false;
    }
    // Encoded in memory first: an encoder that fails half-way through a write
    // may leave its own buffers behind, and the file gets the whole image in
    // one checked write.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, format)) {
        qInfo() << file.fileName() << " can not be encoded!";
        file.cancel();
        return false;
    }
    if (!file.write(bytes) || !file.finish()) {
        qInfo() << file.fileName() << " can not be written!" << file.errorString();
        file.cancel();
        return false;
    }
    return true;
}

bool savePng(const QImage &image, const QString &path)
{
    if (image.isNull())
        return false;
    AtomicFile file(path);
    if (!encodeImage(file, image, "PNG"))
        return false;
    if (!file.commit()) {
        qInfo() << path << " can not be written!" << file.errorString();
        return false;
    }
    return true;
}

bool pack(const QVector<Entry> &entries, bool vertical, const QString &tilFile, QString *why)
{
    auto fail = [why](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    const QFileInfo tilInfo(tilFile);
    if (!QFileInfo(tilInfo.absolutePath()).isDir()) {
        qInfo() << tilInfo.absolutePath() << " is not a directory!";
        return fail(QCoreApplication::translate("Tools", "the directory %1 does not exist")
                        .arg(tilInfo.absolutePath()));
    }
    // 64-bit sums: a long list of wide images must not wrap around before
    // the bound check.
    qint64 width = 0;
    qint64 height = 0;
    for (const Entry &entry : entries) {
        const QSize size = entry.image.size();
        if (vertical) {
            width = qMax<qint64>(width, size.width());
            height += size.height();
        } else {
            width += size.width();
            height = qMax<qint64>(height, size.height());
        }
    }
    if (width > ImageLimits::maxSide || height > ImageLimits::maxSide
        || !ImageLimits::allows(int(width), int(height))) {
        qInfo() << "sheet for " << tilFile << " would be " << width << "x" << height
                << ", over the image size bound; nothing written!";
        return fail(QCoreApplication::translate(
            "Tools", "the sheet would be %1 x %2 pixels, more than an image may have")
                        .arg(width)
                        .arg(height));
    }

    QImage sheet
        = ImageLimits::create(QSize(int(width), int(height)), QImage::Format_ARGB32_Premultiplied, "sheet");
    QVector<QRect> rects;
    rects.reserve(entries.size());
    {
        QPainter painter;
        if (!sheet.isNull())
            painter.begin(&sheet);
        int x = 0;
        int y = 0;
        for (const Entry &entry : entries) {
            const QImage &image = entry.image;
            if (painter.isActive() && !image.isNull())
                painter.drawImage(x, y, image);
            rects.append(QRect(x, y, image.width(), image.height()));
            if (vertical)
                y += image.height();
            else
                x += image.width();
        }
    }

    SkinConfig config(tilFile);
    config.setValue(QStringLiteral("GLOBAL/USE_ALPHA"), QStringLiteral("1"));
    config.setValue(QStringLiteral("GLOBAL/TILE_NUM"), QString::number(entries.size()));
    for (int i = 0; i < entries.size(); ++i) {
        const QRect &rect = rects.at(i);
        config.setValue(QStringLiteral("IMG%1/SOURCE_RECT").arg(entries.at(i).number),
            QStringLiteral("%1,%2,%3,%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height()));
    }
    const QByteArray tileText = config.toBytes();
    // Written below with the sheet, or not at all.
    config.markSaved();

    // Both files are made complete first and then put in place back to back:
    // a failure leaves both as they were, and an interrupted run can leave
    // them disagreeing only between the two renames.
    AtomicFile sheetFile(tileImagePath(tilFile));
    AtomicFile tileFile(tilFile);
    QVector<AtomicFile *> files;
    if (sheet.isNull()) {
        qInfo() << "sheet for " << tilFile << " is empty; no image written!";
    } else {
        if (!encodeImage(sheetFile, sheet, "PNG"))
            return fail(QCoreApplication::translate("Tools", "the sheet %1 can not be written: %2")
                            .arg(tileImagePath(tilFile), sheetFile.errorString()));
        files.append(&sheetFile);
    }
    if (!tileFile.open() || !tileFile.write(tileText)) {
        qInfo() << tileFile.errorString();
        return fail(QCoreApplication::translate("Tools", "%1 can not be written: %2")
                        .arg(tilInfo.absoluteFilePath(), tileFile.errorString()));
    }
    files.append(&tileFile);
    QString error;
    if (!AtomicFile::commitAll(files, &error)) {
        qInfo() << error;
        return fail(QCoreApplication::translate("Tools", "%1 and its sheet can not be written: %2")
                        .arg(tilInfo.absoluteFilePath(), error));
    }
    return true;
}

} // namespace TileSheet
