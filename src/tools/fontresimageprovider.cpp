#include "fontresimageprovider.h"

#include "fontresgenerator.h"
#include "skin/imagelimits.h"


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
    // A scaling over the image bound keeps the image at its own size.
    if (requestedSize.width() > 0) {
        const QImage scaled = ImageLimits::scaledKeepingAspect(image, requestedSize.width(), 0);
        if (!scaled.isNull())
            image = scaled;
    }
    if (requestedSize.height() > 0) {
        const QImage scaled = ImageLimits::scaledKeepingAspect(image, 0, requestedSize.height());
        if (!scaled.isNull())
            image = scaled;
    }
    return image;
}
