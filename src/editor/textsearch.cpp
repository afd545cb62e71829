#include "textsearch.h"

#include <QMap>

namespace TextSearch {

QRegularExpression expression(const QString &pattern, bool caseSensitivity)
{
    return QRegularExpression(pattern,
        caseSensitivity ? QRegularExpression::NoPatternOption : QRegularExpression::CaseInsensitiveOption);
}

QVector<Range> plainMatches(const QString &text, const QString &pattern, bool caseSensitivity)
{
    QVector<Range> hits;
    if (pattern.isEmpty())
        return hits;
    const Qt::CaseSensitivity cs = caseSensitivity ? Qt::CaseSensitive : Qt::CaseInsensitive;
    int from = 0;
    while (true) {
        const int i = text.indexOf(pattern, from, cs);
        if (i < 0)
            break;
        hits.append(Range(i, i + pattern.size()));
        from = i + pattern.size();
    }
    return hits;
}

namespace {

    // A place marker: "%" and one or two decimal digits with a value from 1 to
    // 99, read the way QString::arg reads them.
    int markerAt(const QString &text, int i, int *length)
    {
        if (text.at(i) != QLatin1Char('%') || i + 1 >= text.size())
            return -1;
        int value = text.at(i + 1).digitValue();
        if (value < 0)
            return -1;
        int used = 2;
        if (i + 2 < text.size()) {
            const int next = text.at(i + 2).digitValue();
            if (next >= 0) {
                value = value * 10 + next;
                used = 3;
            }
        }
        if (value < 1)
            return -1;
        *length = used;
        return value;
    }

} // namespace

QString substituteGroups(const QString &replacement, const QRegularExpressionMatch &match)
{
    // Marker number -> group number, lowest marker first.
    QMap<int, int> groupOfMarker;
    for (int i = 0; i < replacement.size(); ++i) {
        int length = 0;
        const int marker = markerAt(replacement, i, &length);
        if (marker > 0)
            groupOfMarker.insert(marker, 0);
    }
    int group = 1;
    for (auto it = groupOfMarker.begin(); it != groupOfMarker.end(); ++it)
        it.value() = group++;

    const int lastGroup = match.lastCapturedIndex();
    QString result;
    result.reserve(replacement.size());
    for (int i = 0; i < replacement.size();) {
        int length = 0;
        const int marker = markerAt(replacement, i, &length);
        if (marker > 0 && groupOfMarker.value(marker) <= lastGroup) {
            result += match.captured(groupOfMarker.value(marker));
            i += length;
        } else {
            result += replacement.at(i);
            ++i;
        }
    }
    return result;
}

} // namespace TextSearch
