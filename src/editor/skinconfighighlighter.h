#pragma once

#include <QRegularExpression>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QVector>

class QTextDocument;

// Colours skin INI text in the editor: section headers, property keys, and
// the hits of the current search. The document handler makes a new one
// whenever the document or the search changes, so everything is fixed at
// construction.
class SkinConfigHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    SkinConfigHighlighter(
        QTextDocument *parent, const QString &searchPattern, bool useRegularExpression, bool caseSensitivity);

protected:
    void highlightBlock(const QString &text) override;

private:
    struct Rule
    {
        QRegularExpression expression;
        QTextCharFormat format;
    };

    void applyExpression(
        const QString &text, const QRegularExpression &expression, const QTextCharFormat &format);

    QVector<Rule> mRules;
    QString mSearchPattern;
    bool mUseRegularExpression;
    bool mCaseSensitivity;
    QRegularExpression mSearchExpression;
    QTextCharFormat mSectionFormat;
    QTextCharFormat mKeyFormat;
    QTextCharFormat mSearchFormat;
};
