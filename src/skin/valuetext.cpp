#include "valuetext.h"

#include <QDebug>
#include <QRegularExpression>
#include <QStringList>
#include <QVector>

#include <limits>

namespace ValueText {

int parseInt(const QString &text)
{
    // QString::toInt accepts surrounding blanks and rejects everything else.
    return text.toInt();
}

bool isIntList(const QString &text, int parts)
{
    const QStringList values = text.split(QLatin1Char(','));
    if (parts >= 0 && values.size() != parts)
        return false;
    for (const QString &value : values) {
        bool ok = false;
        value.toInt(&ok);
        if (!ok)
            return false;
    }
    return true;
}

namespace {

    // The parts are read in place: a panel of many keys reads four numbers
    // per key and render.
    QVector<QStringRef> splitAtCommas(const QString &text)
    {
        return text.splitRef(QLatin1Char(','));
    }

    // As parseInt, for a part of a text.
    int partToInt(const QStringRef &part)
    {
        return part.toInt();
    }

} // namespace

QPoint parsePoint(const QString &text)
{
    const QVector<QStringRef> parts = splitAtCommas(text);
    if (parts.size() != 2)
        return QPoint(0, 0);
    return QPoint(partToInt(parts.at(0)), partToInt(parts.at(1)));
}

QSize parseSize(const QString &text)
{
    const QVector<QStringRef> parts = splitAtCommas(text);
    if (parts.size() != 2)
        return QSize(-1, -1);
    return QSize(partToInt(parts.at(0)), partToInt(parts.at(1)));
}

namespace {

    // A QRect keeps its far edge as (start + side) - 1 and gives its side back
    // as (far - start) + 1, all in int: a side is kept where both stay in the
    // int range, and one that would carry them out is cut to end at its border.
    int sideWithinRange(int start, int side)
    {
        const int lowest = std::numeric_limits<int>::min() + 1;
        const int highest = std::numeric_limits<int>::max();
        const qint64 end = qint64(start) + qMax(side, lowest);
        if (end > highest)
            return int(highest - qint64(start));
        if (end < lowest)
            return int(lowest - qint64(start));
        return qMax(side, lowest);
    }

} // namespace

QRect parseRect(const QString &text)
{
    const QVector<QStringRef> parts = splitAtCommas(text);
    if (parts.size() != 4)
        return QRect(0, 0, 0, 0);
    const int x = partToInt(parts.at(0));
    const int y = partToInt(parts.at(1));
    return QRect(
        x, y, sideWithinRange(x, partToInt(parts.at(2))), sideWithinRange(y, partToInt(parts.at(3))));
}

QList<int> parseIntList(const QString &text)
{
    QList<int> values;
    const QVector<QStringRef> parts = splitAtCommas(text);
    values.reserve(parts.size());
    for (const QStringRef &part : parts)
        values.append(partToInt(part));
    return values;
}

QString formatPoint(const QPoint &point)
{
    return QStringLiteral("%1,%2").arg(point.x()).arg(point.y());
}

QString formatSize(const QSize &size)
{
    return QStringLiteral("%1,%2").arg(size.width()).arg(size.height());
}

QString formatRect(const QRect &rect)
{
    return QStringLiteral("%1,%2,%3,%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

QString unescapeUnicode(const QString &text)
{
    static const QRegularExpression escape(QStringLiteral("\\\\u([a-fA-F0-9]{4})"));
    struct Hit
    {
        int start;
        int end;
        QChar character;
    };
    QVector<Hit> hits;
    QRegularExpressionMatchIterator it = escape.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        qDebug() << match.captured(1);
        qDebug() << "start: " << match.capturedStart() << ", end: " << match.capturedEnd();
        hits.append(
            { match.capturedStart(), match.capturedEnd(), QChar(match.captured(1).toUShort(nullptr, 16)) });
    }
    // From the last escape to the first, so earlier positions stay valid.
    QString result = text;
    for (int i = hits.size() - 1; i >= 0; --i)
        result.replace(hits.at(i).start, hits.at(i).end - hits.at(i).start, hits.at(i).character);
    return result;
}

} // namespace ValueText
