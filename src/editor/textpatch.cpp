#include "textpatch.h"

#include <QStringRef>

namespace {

QVector<QStringRef> splitLines(const QString &text)
{
    QVector<QStringRef> lines;
    int start = 0;
    while (start < text.size()) {
        const int lineFeed = text.indexOf(QLatin1Char('\n'), start);
        const int end = lineFeed < 0 ? text.size() : lineFeed + 1;
        lines.append(text.midRef(start, end - start));
        start = end;
    }
    return lines;
}

int startOf(const QVector<QStringRef> &lines, int index, int textSize)
{
    return index < lines.size() ? lines.at(index).position() : textSize;
}

} // namespace

QVector<TextPatch::Hunk> TextPatch::hunks(const QString &from, const QString &to)
{
    QVector<Hunk> result;
    if (from == to)
        return result;
    const QVector<QStringRef> a = splitLines(from);
    const QVector<QStringRef> b = splitLines(to);

    int prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a.at(prefix) == b.at(prefix))
        ++prefix;
    int suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix
        && a.at(a.size() - 1 - suffix) == b.at(b.size() - 1 - suffix))
        ++suffix;
    const int n = a.size() - prefix - suffix;
    const int m = b.size() - prefix - suffix;

    auto hunk = [&](int aFrom, int aTo, int bFrom, int bTo) {
        Hunk h;
        h.start = startOf(a, aFrom, from.size());
        h.end = startOf(a, aTo, from.size());
        int textStart = startOf(b, bFrom, to.size());
        int textEnd = startOf(b, bTo, to.size());
        // Within the lines, only the characters that differ: a cursor on a
        // changed line stays where it was when the change lies elsewhere in it.
        while (h.start < h.end && textStart < textEnd && from.at(h.start) == to.at(textStart)) {
            ++h.start;
            ++textStart;
        }
        while (h.start < h.end && textStart < textEnd && from.at(h.end - 1) == to.at(textEnd - 1)) {
            --h.end;
            --textEnd;
        }
        h.text = to.mid(textStart, textEnd - textStart);
        result.append(h);
    };

    if (n == 0 || m == 0 || qint64(n) * m > MaximumComparisons) {
        hunk(prefix, prefix + n, prefix, prefix + m);
        return result;
    }

    // Longest common subsequence of the middle lines, from the back, so that
    // the walk below goes forward.
    QVector<int> length((n + 1) * (m + 1), 0);
    auto at = [&](int i, int j) -> int & { return length[i * (m + 1) + j]; };
    for (int i = n - 1; i >= 0; --i) {
        for (int j = m - 1; j >= 0; --j) {
            at(i, j) = a.at(prefix + i) == b.at(prefix + j) ? at(i + 1, j + 1) + 1
                                                            : qMax(at(i + 1, j), at(i, j + 1));
        }
    }
    int i = 0;
    int j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && a.at(prefix + i) == b.at(prefix + j)) {
            ++i;
            ++j;
            continue;
        }
        const int aFrom = i;
        const int bFrom = j;
        while ((i < n || j < m) && !(i < n && j < m && a.at(prefix + i) == b.at(prefix + j))) {
            if (j >= m || (i < n && at(i + 1, j) >= at(i, j + 1)))
                ++i;
            else
                ++j;
        }
        hunk(prefix + aFrom, prefix + i, prefix + bFrom, prefix + j);
    }
    return result;
}
