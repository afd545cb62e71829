#pragma once

#include "skin/operationresult.h"
#include "skin/tile.h"

#include <QMap>
#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>

class SkinConfig;

// Lets the author set the stretchable inner rectangle of the tiles of one
// tile file: load a tile file with its sheet, choose a tile by number,
// preview a rectangle (the "til" image provider draws the tile stretched with
// it), go back to the stored value, and write the current tile's rectangle.
// The tool works in tile coordinates; the file holds sheet coordinates.
class InnerRectTool : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList imgList READ imgList NOTIFY imgListChanged)
    Q_PROPERTY(QString currentImgId READ currentImgId WRITE setCurrentImgId NOTIFY currentImgIdChanged)
    Q_PROPERTY(QRect currentInnerRect READ currentInnerRect NOTIFY currentInnerRectChanged)

public:
    static InnerRectTool *instance();
    ~InnerRectTool() override;

    QStringList imgList() const;
    QString currentImgId() const { return mCurrentImgId; }
    void setCurrentImgId(const QString &id);
    QRect currentInnerRect() const;

    // The tile of that number as the provider draws it (an empty tile when
    // there is none).
    Tile tile(const QString &number) const { return mTiles.value(number); }
    QString currentImg() const { return mCurrentImg; }

    // True when the rectangle x, y, w, h relative to the current tile can be
    // saved: its edges lie within the int range both in tile coordinates and,
    // moved by the tile's SOURCE_RECT, in sheet coordinates. False without a
    // current tile.
    bool fitsSheetCoordinates(int x, int y, int w, int h) const;

    // The results are for C++ callers; QML ignores them.
    Q_INVOKABLE bool setTilFile(const QString &til);
    Q_INVOKABLE void setCurrentImg(const QString &img);
    Q_INVOKABLE void setCurrentInnerRect(int x, int y, int w, int h);
    Q_INVOKABLE void reset();
    Q_INVOKABLE bool save();

signals:
    void loaded();
    void imgListChanged();
    void currentImgIdChanged();
    void currentInnerRectChanged();
    // A tile file that could not be loaded, a rectangle refused, a save.
    void reported(const OperationResult &result);

private:
    explicit InnerRectTool(QObject *parent = nullptr);
    void clear();
    QString newImgId() const;
    void readRects(const QString &section, QRect &source, QRect &relativeInner) const;
    QRect currentSourceRect() const;

    std::unique_ptr<SkinConfig> mConfig;
    QMap<QString, Tile> mTiles;
    QStringList mImgList;
    QString mCurrentImg;
    QString mCurrentImgId = QStringLiteral("1/1");
    QRect mCurrentInnerRect = QRect(0, 0, 1, 1);
};
