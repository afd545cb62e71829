#pragma once

#include "fileversion.h"
#include "skin/operationresult.h"
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
// It also keeps the text and the file together: a clean text follows the
// file on disk, edited text is never saved over a version of the file it has
// not seen, and a save keeps the file's line endings and byte-order mark.
class DocumentHandler : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QQuickTextDocument *document READ document WRITE setDocument NOTIFY documentChanged)
    Q_PROPERTY(int cursorPosition READ cursorPosition WRITE setCursorPosition NOTIFY cursorPositionChanged)
    Q_PROPERTY(int selectionStart READ selectionStart WRITE setSelectionStart NOTIFY selectionStartChanged)
    Q_PROPERTY(int selectionEnd READ selectionEnd WRITE setSelectionEnd NOTIFY selectionEndChanged)
    Q_PROPERTY(bool modified READ modified WRITE setModified NOTIFY modifiedChanged)
    Q_PROPERTY(QUrl fileUrl READ fileUrl NOTIFY fileUrlChanged)
    Q_PROPERTY(QString filePath READ filePath NOTIFY fileUrlChanged)

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
    QString filePath() const;

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
    // The file changed on disk while the text holds unsaved edits; answered
    // by reloadFile or keepBuffer. Asked once per version of the file.
    void fileChangedOnDisk();
    void reported(const OperationResult &result);

public slots:
    void load(const QUrl &fileUrl);
    bool save();
    bool saveAs(const QUrl &fileUrl);

    // Looks at the file on disk: a clean text takes a new version in place
    // (cursor and scroll stay), edited text asks through fileChangedOnDisk.
    void checkFile();
    // Takes the file's text on disk in place of the edits (one step in the
    // text area's undo); false when the file cannot be read.
    bool reloadFile();
    // The edits stay and the version on disk that was asked about may be
    // overwritten by the next save (done at once when a save was refused).
    void keepBuffer();
    // Drops the edits: the text on disk, or, if that cannot be read, the
    // text as it is marked unmodified.
    void discard();

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
    // The document's text with plain line feeds, non-breaking spaces kept.
    static QString plainText(const QTextDocument &document);
    static bool readBytes(const QString &path, QByteArray *bytes);
    // Whether the file now differs from the version the text is based on;
    // `now` and `bytes` hold what was found when it does.
    bool changedOnDisk(const QString &path, FileVersion *now, QByteArray *bytes);
    // Remembers the byte-order mark and the line ending of the file's bytes.
    QString decode(const QByteArray &bytes);
    QByteArray encode(const QString &text) const;
    void takeDiskText(const QByteArray &bytes, const FileVersion &version);
    void reportSaveFailure(const QString &fileName, const QString &reason);
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
    FileVersion mDiskVersion; // the file as the text last saw it
    FileVersion mAskedVersion; // the file version last asked about
    bool mSaveWhenKept = false;
    bool mCrLf = false;
    bool mByteOrderMark = false;
    QString mSearchPattern;
    QString mListPattern; // the pattern the match lists were made from
    bool mUseRegularExpression = true;
    bool mCaseSensitivity = true;
    QVector<QRegularExpressionMatch> m_matchedList;
    QVector<TextSearch::Range> m_nonRegExpMatchedList;
    int mCurrentIndex = -1;
};
