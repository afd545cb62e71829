#include "skinconfighighlighter.h"

#include "textsearch.h"

#include <QFont>
#include <QTextDocument>

SkinConfigHighlighter::SkinConfigHighlighter(
    QTextDocument *parent, const QString &searchPattern, bool useRegularExpression, bool caseSensitivity)
    : QSyntaxHighlighter(parent)
    , mSearchPattern(searchPattern)
    , mUseRegularExpression(useRegularExpression)
    , mCaseSensitivity(caseSensitivity)
{
    mSectionFormat.setFontWeight(QFont::Bold);
    mSectionFormat.setForeground(QBrush(Qt::darkBlue));
    mKeyFormat.setForeground(QBrush(Qt::darkRed));
    mKeyFormat.setFontWeight(QFont::Normal);
    mSearchFormat.setBackground(QBrush(Qt::lightGray));
    mSearchFormat.setForeground(QBrush(Qt::green));

    mRules.append({ QRegularExpression(QStringLiteral("\\[[A-Z0-9]*\\]")), mSectionFormat });
    mRules.append({ QRegularExpression(QStringLiteral("[_A-Z]+(?=\\=)")), mKeyFormat });

    if (!mSearchPattern.isEmpty() && mUseRegularExpression)
        mSearchExpression = TextSearch::expression(mSearchPattern, mCaseSensitivity);

    // The base class would colour the document only from the event loop; the
    // editor shows the marks of a new search at once.
    if (parent)
        rehighlight();
}

void SkinConfigHighlighter::highlightBlock(const QString &text)
{
    for (const Rule &rule : qAsConst(mRules))
        applyExpression(text, rule.expression, rule.format);

    if (!mSearchPattern.isEmpty()) {
        if (mUseRegularExpression) {
            applyExpression(text, mSearchExpression, mSearchFormat);
        } else {
            const auto hits = TextSearch::plainMatches(text, mSearchPattern, mCaseSensitivity);
            for (const auto &hit : hits)
                setFormat(hit.first, hit.second - hit.first, mSearchFormat);
        }
    }

    setCurrentBlockState(0);
}

void SkinConfigHighlighter::applyExpression(
    const QString &text, const QRegularExpression &expression, const QTextCharFormat &format)
{
    if (!expression.isValid() || expression.pattern().isEmpty())
        return;
    QRegularExpressionMatchIterator it = expression.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        setFormat(match.capturedStart(), match.capturedLength(), format);
    }
}
