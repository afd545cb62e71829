#include "imagelimits.h"

#include <QDebug>
#include <QFile>
#include <QImageReader>

#include <atomic>

namespace ImageLimits {

namespace {

std::atomic<qint64> pixelBudget { maxPixels };

} // namespace

void setPixelBudget(qint64 pixels)
{
    pixelBudget = qBound<qint64>(1, pixels, maxPixels);
}

bool allows(int width, int height)
{
    if (width <= 0 || height <= 0)
        return true;
    return width <= maxSide && height <= maxSide && qint64(width) * height <= pixelBudget.load();
}

bool allows(const QSize &size)
{
    return allows(size.width(), size.height());
}

QImage create(const QSize &size, QImage::Format format, const char *what)
{
    if (size.width() <= 0 || size.height() <= 0)
        return QImage();
    if (!allows(size)) {
        qInfo() << what << size << "is over the image size bound of" << maxSide << "pixels a side and"
                << maxPixels << "pixels; nothing painted!";
        return QImage();
    }
    QImage image(size, format);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    return image;
}

QImage loadAsIs(const QString &path)
{
    // A PNG file goes straight to the built-in PNG reader. Left to find the
    // format itself, the reader loads and asks every image format plug-in
    // first (some 4 ms and a dozen libraries, at the first image a process
    // reads); other files still are detected by their contents.
    QFile file(path);
    const bool png = file.open(QIODevice::ReadOnly) && file.peek(8) == QByteArrayLiteral("\x89PNG\r\n\x1a\n");
    QImageReader reader;
    if (png) {
        reader.setDevice(&file);
        reader.setFormat("png");
        reader.setAutoDetectImageFormat(false);
    } else {
        reader.setFileName(path);
    }
    const QSize declared = reader.size();
    if (declared.isValid() && !allows(declared)) {
        qInfo() << path << "declares" << declared << "which is over the image size bound!";
        return QImage();
    }
    return reader.read();
}

QImage load(const QString &path)
{
    const QImage image = loadAsIs(path);
    if (image.isNull())
        return image;
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage scaled(const QImage &image, const QSize &size)
{
    if (image.isNull() || size.width() <= 0 || size.height() <= 0)
        return QImage();
    if (!allows(size)) {
        qInfo() << "scaling to" << size << "is over the image size bound; nothing painted!";
        return QImage();
    }
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage scaledKeepingAspect(const QImage &image, int width, int height)
{
    if (image.isNull() || (width <= 0 && height <= 0))
        return QImage();
    // Rounded as QImage::scaledToWidth and scaledToHeight round a fast
    // transformation; capped, so an absurd request cannot overflow.
    QSize target;
    if (width > 0) {
        const double factor = double(width) / image.width();
        target = QSize(width, qMax(1, qRound(qMin(1e9, factor * image.height()))));
    } else {
        const double factor = double(height) / image.height();
        target = QSize(qMax(1, qRound(qMin(1e9, factor * image.width()))), height);
    }
    return scaled(image, target);
}

} // namespace ImageLimits
