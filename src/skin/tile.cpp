#include "tile.h"

#include "app/valuetext.h"
#include "imagelimits.h"
#include "skinconfig.h"

#include <QDebug>
#include <QFileInfo>
#include <QPainter>
#include <QtMath>

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
        inner.translate(-source.left(), -source.top()); // an absent one stays invalid
        tiles.append(Tile(name, group.mid(3).toInt(), inner, image));
    }
    return tiles;
}
