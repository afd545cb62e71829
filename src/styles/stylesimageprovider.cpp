#include "stylesimageprovider.h"

#include "app/settings.h"
#include "skin/imagelimits.h"
#include "stylesmanager.h"

#include <QColor>
#include <QVariant>

namespace {

QImage placeholder()
{
    QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

StylesImageProvider::StylesImageProvider(QObject *settings)
    : QQuickImageProvider(QQmlImageProviderBase::Image)
    , mStylesManager(StylesManager::instance())
    , mSettings(settings)
{ }

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
    const QObject *settings = mSettings ? mSettings : Settings::instance();
    const QColor c1 = settings->property("transparentBackgroudColor1").value<QColor>();
    const QColor c2 = settings->property("transparentBackgroudColor2").value<QColor>();
    const int grid = settings->property("transparentBackgroudGridSize").toInt();

    QImage cells(2, 2, QImage::Format_ARGB32_Premultiplied);
    cells.fill(c1);
    const QRgb second = qPremultiply(c2.rgba());
    cells.setPixel(0, 0, second);
    cells.setPixel(1, 1, second);
    // The grid size is user-editable text: keep 2g in int range and let the
    // image bound refuse what is too large.
    const int side = int(qBound<qint64>(-1, qint64(grid) * 2, ImageLimits::maxSide + 1));
    return ImageLimits::scaled(cells, QSize(side, side));
}
