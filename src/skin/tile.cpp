#include "tile.h"

#include "imagelimits.h"
#include "skinconfig.h"
#include "valuetext.h"

#include <QDebug>
#include <QFileInfo>
#include <QPainter>
#include <QtMath>

#include <limits>

Tile::Tile(const QString &name, int number, const QRect &innerRect, const QImage &image)
    : mName(name)
    , mNumber(number)
    , mInnerRect(innerRect)
    , mImage(image)
{ }

void Tile::setInnerRect(const QRect &rect)
{
    if (rect.isValid())
        mInnerRect = rect;
}

QString Tile::keyFor(const QString &name, int number)
{
    return QStringLiteral("%1,%2").arg(name).arg(number);
}

QImage Tile::render(const QSize &size, double scale) const
{
    if (mImage.isNull())
        return QImage();

    const int w = mImage.width();
    const int h = mImage.height();
    const QSize natural(qRound(w * scale), qRound(h * scale));
    const bool negative = size.width() < 0 || size.height() < 0;

    const bool plain = !mInnerRect.isValid() || (mInnerRect.width() == w && mInnerRect.height() == h);
    if (plain || negative) {
        const QSize target
            = negative ? natural : QSize(qRound(size.width() * scale), qRound(size.height() * scale));
        return ImageLimits::scaled(mImage, target);
    }

    if (size.width() == 0 || size.height() == 0)
        return QImage();

    const int tw = qRound(size.width() * scale);
    const int th = qRound(size.height() * scale);
    const int x1 = mInnerRect.left();
    const int y1 = mInnerRect.top();
    const int x2 = mInnerRect.right();
    const int y2 = mInnerRect.bottom();
    // Borders are worked out in 64 bits: an inner rectangle from a broken
    // file may lie anywhere in the int range. One whose borders are beyond
    // any image is no nine-patch at all and scales plainly.
    const qint64 borders[] = { x1, y1, qint64(w) - (qint64(x2) + 1), qint64(h) - (qint64(y2) + 1) };
    for (const qint64 border : borders) {
        if (qAbs(border) > ImageLimits::maxSide) {
            qInfo() << "tile" << mName << mNumber << ": inner rect" << mInnerRect
                    << "is invalid! scaled plainly";
            return ImageLimits::scaled(mImage, QSize(tw, th));
        }
    }
    const int L = x1;
    const int T = y1;
    const int R = w - (x2 + 1);
    const int B = h - (y2 + 1);
    const int iw = x2 - x1 + 1;
    const int ih = y2 - y1 + 1;

    const int cw = qMax(tw, L + R);
    const int ch = qMax(th, T + B);
    if (tw <= 0 || th <= 0 || !ImageLimits::allows(tw, th))
        return ImageLimits::create(QSize(tw, th), QImage::Format_ARGB32_Premultiplied, "tile");
    QImage canvas = ImageLimits::create(QSize(cw, ch), QImage::Format_ARGB32_Premultiplied, "tile");
    if (canvas.isNull())
        return canvas;
    const int mw = cw - L - R;
    const int mh = ch - T - B;

    {
        QPainter painter(&canvas);
        auto piece = [&](int tx, int ty, int twidth, int theight, int sx, int sy, int swidth, int sheight) {
            if (twidth <= 0 || theight <= 0 || swidth <= 0 || sheight <= 0)
                return;
            painter.drawImage(QRect(tx, ty, twidth, theight), mImage, QRect(sx, sy, swidth, sheight));
        };
        piece(0, 0, L, T, 0, 0, L, T);
        piece(L, 0, mw, T, x1, 0, iw, T);
        piece(L + mw, 0, R, T, x2 + 1, 0, R, T);
        piece(0, T, L, mh, 0, y1, L, ih);
        piece(L, T, mw, mh, x1, y1, iw, ih);
        piece(L + mw, T, R, mh, x2 + 1, y1, R, ih);
        piece(0, T + mh, L, B, 0, y2 + 1, L, B);
        piece(L, T + mh, mw, B, x1, y2 + 1, iw, B);
        piece(L + mw, T + mh, R, B, x2 + 1, y2 + 1, R, B);
    }

    if (canvas.size() != QSize(tw, th))
        return canvas.scaled(tw, th, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return canvas;
}

QString tileImagePath(const QString &tileFile)
{
    const QFileInfo info(tileFile);
    return info.absolutePath() + QLatin1Char('/') + info.baseName() + QStringLiteral(".png");
}

QList<Tile> readTileFile(const QString &tileFile)
{
    QList<Tile> tiles;
    const QFileInfo info(tileFile);
    const QString imagePath = tileImagePath(tileFile);
    if (!info.exists()) {
        qInfo() << tileFile << " not exists!";
        return tiles;
    }
    if (!QFileInfo::exists(imagePath)) {
        qInfo() << imagePath << " not exists!";
        return tiles;
    }
    const QImage sheet = ImageLimits::load(imagePath);
    if (sheet.isNull()) {
        qInfo() << imagePath << " is invalid!";
        return tiles;
    }

    const QString name = info.baseName();
    SkinConfig config(tileFile);
    const QStringList groups = config.childGroups();
    for (const QString &group : groups) {
        if (!group.startsWith(QLatin1String("IMG")))
            continue;
        config.beginGroup(group);
        const QString sourceText = config.value(QStringLiteral("SOURCE_RECT"), QString());
        const QRect source = ValueText::parseRect(sourceText);
        QRect inner = ValueText::parseRect(config.value(QStringLiteral("INNER_RECT"), QString()));
        config.endGroup();

        QImage image;
        if (source.width() == 0 && source.height() == 0) {
            image = sheet;
        } else if (source.width() > 0 && source.height() > 0) {
            if (ImageLimits::allows(source.size()))
                image = sheet.copy(source); // outside the sheet comes out transparent
            else
                qInfo() << tileFile << ":" << group << " SOURCE_RECT " << sourceText
                        << " is over the image size bound!";
        }
        // Into tile coordinates (an absent one stays invalid); worked out in
        // 64 bits, as both rectangles may hold any int.
        const qint64 left = qint64(inner.left()) - source.left();
        const qint64 top = qint64(inner.top()) - source.top();
        const qint64 right = qint64(inner.right()) - source.left();
        const qint64 bottom = qint64(inner.bottom()) - source.top();
        const qint64 lowest = std::numeric_limits<int>::min();
        const qint64 highest = std::numeric_limits<int>::max();
        if (qMin(qMin(left, top), qMin(right, bottom)) < lowest
            || qMax(qMax(left, top), qMax(right, bottom)) > highest || qAbs(right - left + 1) > highest
            || qAbs(bottom - top + 1) > highest) {
            qInfo() << tileFile << ":" << group << " INNER_RECT is invalid!";
            inner = QRect();
        } else {
            inner = QRect(QPoint(int(left), int(top)), QPoint(int(right), int(bottom)));
        }
        tiles.append(Tile(name, group.mid(3).toInt(), inner, image));
    }
    return tiles;
}
