#pragma once

#include <QQuickImageProvider>

class StylesManager;

// "image://styles/...": single styles for the style list and the tile of the
// transparency checkerboard drawn behind them.
//
//   transparent…  one 2g x 2g checkerboard tile (colours and g from settings)
//   nm/<n>        style n, normal state, natural size
//   hl/<n>        style n, highlighted state, natural size
//   anything else a 1x1 transparent placeholder
class StylesImageProvider : public QQuickImageProvider
{
public:
    // `settings` is the object whose properties transparentBackgroudColor1,
    // transparentBackgroudColor2 and transparentBackgroudGridSize are read on
    // every checkerboard request; null means the program's Settings.
    explicit StylesImageProvider(QObject *settings = nullptr);

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

private:
    QImage transparentTile() const;

    StylesManager *mStylesManager;
    QObject *mSettings;
};
