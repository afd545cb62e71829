#include "innerrecttool.h"

#include "tilesheet.h"

#include "skin/imagelimits.h"
#include "skin/skinconfig.h"
#include "skin/valuetext.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <limits>

namespace {

const QString sourceRectKey = QStringLiteral("SOURCE_RECT");
const QString innerRectKey = QStringLiteral("INNER_RECT");

bool inIntRange(qint64 value)
{
    return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

// True when the rectangle x, y, w, h moved by `offset` keeps its left, top,
// right and bottom edges within the int range, where a QRect can hold them.
bool fitsIntRange(const QPoint &offset, qint64 x, qint64 y, qint64 w, qint64 h)
{
    const qint64 left = offset.x() + x;
    const qint64 top = offset.y() + y;
    return inIntRange(left) && inIntRange(top) && inIntRange(left + w - 1) && inIntRange(top + h - 1);
}

// QRect::isNull computes left - 1, which overflows at the lowest int.
bool isNullRect(const QRect &rect)
{
    return qint64(rect.right()) == qint64(rect.left()) - 1 && qint64(rect.bottom()) == qint64(rect.top()) - 1;
}

} // namespace

InnerRectTool::InnerRectTool(QObject *parent)
    : QObject(parent)
{ }

InnerRectTool::~InnerRectTool() = default;

InnerRectTool *InnerRectTool::instance()
{
    static InnerRectTool tool;
    return &tool;
}

QStringList InnerRectTool::imgList() const
{
    qDebug() << "get imgList: " << mImgList;
    return mImgList;
}

void InnerRectTool::setCurrentImgId(const QString &id)
{
    if (id == mCurrentImgId)
        return;
    mCurrentImgId = id;
    emit currentImgIdChanged();
}

QRect InnerRectTool::currentInnerRect() const
{
    qDebug() << "current InnerRect: " << mCurrentInnerRect;
    return mCurrentInnerRect;
}

QString InnerRectTool::newImgId() const
{
    // A fresh number makes the QML images ask the provider again.
    return mCurrentImg + QLatin1Char('/') + QString::number(QRandomGenerator::system()->generate());
}

void InnerRectTool::clear()
{
    mConfig.reset();
    mTiles.clear();
    mImgList.clear();
    mCurrentImg.clear();
    mCurrentImgId = QStringLiteral("1/1");
    mCurrentInnerRect = QRect(0, 0, 1, 1);
    emit imgListChanged();
    emit currentImgIdChanged();
    emit currentInnerRectChanged();
}

// The tool always holds a usable rectangle: a missing or degenerate inner
// rectangle stands for the whole tile.
void InnerRectTool::readRects(const QString &section, QRect &source, QRect &relativeInner) const
{
    mConfig->beginGroup(section);
    source = ValueText::parseRect(mConfig->value(sourceRectKey));
    const QRect inner = ValueText::parseRect(mConfig->value(innerRectKey));
    mConfig->endGroup();
    // The inner rectangle relative to the tile, worked out in 64 bits: one
    // that cannot be held relative to the tile is taken as missing.
    const QPoint offset(0, 0);
    const bool fits = fitsIntRange(offset, qint64(inner.x()) - source.x(), qint64(inner.y()) - source.y(),
        inner.width(), inner.height());
    if (inner.width() < 1 || inner.height() < 1 || !fits) {
        if (inner.width() >= 1 && inner.height() >= 1)
            qInfo() << section << innerRectKey << inner << "lies outside the integer range relative to"
                    << sourceRectKey << source << "; the whole tile is used!";
        relativeInner = QRect(0, 0, source.width(), source.height());
    } else {
        relativeInner = QRect(int(qint64(inner.x()) - source.x()), int(qint64(inner.y()) - source.y()),
            inner.width(), inner.height());
    }
}

bool InnerRectTool::setTilFile(const QString &til)
{
    clear();

    const QFileInfo info(til);
    const QString tilPath = info.absoluteFilePath();
    const QImage sheet = TileSheet::loadSheet(tilPath);
    if (sheet.isNull()) {
        emit reported(
            OperationResult::failure(QCoreApplication::translate("Tools",
                                         "%1 can not be opened: it or its sheet %2 is missing or unreadable.")
                                         .arg(tilPath, tileImagePath(tilPath)),
                { tilPath }));
        return false;
    }

    mConfig = std::make_unique<SkinConfig>(tilPath);
    const QString name = info.baseName();
    const QStringList groups = mConfig->childGroups();
    for (const QString &group : groups) {
        if (!group.startsWith(QLatin1String("IMG")))
            continue;
        QRect source;
        QRect inner;
        readRects(group, source, inner);
        QImage image;
        if (isNullRect(source))
            image = sheet;
        else if (source.width() > 0 && source.height() > 0 && ImageLimits::allows(source.size()))
            image = sheet.copy(source);
        else if (source.width() > 0 && source.height() > 0)
            qInfo() << group << sourceRectKey << source << "is over the image size bound!";
        const int number = group.mid(3).toInt();
        mTiles.insert(QString::number(number), Tile(name, number, inner, image));
    }

    mImgList = mTiles.keys();
    std::sort(mImgList.begin(), mImgList.end(),
        [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
    if (!mImgList.isEmpty()) {
        mCurrentImg.clear();
        setCurrentImg(mImgList.first());
    }
    emit loaded();
    emit imgListChanged();
    qDebug() << "loaded!";
    return true;
}

void InnerRectTool::setCurrentImg(const QString &img)
{
    if (img == mCurrentImg || !mTiles.contains(img))
        return;
    mCurrentImg = img;
    mCurrentImgId = newImgId();
    mCurrentInnerRect = mTiles.value(img).innerRect();
    emit currentImgIdChanged();
    emit currentInnerRectChanged();
}

void InnerRectTool::setCurrentInnerRect(int x, int y, int w, int h)
{
    qDebug() << x << y << w << h;
    auto it = mTiles.find(mCurrentImg);
    if (it == mTiles.end())
        return;
    if (!fitsIntRange(QPoint(0, 0), x, y, w, h)) {
        qInfo() << "inner rect " << x << y << w << h << " is invalid!";
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "The inner rect %1 is out of range; it was not previewed.")
                .arg(QStringLiteral("%1,%2,%3,%4").arg(x).arg(y).arg(w).arg(h))));
        return;
    }
    const QRect rect(x, y, w, h);
    *it = Tile(it->name(), it->number(), rect, it->image());
    if (rect != mCurrentInnerRect) {
        mCurrentInnerRect = rect;
        emit currentInnerRectChanged();
    }
    mCurrentImgId = newImgId();
    emit currentImgIdChanged();
}

void InnerRectTool::reset()
{
    // Without a current tile there is nothing to go back to.
    if (!mConfig || !mTiles.contains(mCurrentImg))
        return;
    mCurrentImgId = newImgId();
    QRect source;
    QRect inner;
    readRects(QStringLiteral("IMG%1").arg(mCurrentImg), source, inner);
    Tile &tile = mTiles[mCurrentImg];
    tile = Tile(tile.name(), tile.number(), inner, tile.image());
    mCurrentInnerRect = inner;
    emit currentImgIdChanged();
    emit currentInnerRectChanged();
}

QRect InnerRectTool::currentSourceRect() const
{
    return ValueText::parseRect(mConfig->value(QStringLiteral("IMG%1/").arg(mCurrentImg) + sourceRectKey));
}

bool InnerRectTool::fitsSheetCoordinates(int x, int y, int w, int h) const
{
    if (!mConfig || !mTiles.contains(mCurrentImg))
        return false;
    return fitsIntRange(QPoint(0, 0), x, y, w, h) && fitsIntRange(currentSourceRect().topLeft(), x, y, w, h);
}

bool InnerRectTool::save()
{
    // Without a current tile a save would invent a section "IMG".
    if (!mConfig || !mTiles.contains(mCurrentImg)) {
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "No tile is chosen; no inner rect was saved.")));
        return false;
    }
    const QString file = mConfig->fileName();
    const QRect &current = mCurrentInnerRect;
    if (!fitsSheetCoordinates(current.x(), current.y(), current.width(), current.height())) {
        qInfo() << "inner rect " << current << " of tile " << mCurrentImg
                << " lies outside the integer range in sheet coordinates; not saved!";
        emit reported(OperationResult::failure(
            QCoreApplication::translate(
                "Tools", "The inner rect of tile %1 lies outside the sheet's coordinates; it was not saved.")
                .arg(mCurrentImg),
            { file }));
        return false;
    }
    mConfig->beginGroup(QStringLiteral("IMG%1").arg(mCurrentImg));
    const QRect source = ValueText::parseRect(mConfig->value(sourceRectKey));
    const QRect inner = ValueText::parseRect(mConfig->value(innerRectKey));
    const bool noInner = inner.width() < 1 || inner.height() < 1;
    const bool wholeTile = current == QRect(0, 0, source.width(), source.height());
    if (!(noInner && wholeTile)) {
        mConfig->setValue(innerRectKey,
            QStringLiteral("%1,%2,%3,%4")
                .arg(qint64(source.x()) + current.x())
                .arg(qint64(source.y()) + current.y())
                .arg(current.width())
                .arg(current.height()));
    }
    mConfig->endGroup();
    if (!mConfig->save()) {
        emit reported(
            OperationResult::failure(QCoreApplication::translate("Tools",
                                         "%1 can not be written; the inner rect of tile %2 was not saved.")
                                         .arg(file, mCurrentImg),
                { file }));
        return false;
    }
    emit reported(OperationResult::success(
        QCoreApplication::translate("Tools", "Saved the inner rect of tile %1 to %2.").arg(mCurrentImg, file),
        { file }));
    return true;
}
