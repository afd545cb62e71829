#pragma once

#include <QPair>
#include <QRegularExpression>
#include <QString>
#include <QVector>

// The text search shared by the document handler and the highlighter, so
// that the marks always show exactly the hits that search next/previous visit.
namespace TextSearch {

using Range = QPair<int, int>; // start, end (exclusive)

// The search expression of a pattern; case-insensitive when caseSensitivity
// is false.
QRegularExpression expression(const QString &pattern, bool caseSensitivity);

// Every non-overlapping hit of the literal pattern, left to right; a hit
// that starts right where the previous one ends is found too. An empty
// pattern has no hits.
QVector<Range> plainMatches(const QString &text, const QString &pattern, bool caseSensitivity);

// The replacement text for a regular-expression match: place markers %1 to
// %99 are filled with the capture groups, group 1 going to the lowest marker
// number present, group 2 to the next, and so on, every occurrence of a
// marker receiving the same group. Group texts are inserted verbatim (a "%2"
// inside group 1's text stays as it is); markers without a group are kept.
QString substituteGroups(const QString &replacement, const QRegularExpressionMatch &match);

} // namespace TextSearch
