#pragma once

#include <QString>
#include <QVector>

// The line changes that turn one text into another, so that the editor can
// take a new version of its file by touching only the lines that changed:
// the cursor, the selection and the scroll position stay on the lines that
// did not. Lines end after their '\n'; a hunk covers whole lines less the
// characters they keep at either end.
class TextPatch
{
public:
    struct Hunk
    {
        int start = 0; // character range in the old text
        int end = 0;
        QString text; // what takes its place
    };

    // In text order; empty when the texts are equal.
    static QVector<Hunk> hunks(const QString &from, const QString &to);

    // Above this many line pairs to compare, the changed middle becomes one
    // hunk (memory and time grow with the product).
    static constexpr qint64 MaximumComparisons = 1000000;
};
