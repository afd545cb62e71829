#include "documenthandler.h"

#include "skinconfighighlighter.h"

#include <QDebug>
#include <QFile>
#include <QQmlEngine>
#include <QQmlFile>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>

DocumentHandler::DocumentHandler(QObject *parent)
    : QObject(parent)
{ }

DocumentHandler::~DocumentHandler()
{
    delete mHighlighter;
}

void DocumentHandler::setDocument(QQuickTextDocument *document)
{
    if (document == mDocument)
        return;
    if (mConnectedTextDocument)
        disconnect(
            mConnectedTextDocument, &QTextDocument::modificationChanged, this, &DocumentHandler::setModified);
    mDocument = document;
    mConnectedTextDocument = textDocument();

    // Matches found in another document mean nothing in this one.
    forgetSearch();
    attachHighlighter(QString(), true, true);
    if (mConnectedTextDocument) {
        connect(
            mConnectedTextDocument, &QTextDocument::modificationChanged, this, &DocumentHandler::setModified);
        setModified(mConnectedTextDocument->isModified());
    }
    emit documentChanged();
}

void DocumentHandler::setCursorPosition(int position)
{
    setCursorValue(mCursorPosition, position, &DocumentHandler::cursorPositionChanged);
}

void DocumentHandler::setSelectionStart(int position)
{
    setCursorValue(mSelectionStart, position, &DocumentHandler::selectionStartChanged);
}

void DocumentHandler::setSelectionEnd(int position)
{
    setCursorValue(mSelectionEnd, position, &DocumentHandler::selectionEndChanged);
}

void DocumentHandler::setCursorValue(int &member, int position, void (DocumentHandler::*changed)())
{
    if (position == member)
        return;
    member = position;
    emit(this->*changed)();
    qDebug() << "cursors: " << mCursorPosition << ", " << mSelectionStart << ", " << mSelectionEnd;
}

void DocumentHandler::setModified(bool modified)
{
    if (modified == mModified)
        return;
    mModified = modified;
    emit modifiedChanged();
    qDebug() << "modified: " << (modified ? "true" : "false");
}

void DocumentHandler::load(const QUrl &fileUrl)
{
    qDebug() << "loading " << fileUrl;
    if (fileUrl == mFileUrl)
        return;
    if (!qmlEngine(this)) {
        qWarning() << "load() called before DocumentHandler has QQmlEngine";
        return;
    }

    const QString fileName = QQmlFile::urlToLocalFileOrQrc(fileUrl);
    QFile file(fileName);
    if (!file.exists()) {
        qInfo() << fileName << " not exists!";
    } else if (file.size() > MaximumFileSize) {
        // No skin text comes near this; the text area would freeze on it.
        qInfo() << fileName << " is too large to edit!";
    } else if (!file.open(QIODevice::ReadOnly)) {
        qInfo() << "can not open file: " << fileName;
    } else {
        const QByteArray bytes = file.readAll();
        forgetSearch();
        if (QTextDocument *doc = textDocument())
            doc->setModified(false);
        emit loaded(QString::fromUtf8(bytes));
        // The view puts the text into the area while the signal is delivered;
        // a freshly loaded file is not a modified one.
        if (QTextDocument *doc = textDocument())
            doc->setModified(false);
    }

    mFileUrl = fileUrl;
    emit fileUrlChanged();
}

void DocumentHandler::save()
{
    if (!mFileUrl.isEmpty())
        saveAs(mFileUrl);
}

void DocumentHandler::saveAs(const QUrl &fileUrl)
{
    QTextDocument *doc = textDocument();
    if (!mDocument || !doc)
        return;

    // Through a temporary file and a rename, so that a failed save leaves the
    // file on disk as it was.
    const QString fileName = QQmlFile::urlToLocalFileOrQrc(fileUrl);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        qInfo() << "Cannot save: " << fileName << file.errorString();
        emit error(tr("Cannot save: ") + file.errorString());
        return;
    }
    const QByteArray bytes = doc->toPlainText().toUtf8();
    const qint64 written = file.write(bytes);
    if (written != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        qInfo() << "Cannot save: " << fileName << reason;
        emit error(tr("Cannot save: ") + reason);
        return;
    }

    if (written > 0) {
        doc->setModified(false);
        if (fileUrl != mFileUrl) {
            mFileUrl = fileUrl;
            emit fileUrlChanged();
        }
    }
}

void DocumentHandler::search(const QString &pattern, bool useRegularExpression, bool caseSensitivity)
{
    if (pattern == mSearchPattern && useRegularExpression == mUseRegularExpression
        && caseSensitivity == mCaseSensitivity)
        return;

    mSearchPattern = pattern;
    mListPattern = pattern;
    mUseRegularExpression = useRegularExpression;
    mCaseSensitivity = caseSensitivity;
    m_matchedList.clear();
    m_nonRegExpMatchedList.clear();
    mCurrentIndex = -1;

    QTextDocument *doc = textDocument();
    const QString text = doc ? doc->toPlainText() : QString();
    if (useRegularExpression) {
        const QRegularExpression expression = TextSearch::expression(pattern, caseSensitivity);
        if (!expression.isValid()) {
            qInfo() << "invalid regular expression: " << pattern << expression.errorString();
        } else if (!pattern.isEmpty()) {
            QRegularExpressionMatchIterator it = expression.globalMatch(text);
            while (it.hasNext()) {
                const QRegularExpressionMatch match = it.next();
                qDebug() << match;
                m_matchedList.append(match);
            }
        }
    } else {
        m_nonRegExpMatchedList = TextSearch::plainMatches(text, pattern, caseSensitivity);
        qDebug() << m_nonRegExpMatchedList;
    }

    attachHighlighter(mSearchPattern, mUseRegularExpression, mCaseSensitivity);
}

void DocumentHandler::searchNext(const QString &pattern, bool useRegularExpression, bool caseSensitivity)
{
    qDebug() << "searching next...";
    const QVector<TextSearch::Range> ranges = preparedRanges(pattern, useRegularExpression, caseSensitivity);
    if (ranges.isEmpty())
        return;
    const int reference = qMax(mCursorPosition, mSelectionEnd);
    int index = ranges.size() - 1; // no wrap-around: past the last match stays on it
    for (int i = 0; i < ranges.size(); ++i) {
        if (ranges.at(i).first >= reference) {
            index = i;
            break;
        }
    }
    selectMatch(ranges, index);
}

void DocumentHandler::searchPrevious(const QString &pattern, bool useRegularExpression, bool caseSensitivity)
{
    qDebug() << "searching previous...";
    const QVector<TextSearch::Range> ranges = preparedRanges(pattern, useRegularExpression, caseSensitivity);
    if (ranges.isEmpty())
        return;
    const int reference = qMin(mCursorPosition, mSelectionStart);
    int index = 0; // no wrap-around: before the first match stays on it
    for (int i = ranges.size() - 1; i >= 0; --i) {
        if (ranges.at(i).second <= reference) {
            index = i;
            break;
        }
    }
    selectMatch(ranges, index);
}

QVector<TextSearch::Range> DocumentHandler::preparedRanges(
    const QString &pattern, bool useRegularExpression, bool caseSensitivity)
{
    search(pattern, useRegularExpression, caseSensitivity);
    if (m_matchedList.isEmpty() && m_nonRegExpMatchedList.isEmpty())
        return {};
    qDebug() << "m_matchedList length: " << m_matchedList.size();
    qDebug() << "m_nonRegExpMatchedList length: " << m_nonRegExpMatchedList.size();
    return activeRanges();
}

void DocumentHandler::selectMatch(const QVector<TextSearch::Range> &ranges, int index)
{
    mCurrentIndex = index;
    emit sellect(ranges.at(index).first, ranges.at(index).second);
}

void DocumentHandler::replace(const QString &s)
{
    QTextDocument *doc = textDocument();
    const QVector<TextSearch::Range> ranges = activeRanges();
    if (ranges.isEmpty() || mCurrentIndex < 0 || mCurrentIndex >= ranges.size() || !doc)
        return;
    if (!stillMatches(doc->toPlainText(), mCurrentIndex)) {
        qInfo() << "the text changed since the search for " << mSearchPattern << ", nothing replaced";
        mSearchPattern.clear();
        return;
    }

    const QString text = replacementFor(mCurrentIndex, s);
    qDebug() << "replaceString: " << text;
    QTextCursor cursor(doc);
    replaceRange(cursor, ranges.at(mCurrentIndex), text);

    if (mUseRegularExpression)
        m_matchedList.removeAt(mCurrentIndex);
    else
        m_nonRegExpMatchedList.removeAt(mCurrentIndex);
    // The next search prepares again and so sees the new positions.
    mSearchPattern.clear();
    mCurrentIndex = 0;
}

void DocumentHandler::replaceAndSearch(
    const QString &s, const QString &pattern, bool useRegularExpression, bool caseSensitivity)
{
    replace(s);
    searchNext(pattern, useRegularExpression, caseSensitivity);
}

void DocumentHandler::replaceAll(const QString &s)
{
    QTextDocument *doc = textDocument();
    const QVector<TextSearch::Range> ranges = activeRanges();
    if (ranges.isEmpty() || mCurrentIndex < 0 || mCurrentIndex >= ranges.size() || !doc)
        return;
    const QString plainText = doc->toPlainText();
    for (int i = 0; i < ranges.size(); ++i) {
        if (!stillMatches(plainText, i)) {
            qInfo() << "the text changed since the search for " << mSearchPattern << ", nothing replaced";
            mSearchPattern.clear();
            return;
        }
    }

    // Last to first, so that the positions still to be replaced stay valid;
    // one edit block, so that one undo in the text area takes it all back.
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    for (int i = ranges.size() - 1; i >= 0; --i) {
        const QString text = replacementFor(i, s);
        qDebug() << "replaceString: " << text;
        replaceRange(cursor, ranges.at(i), text);
    }
    cursor.endEditBlock();

    m_matchedList.clear();
    m_nonRegExpMatchedList.clear();
    mSearchPattern.clear();
    mCurrentIndex = 0;
}

QTextDocument *DocumentHandler::textDocument() const
{
    return mDocument ? mDocument->textDocument() : nullptr;
}

void DocumentHandler::attachHighlighter(
    const QString &pattern, bool useRegularExpression, bool caseSensitivity)
{
    if (mHighlighter) {
        // Detached at once: until the event loop deletes it, it would go on
        // colouring the edited blocks with the old search.
        mHighlighter->setDocument(nullptr);
        mHighlighter->deleteLater();
    }
    QTextDocument *doc = textDocument();
    mHighlighter
        = doc ? new SkinConfigHighlighter(doc, pattern, useRegularExpression, caseSensitivity) : nullptr;
}

QVector<TextSearch::Range> DocumentHandler::activeRanges() const
{
    if (!mUseRegularExpression)
        return m_nonRegExpMatchedList;
    QVector<TextSearch::Range> ranges;
    ranges.reserve(m_matchedList.size());
    for (const QRegularExpressionMatch &match : m_matchedList)
        ranges.append(TextSearch::Range(match.capturedStart(), match.capturedEnd()));
    return ranges;
}

bool DocumentHandler::stillMatches(const QString &plainText, int index) const
{
    if (mUseRegularExpression) {
        const QRegularExpressionMatch &match = m_matchedList.at(index);
        return match.capturedEnd() <= plainText.size()
            && plainText.mid(match.capturedStart(), match.capturedLength()) == match.captured(0);
    }
    const TextSearch::Range &range = m_nonRegExpMatchedList.at(index);
    return range.second <= plainText.size()
        && QStringRef(&plainText, range.first, range.second - range.first)
               .compare(mListPattern, mCaseSensitivity ? Qt::CaseSensitive : Qt::CaseInsensitive)
        == 0;
}

QString DocumentHandler::replacementFor(int index, const QString &s) const
{
    // Plain-text mode inserts the replacement exactly as typed.
    return mUseRegularExpression ? TextSearch::substituteGroups(s, m_matchedList.at(index)) : s;
}

void DocumentHandler::replaceRange(QTextCursor &cursor, const TextSearch::Range &range, const QString &text)
{
    cursor.setPosition(range.first);
    cursor.setPosition(range.second, QTextCursor::KeepAnchor);
    cursor.insertText(text);
}

void DocumentHandler::forgetSearch()
{
    mSearchPattern.clear();
    m_matchedList.clear();
    m_nonRegExpMatchedList.clear();
    mCurrentIndex = -1;
}
