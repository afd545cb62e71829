#include "panelimageprovider.h"

#include "panel.h"
#include "skin/imagelimits.h"

#include <QDebug>
#include <QElapsedTimer>

PanelImageProvider::PanelImageProvider()
    : QQuickImageProvider(QQuickImageProvider::Image)
    , mPanel(Panel::instance())
{ }

QImage PanelImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    qDebug() << "request resource image: " << id;
    QElapsedTimer timer;
    timer.start();
    QImage image = mPanel->renderPreview();
    if (size)
        *size = image.size();
    if (requestedSize.width() > 0 || requestedSize.height() > 0) {
        const QSize target(requestedSize.width() < 1 ? image.width() : requestedSize.width(),
            requestedSize.height() < 1 ? image.height() : requestedSize.height());
        // Over the bound the unscaled composite is the better answer.
        const QImage scaled = ImageLimits::scaled(image, target);
        if (!scaled.isNull())
            image = scaled;
    }
    qInfo() << "request image time: " << timer.elapsed();
    return image;
}
