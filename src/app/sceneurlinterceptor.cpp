#include "sceneurlinterceptor.h"

#include <QFile>
#include <QQmlFile>

bool SceneUrlInterceptor::flatEffectAvailable()
{
    return QFile::exists(QQmlFile::urlToLocalFileOrQrc(flatEffect()));
}

QUrl SceneUrlInterceptor::intercept(const QUrl &url, DataType type)
{
    if (type == QmlFile && url.path().endsWith(QLatin1String("/QtQuick/Controls.2/Material/ElevationEffect.qml")))
        return flatEffect();
    return url;
}
