#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The comma-separated number forms of skin files, shared by the panel model
// and the tools. Every helper splits at each comma, keeps empty parts, and
// reads each part as a decimal integer (surrounding blanks allowed; anything
// else counts as 0).
namespace ValueText {

// "x,y"; any other number of parts gives (0, 0).
QPoint parsePoint(const QString &text);
// "w,h"; any other number of parts gives the invalid size (-1, -1).
QSize parseSize(const QString &text);
// "x,y,w,h" with inclusive edges (right = x + w - 1); any other number of
// parts gives the null rectangle (0, 0, 0, 0).
QRect parseRect(const QString &text);
// Any number of parts; an empty text gives one element 0.
QList<int> parseIntList(const QString &text);
// One part as a decimal integer, 0 when it is not one.
int parseInt(const QString &text);
// True when every comma-separated part reads as a decimal integer and there
// are `parts` of them (any number for -1): the text is read as written, with
// no part falling back to 0 and no form falling back as a whole.
bool isIntList(const QString &text, int parts = -1);

QString formatPoint(const QPoint &point);
QString formatSize(const QSize &size);
QString formatRect(const QRect &rect);

// Replaces every backslash-u escape with exactly four hexadecimal digits by
// the UTF-16 code unit it names.
QString unescapeUnicode(const QString &text);

} // namespace ValueText
