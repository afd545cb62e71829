#include "stylesimageprovider.h"

#include "skin/imagelimits.h"
#include "stylesmanager.h"

namespace {

QImage placeholder()
{
    QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

StylesImageProvider::StylesImageProvider()
    : QQuickImageProvider(QQmlImageProviderBase::Image)
    , mStylesManager(StylesManager::instance())
{ }

void StylesImageProvider::setCheckerboard(const QColor &first, const QColor &second, int gridSize)
{
    mFirstColor = first;
    mSecondColor = second;
    mGridSize = gridSize;
}

QImage StylesImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    const QStringList parts = id.split(QLatin1Char('/'));
    QImage image;
    if (parts.size() < 2) {
        if (id.startsWith(QLatin1String("transparent")))
            image = transparentTile();
    } else {
        const int number = parts.at(1).toInt();
        if (parts.first() == QLatin1String("hl"))
            image = mStylesManager->styleImage(number, QSize(-1, -1), true, 1.0);
        else if (parts.first() == QLatin1String("nm"))
            image = mStylesManager->styleImage(number, QSize(-1, -1), false, 1.0);
    }

    if (image.isNull())
        image = placeholder();
    if (size)
        *size = image.size();

    if (requestedSize.width() > 0)
        image = ImageLimits::scaledKeepingAspect(image, requestedSize.width(), 0);
    if (requestedSize.height() > 0 && !image.isNull())
        image = ImageLimits::scaledKeepingAspect(image, 0, requestedSize.height());
    // A request beyond the image bound gets the placeholder, not a failure.
    if (image.isNull())
        image = placeholder();
    return image;
}

QImage StylesImageProvider::transparentTile() const
{
    QImage cells(2, 2, QImage::Format_ARGB32_Premultiplied);
    cells.fill(mFirstColor);
    const QRgb second = qPremultiply(mSecondColor.rgba());
    cells.setPixel(0, 0, second);
    cells.setPixel(1, 1, second);
    // The grid size is user-editable text: keep 2g in int range and let the
    // image bound refuse what is too large.
    const int side = int(qBound<qint64>(-1, qint64(mGridSize) * 2, ImageLimits::maxSide + 1));
    return ImageLimits::scaled(cells, QSize(side, side));
}
