#include "documenthandler.h"

#include "skinconfighighlighter.h"
#include "textpatch.h"

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
        // The text area marks its empty document modified while it sets
        // itself up; no edit of a file can be in it yet.
        if (mFileUrl.isEmpty())
            mConnectedTextDocument->setModified(false);
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

QString DocumentHandler::filePath() const
{
    return mFileUrl.isEmpty() ? QString() : QQmlFile::urlToLocalFileOrQrc(mFileUrl);
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
    FileVersion version = FileVersion::identityOf(fileName);
    QByteArray bytes;
    if (!QFile::exists(fileName)) {
        qInfo() << fileName << " not exists!";
    } else if (readBytes(fileName, &bytes)) {
        forgetSearch();
        version.setContent(bytes);
        const QString text = decode(bytes);
        if (QTextDocument *doc = textDocument())
            doc->setModified(false);
        emit loaded(text);
        // The view puts the text into the area while the signal is delivered;
        // a freshly loaded file is not a modified one. Emptying the area
        // reports a modification that the document does not keep, so the
        // flag is taken over from the document, not from its signal.
        if (QTextDocument *doc = textDocument()) {
            doc->setModified(false);
            setModified(false);
        }
    }

    mDiskVersion = version;
    mAskedVersion = FileVersion();
    mSaveWhenKept = false;
    mFileUrl = fileUrl;
    emit fileUrlChanged();
}

bool DocumentHandler::save()
{
    return !mFileUrl.isEmpty() && saveAs(mFileUrl);
}

bool DocumentHandler::saveAs(const QUrl &fileUrl)
{
    QTextDocument *doc = textDocument();
    if (!mDocument || !doc)
        return false;

    const QString fileName = QQmlFile::urlToLocalFileOrQrc(fileUrl);
    if (fileUrl == mFileUrl) {
        FileVersion now;
        QByteArray found;
        if (changedOnDisk(fileName, &now, &found)) {
            if (!mModified) {
                // Nothing to save, and the file has moved on.
                takeDiskText(found, now);
                return true;
            }
            // Writing now would undo a change the author has not seen.
            qInfo() << fileName << " changed on disk, not saved";
            mSaveWhenKept = true;
            mAskedVersion = now;
            emit reported(OperationResult::failure(
                tr("Not saved: the file changed on disk since it was loaded"), { fileName }));
            emit fileChangedOnDisk();
            return false;
        }
    }

    // Through a temporary file and a rename, so that a failed save leaves the
    // file on disk as it was. No text mode: it would change nothing on Linux
    // and the line endings are the file's own.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        reportSaveFailure(fileName, file.errorString());
        return false;
    }
    const QByteArray bytes = encode(plainText(*doc));
    const qint64 written = file.write(bytes);
    if (written != bytes.size() || !file.flush() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        reportSaveFailure(fileName, reason);
        return false;
    }

    if (written > 0 || fileUrl == mFileUrl) {
        // The watcher must not take the editor's own save for a change.
        mDiskVersion = FileVersion::identityOf(fileName);
        mDiskVersion.setContent(bytes);
        mAskedVersion = FileVersion();
        mSaveWhenKept = false;
    }
    if (written > 0) {
        doc->setModified(false);
        if (fileUrl != mFileUrl) {
            mFileUrl = fileUrl;
            emit fileUrlChanged();
        }
    }
    emit reported(OperationResult::success(tr("Saved %1").arg(fileName), { fileName }));
    return true;
}

void DocumentHandler::reportSaveFailure(const QString &fileName, const QString &reason)
{
    qInfo() << "Cannot save: " << fileName << reason;
    emit error(tr("Cannot save: ") + reason);
    emit reported(OperationResult::failure(tr("Cannot save: ") + reason, { fileName }));
}

void DocumentHandler::checkFile()
{
    const QString fileName = filePath();
    if (fileName.isEmpty() || !textDocument())
        return;
    FileVersion now;
    QByteArray bytes;
    if (!changedOnDisk(fileName, &now, &bytes))
        return;
    if (!mModified) {
        takeDiskText(bytes, now);
        return;
    }
    if (now.sameContent(mAskedVersion))
        return;
    mAskedVersion = now;
    emit fileChangedOnDisk();
}

bool DocumentHandler::reloadFile()
{
    const QString fileName = filePath();
    if (fileName.isEmpty() || !textDocument())
        return false;
    FileVersion version = FileVersion::identityOf(fileName);
    QByteArray bytes;
    if (!version.exists() || !readBytes(fileName, &bytes)) {
        emit reported(OperationResult::failure(tr("Cannot read %1").arg(fileName), { fileName }));
        return false;
    }
    version.setContent(bytes);
    takeDiskText(bytes, version);
    return true;
}

void DocumentHandler::keepBuffer()
{
    if (mAskedVersion.exists())
        mDiskVersion = mAskedVersion;
    mAskedVersion = FileVersion();
    if (mSaveWhenKept) {
        mSaveWhenKept = false;
        save();
    }
}

void DocumentHandler::discard()
{
    if (!reloadFile()) {
        if (QTextDocument *doc = textDocument())
            doc->setModified(false);
    }
}

bool DocumentHandler::changedOnDisk(const QString &path, FileVersion *now, QByteArray *bytes)
{
    *now = FileVersion::identityOf(path);
    // A file that went away is written again by the next save.
    if (!now->exists())
        return false;
    if (now->sameIdentity(mDiskVersion) && !mDiskVersion.isRacy())
        return false;
    if (!readBytes(path, bytes))
        return false;
    now->setContent(*bytes);
    if (!now->sameContent(mDiskVersion))
        return true;
    mDiskVersion = *now; // touched, or looked at again once its time is safe
    return false;
}

bool DocumentHandler::readBytes(const QString &path, QByteArray *bytes)
{
    QFile file(path);
    if (file.size() > MaximumFileSize) {
        // No skin text comes near this; the text area would freeze on it.
        qInfo() << path << " is too large to edit!";
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        qInfo() << "can not open file: " << path;
        return false;
    }
    *bytes = file.readAll();
    return true;
}

QString DocumentHandler::decode(const QByteArray &bytes)
{
    static const QByteArray byteOrderMark("\xef\xbb\xbf");
    mByteOrderMark = bytes.startsWith(byteOrderMark);
    // The first line decides; skin files written by the core use CR LF.
    const int lineFeed = bytes.indexOf('\n');
    mCrLf = lineFeed > 0 && bytes.at(lineFeed - 1) == '\r';
    return QString::fromUtf8(mByteOrderMark ? bytes.mid(byteOrderMark.size()) : bytes);
}

QByteArray DocumentHandler::encode(const QString &text) const
{
    QByteArray bytes
        = mCrLf ? QString(text).replace(QLatin1Char('\n'), QLatin1String("\r\n")).toUtf8() : text.toUtf8();
    if (mByteOrderMark)
        bytes.prepend("\xef\xbb\xbf");
    return bytes;
}

QString DocumentHandler::plainText(const QTextDocument &document)
{
    QString text = document.toRawText();
    for (QChar &c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    }
    return text;
}

void DocumentHandler::takeDiskText(const QByteArray &bytes, const FileVersion &version)
{
    QTextDocument *doc = textDocument();
    if (!doc)
        return;
    const QString text = decode(bytes).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // Only the lines that differ are replaced, so that the cursor, the
    // selection and the scroll position stay on the lines around them; one
    // edit block, one step in the text area's undo.
    const QVector<TextPatch::Hunk> hunks = TextPatch::hunks(plainText(*doc), text);
    if (!hunks.isEmpty()) {
        QTextCursor cursor(doc);
        cursor.beginEditBlock();
        for (int i = hunks.size() - 1; i >= 0; --i)
            replaceRange(cursor, TextSearch::Range(hunks.at(i).start, hunks.at(i).end), hunks.at(i).text);
        cursor.endEditBlock();
    }
    forgetSearch();
    doc->setModified(false);
    mDiskVersion = version;
    mAskedVersion = FileVersion();
    mSaveWhenKept = false;
    qDebug() << "text follows the file on disk: " << filePath();
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
