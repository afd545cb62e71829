#pragma once

#include <QColor>
#include <QQuickImageProvider>

class StylesManager;

// "image://styles/...": single styles for the style list and the tile of the
// transparency checkerboard drawn behind them.
//
//   transparent…  one 2g x 2g checkerboard tile (colours and g as set)
//   nm/<n>        style n, normal state, natural size
//   hl/<n>        style n, highlighted state, natural size
//   anything else a 1x1 transparent placeholder
class StylesImageProvider : public QQuickImageProvider
{
public:
    StylesImageProvider();

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

    // The checkerboard's colours and the side g of one square. The editor
    // passes its settings in; until then these are the settings' defaults.
    void setCheckerboard(const QColor &first, const QColor &second, int gridSize);

private:
    QImage transparentTile() const;

    StylesManager *mStylesManager;
    QColor mFirstColor = QColor(0xff, 0xff, 0xff);
    QColor mSecondColor = QColor(0xcc, 0xcc, 0xcc);
    int mGridSize = 5;
};
