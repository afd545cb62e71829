#pragma once

#include "textsearch.h"

#include <QObject>
#include <QPointer>
#include <QQuickTextDocument>
#include <QRegularExpressionMatch>
#include <QUrl>
#include <QVector>

class QTextCursor;
class QTextDocument;
class SkinConfigHighlighter;

// The native side of the configuration text editor: loads a file into the
// QML text area, saves it back, mirrors the area's cursor and selection, and
// searches and replaces in its text. The view instantiates it and owns it.
class DocumentHandler : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QQuickTextDocument *document READ document WRITE setDocument NOTIFY documentChanged)
    Q_PROPERTY(int cursorPosition READ cursorPosition WRITE setCursorPosition NOTIFY cursorPositionChanged)
    Q_PROPERTY(int selectionStart READ selectionStart WRITE setSelectionStart NOTIFY selectionStartChanged)
    Q_PROPERTY(int selectionEnd READ selectionEnd WRITE setSelectionEnd NOTIFY selectionEndChanged)
    Q_PROPERTY(bool modified READ modified WRITE setModified NOTIFY modifiedChanged)

public:
    explicit DocumentHandler(QObject *parent = nullptr);
    ~DocumentHandler() override;

    QQuickTextDocument *document() const { return mDocument; }
    void setDocument(QQuickTextDocument *document);

    int cursorPosition() const { return mCursorPosition; }
    void setCursorPosition(int position);

    int selectionStart() const { return mSelectionStart; }
    void setSelectionStart(int position);

    int selectionEnd() const { return mSelectionEnd; }
    void setSelectionEnd(int position);

    bool modified() const { return mModified; }
    void setModified(bool modified);

    QUrl fileUrl() const { return mFileUrl; }

    // Larger files are not loaded into the editor.
    static constexpr qint64 MaximumFileSize = 16 * 1024 * 1024;

signals:
    void documentChanged();
    void cursorPositionChanged();
    void selectionStartChanged();
    void selectionEndChanged();
    void textChanged();
    void fileUrlChanged();
    void modifiedChanged();
    void loaded(const QString &text);
    void error(const QString &message);
    void sellect(int start, int end);

public slots:
    void load(const QUrl &fileUrl);
    void save();
    void saveAs(const QUrl &fileUrl);

    void search(const QString &pattern, bool useRegularExpression = true, bool caseSensitivity = true);
    void searchPrevious(
        const QString &pattern, bool useRegularExpression = true, bool caseSensitivity = true);
    void searchNext(const QString &pattern, bool useRegularExpression = true, bool caseSensitivity = true);
    void replace(const QString &s);
    void replaceAndSearch(const QString &s, const QString &pattern, bool useRegularExpression = true,
        bool caseSensitivity = true);
    void replaceAll(const QString &s);

private:
    QTextDocument *textDocument() const;
    void attachHighlighter(const QString &pattern, bool useRegularExpression, bool caseSensitivity);
    void setCursorValue(int &member, int position, void (DocumentHandler::*changed)());
    // Prepares the search; the ranges of the active mode (empty when there is
    // no match).
    QVector<TextSearch::Range> preparedRanges(
        const QString &pattern, bool useRegularExpression, bool caseSensitivity);
    void selectMatch(const QVector<TextSearch::Range> &ranges, int index);
    // The (start, end) of every match of the active mode, in text order.
    QVector<TextSearch::Range> activeRanges() const;
    // Whether the text still holds match `index` where the search found it
    // (typing does not refresh the lists).
    bool stillMatches(const QString &plainText, int index) const;
    QString replacementFor(int index, const QString &s) const;
    static void replaceRange(QTextCursor &cursor, const TextSearch::Range &range, const QString &text);
    void forgetSearch();

    QPointer<QQuickTextDocument> mDocument;
    QPointer<QTextDocument> mConnectedTextDocument;
    QPointer<SkinConfigHighlighter> mHighlighter;
    int mCursorPosition = -1;
    int mSelectionStart = 0;
    int mSelectionEnd = 0;
    bool mModified = false;
    QUrl mFileUrl;
    QString mSearchPattern;
    QString mListPattern; // the pattern the match lists were made from
    bool mUseRegularExpression = true;
    bool mCaseSensitivity = true;
    QVector<QRegularExpressionMatch> m_matchedList;
    QVector<TextSearch::Range> m_nonRegExpMatchedList;
    int mCurrentIndex = -1;
};
