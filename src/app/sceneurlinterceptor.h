#pragma once

#include <QQmlAbstractUrlInterceptor>
#include <QUrl>

// Where the scene graph draws in software (no OpenGL, or offscreen), the
// controls style's elevation effect is swapped for one that turns the
// control's layer off: the style draws the raised backgrounds (tool bar,
// menus, popups, dialogs, buttons, combo boxes) through that effect's shader,
// which software drawing leaves out, so they would not show at all.
class SceneUrlInterceptor : public QQmlAbstractUrlInterceptor
{
public:
    // The file that stands in for the style's effect, and whether the
    // program carries it (the scene's resources are linked in).
    static QUrl flatEffect() { return QUrl(QStringLiteral("qrc:/FlatElevationEffect.qml")); }
    static bool flatEffectAvailable();

    QUrl intercept(const QUrl &url, DataType type) override;
};
