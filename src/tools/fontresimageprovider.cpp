#include "fontresimageprovider.h"

#include "fontresgenerator.h"
#include "skin/imagelimits.h"

#include <QDebug>

#include <cmath>

namespace {

// Keeps the aspect ratio like QImage::scaledToWidth/Height, but never asks
// for more than the image bound allows.
QImage scaledKeepingAspect(const QImage &image, int width, int height)
{
    const double factor = width > 0 ? double(width) / image.width() : double(height) / image.height();
    const double w = width > 0 ? width : std::round(image.width() * factor);
    const double h = height > 0 ? height : std::round(image.height() * factor);
    if (w > ImageLimits::maxSide || h > ImageLimits::maxSide || !ImageLimits::allows(int(w), int(h))) {
        qInfo() << "fontres: scaling to " << w << "x" << h << " is over the image size bound!";
        return image;
    }
    return width > 0 ? image.scaledToWidth(width, Qt::FastTransformation)
                     : image.scaledToHeight(height, Qt::FastTransformation);
}

} // namespace

FontResImageProvider::FontResImageProvider(FontResGenerator *generator)
    : QQuickImageProvider(QQuickImageProvider::Image)
    , mGenerator(generator ? generator : FontResGenerator::instance())
{ }

QImage FontResImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    QImage image = mGenerator->image(id.toInt());
    if (image.isNull()) {
        image = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
    }
    if (size)
        *size = image.size();
    if (requestedSize.width() > 0)
        image = scaledKeepingAspect(image, requestedSize.width(), 0);
    if (requestedSize.height() > 0)
        image = scaledKeepingAspect(image, 0, requestedSize.height());
    return image;
}
