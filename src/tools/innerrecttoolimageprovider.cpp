#include "innerrecttoolimageprovider.h"

#include "innerrecttool.h"
#include "skin/imagelimits.h"

#include <QDebug>

InnerRectToolImageProvider::InnerRectToolImageProvider(InnerRectTool *tool)
    : QQuickImageProvider(QQuickImageProvider::Image)
    , mTool(tool ? tool : InnerRectTool::instance())
{ }

QImage InnerRectToolImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    qDebug() << "id: " << id;
    QImage placeholder(1, 1, QImage::Format_ARGB32_Premultiplied);
    placeholder.fill(Qt::transparent);

    QImage result;
    const QStringList parts = id.split(QLatin1Char('/'));
    if (parts.size() >= 2) {
        const Tile tile = mTool->tile(parts.first());
        qDebug() << tile.name() << tile.number() << tile.innerRect() << tile.image().size();
        result = tile.render(requestedSize, 1);
    }
    if (result.isNull()) {
        result = placeholder;
        // An empty or oversized request keeps the 1x1 image: never a null one.
        if (requestedSize.width() >= 0 && requestedSize.height() >= 0) {
            const QImage scaled = ImageLimits::scaled(placeholder, requestedSize);
            if (!scaled.isNull())
                result = scaled;
        }
    }
    if (size)
        *size = result.size();
    return result;
}
