#include "editor/documenthandler.h"
#include "testfiles.h"

#include <QFile>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

#include <memory>

#include <csignal>
#include <sys/resource.h>

// The handler behind the configuration text editor, driven the way the
// editor view drives it: a real text edit whose text document, cursor and
// selection are bound to the handler, which selects what it finds through
// `sellect` and fills the edit through `loaded`.
class TestDocumentHandler : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir mDir;
    QQmlEngine mEngine;
    std::unique_ptr<QObject> mEdit;
    DocumentHandler *mHandler = nullptr;

    QTextDocument *textDocument() const { return mHandler->document()->textDocument(); }
    QString text() const { return mEdit->property("text").toString(); }
    void setText(const QString &text)
    {
        mEdit->setProperty("text", text);
        textDocument()->setModified(false);
    }
    void select(int start, int end)
    {
        QMetaObject::invokeMethod(mEdit.get(), "select", Q_ARG(int, start), Q_ARG(int, end));
    }
    QPair<int, int> selection() const
    {
        return qMakePair(mEdit->property("selectionStart").toInt(), mEdit->property("selectionEnd").toInt());
    }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = mDir.filePath(name);
        return TestFiles::writeFile(path, bytes) ? path : QString();
    }
    static QByteArray readBytes(const QString &path)
    {
        return TestFiles::readAll(path, QByteArray("<unreadable>"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mDir.isValid());
        qRegisterMetaType<OperationResult>();
        // a write past the file size limit then fails as on a full disk
        std::signal(SIGXFSZ, SIG_IGN);
        qmlRegisterType<DocumentHandler>("Quillmark.Editor", 1, 0, "DocumentHandler");
    }

    void init()
    {
        QQmlComponent component(&mEngine);
        component.setData("import QtQuick 2.15\n"
                          "import Quillmark.Editor 1.0\n"
                          "TextEdit {\n"
                          "  id: edit\n"
                          "  property DocumentHandler handler: DocumentHandler {\n"
                          "    document: edit.textDocument\n"
                          "    cursorPosition: edit.cursorPosition\n"
                          "    selectionStart: edit.selectionStart\n"
                          "    selectionEnd: edit.selectionEnd\n"
                          "    onLoaded: edit.text = text\n"
                          "    onSellect: edit.select(start, end)\n"
                          "  }\n"
                          "}\n",
            QUrl());
        mEdit.reset(component.create());
        QVERIFY2(mEdit, qPrintable(component.errorString()));
        mHandler = mEdit->property("handler").value<DocumentHandler *>();
        QVERIFY(mHandler);
        QVERIFY(mHandler->document());
        // nothing typed yet, whatever the text edit did while it set itself up
        QVERIFY(!mHandler->modified());
    }

    void cleanup()
    {
        mHandler = nullptr;
        mEdit.reset();
    }

    // A sequence of next (">") and previous ("<") searches from a cursor
    // position, and the selections they make.
    void searchSteps_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("regex");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("selections");

        const QString keys = QStringLiteral("[KEY1]\nVIEW_RECT=1\n[KEY2]\nview_rect=2\n");
        QTest::newRow("next from the start, then on") << keys << "RECT" << false << true << 0 << ">>"
                                                      << "12-16 12-16";
        QTest::newRow("next past the last stays on the last")
            << keys << "rect" << false << false << 0 << ">>>"
            << "12-16 31-35 31-35";
        QTest::newRow("previous before the first stays on the first")
            << keys << "KEY" << false << true << 2 << "<<"
            << "1-4 1-4";
        QTest::newRow("previous from the end walks back") << keys << "KEY[0-9]" << true << true << 38 << "<<<"
                                                          << "20-24 1-5 1-5";
        QTest::newRow("next and previous alternate") << keys << "_rect" << true << false << 0 << "><>"
                                                     << "11-16 11-16 30-35";
        QTest::newRow("adjacent plain hits are both found") << "abab"
                                                            << "ab" << false << true << 0 << ">>"
                                                            << "0-2 2-4";
        QTest::newRow("plain pattern with regex characters is literal") << "a.b axb a.b"
                                                                        << "a.b" << false << true << 1 << ">>"
                                                                        << "8-11 8-11";
        QTest::newRow("case-sensitive regex skips other spellings") << "Ab ab AB"
                                                                    << "ab" << true << true << 0 << ">>"
                                                                    << "3-5 3-5";
        QTest::newRow("invalid regex selects nothing") << "a(b"
                                                       << "(" << true << true << 0 << ">"
                                                       << "none";
        QTest::newRow("no hit selects nothing") << "abc"
                                                << "zz" << false << true << 0 << "><"
                                                << "none none";
        QTest::newRow("empty pattern selects nothing") << "abc"
                                                       << "" << false << true << 0 << ">"
                                                       << "none";
    }

    void searchSteps()
    {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(bool, regex);
        QFETCH(bool, caseSensitive);
        QFETCH(int, cursor);
        QFETCH(QString, steps);
        QFETCH(QString, selections);

        setText(text);
        select(cursor, cursor);
        QSignalSpy sellect(mHandler, &DocumentHandler::sellect);
        QStringList seen;
        for (const QChar step : steps) {
            const int before = sellect.count();
            if (step == QLatin1Char('>'))
                mHandler->searchNext(pattern, regex, caseSensitive);
            else
                mHandler->searchPrevious(pattern, regex, caseSensitive);
            if (sellect.count() == before) {
                seen.append(QStringLiteral("none"));
                continue;
            }
            const QList<QVariant> args = sellect.last();
            seen.append(QStringLiteral("%1-%2").arg(args.at(0).toInt()).arg(args.at(1).toInt()));
            // The view's select feeds back through the bindings.
            QCOMPARE(selection(), qMakePair(args.at(0).toInt(), args.at(1).toInt()));
        }
        QCOMPARE(seen.join(QLatin1Char(' ')), selections);
        QCOMPARE(this->text(), text);
    }

    void replaceCurrent_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("regex");
        QTest::addColumn<int>("nexts");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("expected");

        QTest::newRow("groups swapped through %2 and %1") << "A=1\nB=2"
                                                          << "(\\w)=(\\d)" << true << 1 << "%2=%1"
                                                          << "1=A\nB=2";
        QTest::newRow("second match after two nexts") << "A=1\nB=2"
                                                      << "(\\w)=(\\d)" << true << 2 << "%2=%1"
                                                      << "A=1\n2=B";
        QTest::newRow("a marker used twice gets the same group") << "x7"
                                                                 << "x(\\d)" << true << 1 << "%1%1"
                                                                 << "77";
        QTest::newRow("group text holding a marker is not substituted again")
            << "K=%2;"
            << "(\\w)=(%2);" << true << 1 << "%2 %1"
            << "%2 K";
        QTest::newRow("marker without a group is kept") << "ab"
                                                        << "a" << true << 1 << "[%1]"
                                                        << "[%1]b";
        QTest::newRow("plain text inserted literally") << "x a.b y"
                                                       << "a.b" << false << 1 << "%1\\n"
                                                       << "x %1\\n y";
        QTest::newRow("plain, second of two adjacent hits") << "abab"
                                                            << "ab" << false << 2 << "X"
                                                            << "abX";
        QTest::newRow("no search yet: nothing") << "abab"
                                                << "ab" << false << 0 << "X"
                                                << "abab";
    }

    void replaceCurrent()
    {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(bool, regex);
        QFETCH(int, nexts);
        QFETCH(QString, replacement);
        QFETCH(QString, expected);

        setText(text);
        select(0, 0);
        for (int i = 0; i < nexts; ++i)
            mHandler->searchNext(pattern, regex, true);
        mHandler->replace(replacement);
        QCOMPARE(this->text(), expected);
        // One step in the text area's own undo.
        if (expected != text) {
            textDocument()->undo();
            QCOMPARE(this->text(), text);
        }
    }

    void replaceAll_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("regex");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<bool>("searchFirst");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("expected");

        QTest::newRow("regex groups, every match") << "A=1\nB=2\nC=3"
                                                   << "(\\w)=(\\d)" << true << true << true << "%2=%1"
                                                   << "1=A\n2=B\n3=C";
        QTest::newRow("longer replacement keeps earlier positions valid")
            << "a-b-c"
            << "-" << true << true << true << "<-->"
            << "a<-->b<-->c";
        QTest::newRow("plain, adjacent hits") << "ababXab"
                                              << "ab" << false << true << true << "$"
                                              << "$$X$";
        QTest::newRow("plain, case-insensitive, literal text") << "Rect rect RECT"
                                                               << "rect" << false << false << true << "%1"
                                                               << "%1 %1 %1";
        QTest::newRow("before any search: nothing") << "abab"
                                                    << "ab" << false << true << false << "X"
                                                    << "abab";
    }

    void replaceAll()
    {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(bool, regex);
        QFETCH(bool, caseSensitive);
        QFETCH(bool, searchFirst);
        QFETCH(QString, replacement);
        QFETCH(QString, expected);

        setText(text);
        select(0, 0);
        if (searchFirst)
            mHandler->searchNext(pattern, regex, caseSensitive);
        else
            mHandler->search(pattern, regex, caseSensitive);
        mHandler->replaceAll(replacement);
        QCOMPARE(this->text(), expected);
        if (expected != text) {
            textDocument()->undo();
            QCOMPARE(this->text(), text);
        }
    }

    void replaceAndSearchModes_data()
    {
        QTest::addColumn<bool>("passOptions");
        QTest::addColumn<QString>("afterFirst");
        QTest::addColumn<QString>("afterSecond");

        // The plain pattern "a.b" as a regular expression also matches "axb".
        QTest::newRow("two arguments switch to regex, case-sensitive") << false << "X axb a.b A.B"
                                                                       << "X X a.b A.B";
        QTest::newRow("options from the check boxes are kept") << true << "X axb a.b A.B"
                                                               << "X axb X A.B";
    }

    void replaceAndSearchModes()
    {
        QFETCH(bool, passOptions);
        QFETCH(QString, afterFirst);
        QFETCH(QString, afterSecond);

        setText(QStringLiteral("a.b axb a.b A.B"));
        select(0, 0);
        const QString pattern = QStringLiteral("a.b");
        mHandler->searchNext(pattern, false, true);
        for (const QString &expected : { afterFirst, afterSecond }) {
            if (passOptions)
                mHandler->replaceAndSearch(QStringLiteral("X"), pattern, false, true);
            else
                mHandler->replaceAndSearch(QStringLiteral("X"), pattern);
            QCOMPARE(text(), expected);
        }
    }

    void replaceAfterTypingChangesNothing()
    {
        setText(QStringLiteral("KEY=1\nKEY=2"));
        select(0, 0);
        mHandler->searchNext(QStringLiteral("KEY"), false, true);
        QCOMPARE(selection(), qMakePair(0, 3));
        // The author types in front of the hit; the list still holds 0-3.
        QTextCursor cursor(textDocument());
        cursor.insertText(QStringLiteral("#"));
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("text changed since the search")));
        mHandler->replace(QStringLiteral("X"));
        QCOMPARE(text(), QStringLiteral("#KEY=1\nKEY=2"));
        // The next search sees the new text.
        select(0, 0);
        mHandler->searchNext(QStringLiteral("KEY"), false, true);
        QCOMPARE(selection(), qMakePair(1, 4));
    }

    // The search marks of the new highlighter stay after the event loop has
    // deleted the highlighter of the previous search.
    void searchMarksStay()
    {
        setText(QStringLiteral("[KEY1]\nVIEW_RECT=1"));
        select(0, 0);
        mHandler->searchNext(QStringLiteral("KEY"), false, true);
        mHandler->searchNext(QStringLiteral("RECT"), false, true);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();

        auto marked = [this](int blockNumber) {
            QString marks;
            const QTextBlock block = textDocument()->findBlockByNumber(blockNumber);
            QString line(block.length() - 1, QLatin1Char('.'));
            const auto ranges = block.layout()->formats();
            for (const QTextLayout::FormatRange &range : ranges) {
                if (range.format.background().color() != QColor(Qt::lightGray))
                    continue;
                for (int i = range.start; i < range.start + range.length; ++i)
                    line[i] = QLatin1Char('M');
            }
            return line;
        };
        QCOMPARE(marked(0), QStringLiteral("......"));
        QCOMPARE(marked(1), QStringLiteral(".....MMMM.."));
        QVERIFY(!mHandler->modified());
    }

    void modifiedFollowsTheDocument()
    {
        setText(QStringLiteral("[A]"));
        QVERIFY(!mHandler->modified());
        QSignalSpy spy(mHandler, &DocumentHandler::modifiedChanged);
        QTextCursor cursor(textDocument());
        cursor.insertText(QStringLiteral("x"));
        QVERIFY(mHandler->modified());
        cursor.insertText(QStringLiteral("y"));
        QCOMPARE(spy.count(), 1);
        textDocument()->setModified(false);
        QVERIFY(!mHandler->modified());
        QCOMPARE(spy.count(), 2);
    }

    void loadAndSave()
    {
        const QString path
            = writeFile(QStringLiteral("load.ini"), QByteArray("[PANEL]\r\nNAME=\xe7\x94\xb2\r\n"));
        const QUrl url = QUrl::fromLocalFile(path);
        QSignalSpy loaded(mHandler, &DocumentHandler::loaded);
        QSignalSpy urlChanged(mHandler, &DocumentHandler::fileUrlChanged);
        mHandler->load(url);
        QCOMPARE(loaded.count(), 1);
        QCOMPARE(urlChanged.count(), 1);
        QCOMPARE(mHandler->fileUrl(), url);
        QCOMPARE(textDocument()->toPlainText(), QString::fromUtf8("[PANEL]\nNAME=\xe7\x94\xb2\n"));
        QVERIFY(!mHandler->modified());

        QTextCursor cursor(textDocument());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("SIZE=1"));
        QVERIFY(mHandler->modified());
        mHandler->save();
        QVERIFY(!mHandler->modified());
        QCOMPARE(readBytes(path), QByteArray("[PANEL]\r\nNAME=\xe7\x94\xb2\r\nSIZE=1"));
        QCOMPARE(urlChanged.count(), 1);

        // Loading the same URL again does nothing, even after a change on disk.
        writeFile(QStringLiteral("load.ini"), QByteArray("[OTHER]\n"));
        mHandler->load(url);
        QCOMPARE(loaded.count(), 1);
        QCOMPARE(urlChanged.count(), 1);
        QCOMPARE(text(), QString::fromUtf8("[PANEL]\nNAME=\xe7\x94\xb2\nSIZE=1"));
    }

    void saveAsMovesTheFile()
    {
        setText(QStringLiteral("[A]\nB=1\n"));
        QTextCursor(textDocument()).insertText(QStringLiteral("X=2\n"));
        QVERIFY(mHandler->modified());
        QSignalSpy urlChanged(mHandler, &DocumentHandler::fileUrlChanged);
        const QUrl url = QUrl::fromLocalFile(mDir.filePath(QStringLiteral("saved-as.ini")));
        mHandler->saveAs(url);
        QCOMPARE(readBytes(url.toLocalFile()), QByteArray("X=2\n[A]\nB=1\n"));
        QCOMPARE(urlChanged.count(), 1);
        QCOMPARE(mHandler->fileUrl(), url);
        QVERIFY(!mHandler->modified());
    }

    void saveEmptyTextKeepsState()
    {
        setText(QString());
        textDocument()->setModified(true);
        const QUrl url = QUrl::fromLocalFile(mDir.filePath(QStringLiteral("empty.ini")));
        QSignalSpy urlChanged(mHandler, &DocumentHandler::fileUrlChanged);
        mHandler->saveAs(url);
        QCOMPARE(readBytes(url.toLocalFile()), QByteArray());
        QVERIFY(mHandler->modified());
        QCOMPARE(urlChanged.count(), 0);
    }

    void saveFailure_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<qint64>("fileSizeLimit"); // 0: none
        QTest::newRow("missing directory") << QStringLiteral("no-such-dir/file.ini") << qint64(0);
        QTest::newRow("target is a directory") << QStringLiteral("a-directory") << qint64(0);
        QTest::newRow("parent is a file") << QStringLiteral("plain-file/child.ini") << qint64(0);
        // a full disk, as the file size limit makes it look
        QTest::newRow("disk full, old file kept") << QStringLiteral("a-directory/kept.ini") << qint64(4096);
    }

    void saveFailure()
    {
        QFETCH(QString, target);
        QFETCH(qint64, fileSizeLimit);
        QVERIFY(QDir(mDir.path()).mkpath(QStringLiteral("a-directory")));
        const QString kept = writeFile(QStringLiteral("a-directory/kept.ini"), QByteArray("[KEEP]\r\n"));
        writeFile(QStringLiteral("plain-file"), QByteArray("[FILE]\r\n"));

        const QString big = QStringLiteral("[NEW]\n") + QString(3 * fileSizeLimit, QLatin1Char('x'));
        setText(big);
        textDocument()->setModified(true);
        QSignalSpy error(mHandler, &DocumentHandler::error);
        QSignalSpy reported(mHandler, &DocumentHandler::reported);
        QSignalSpy urlChanged(mHandler, &DocumentHandler::fileUrlChanged);
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^Cannot save: ")));
        struct rlimit old = {};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
        struct rlimit limit = old;
        limit.rlim_cur = fileSizeLimit > 0 ? rlim_t(fileSizeLimit) : old.rlim_cur;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        const bool saved = mHandler->saveAs(QUrl::fromLocalFile(mDir.filePath(target)));
        ::setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(!saved);
        QCOMPARE(error.count(), 1);
        QVERIFY2(error.first().first().toString().startsWith(QStringLiteral("Cannot save: ")),
            qPrintable(error.first().first().toString()));
        QCOMPARE(reported.count(), 1);
        const auto result = reported.first().first().value<OperationResult>();
        QVERIFY(!result.ok && result.message.startsWith(QStringLiteral("Cannot save: ")));
        QCOMPARE(result.file(), mDir.filePath(target));
        QVERIFY(mHandler->modified());
        QCOMPARE(urlChanged.count(), 0);
        QCOMPARE(text(), big);
        QCOMPARE(readBytes(kept), QByteArray("[KEEP]\r\n"));
        QCOMPARE(readBytes(mDir.filePath(QStringLiteral("plain-file"))), QByteArray("[FILE]\r\n"));
        QCOMPARE(QDir(mDir.filePath(QStringLiteral("a-directory"))).entryList(QDir::Files | QDir::Hidden),
            QStringList { QStringLiteral("kept.ini") });
    }

    // The bytes around the text survive an edit and a save: the file's line
    // ending and its byte-order mark.
    void saveKeepsTheFileFormat_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("CR LF stays CR LF")
            << QByteArray("[A]\r\nB=1\r\n") << QByteArray("[A]\r\nB=1\r\nC=2\r\n");
        QTest::newRow("LF stays LF") << QByteArray("[A]\nB=1\n") << QByteArray("[A]\nB=1\nC=2\n");
        QTest::newRow("byte-order mark kept")
            << QByteArray("\xef\xbb\xbf[A]\r\nB=1\r\n") << QByteArray("\xef\xbb\xbf[A]\r\nB=1\r\nC=2\r\n");
        QTest::newRow("non-breaking space kept")
            << QByteArray("[A]\nB=\xc2\xa0\n") << QByteArray("[A]\nB=\xc2\xa0\nC=2\n");
    }

    void saveKeepsTheFileFormat()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const QString path = writeFile(QStringLiteral("format.ini"), before);
        mHandler->load(QUrl::fromLocalFile(path));
        QVERIFY(!text().startsWith(QChar(0xfeff)));
        QTextCursor cursor(textDocument());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("C=2\n"));
        QSignalSpy reported(mHandler, &DocumentHandler::reported);
        QVERIFY(mHandler->save());
        QCOMPARE(readBytes(path), after);
        QCOMPARE(reported.count(), 1);
        QCOMPARE(reported.first().first().value<OperationResult>().message, QStringLiteral("Saved ") + path);
    }

    // Another program rewrites the file while the text is clean: the text
    // takes the new version in place, the cursor stays on its text.
    void cleanTextFollowsTheFile_data()
    {
        QTest::addColumn<QByteArray>("outside");
        QTest::addColumn<bool>("rename");
        QTest::addColumn<int>("cursorAfter");

        // the text is "[A]\nB=1\nC=2\n" with the cursor at "C" (8)
        QTest::newRow("replaced after the cursor") << QByteArray("[A]\r\nB=1\r\nC=9\r\n") << true << 8;
        QTest::newRow("line added before the cursor")
            << QByteArray("[A]\r\nB=1\r\nX=5\r\nC=2\r\n") << true << 12;
        // same size, same inode, maybe the same time tick: only the content tells
        QTest::newRow("same size rewritten in place") << QByteArray("[A]\r\nB=7\r\nC=2\r\n") << false << 8;
        QTest::newRow("same bytes written again") << QByteArray("[A]\r\nB=1\r\nC=2\r\n") << true << 8;
        QTest::newRow("line dropped above, line added below")
            << QByteArray("[A]\r\nC=2\r\nD=4\r\n") << true << 4;
    }

    void cleanTextFollowsTheFile()
    {
        QFETCH(QByteArray, outside);
        QFETCH(bool, rename);
        QFETCH(int, cursorAfter);
        const QByteArray original("[A]\r\nB=1\r\nC=2\r\n");
        const QString path = writeFile(QStringLiteral("follow.ini"), original);
        mHandler->load(QUrl::fromLocalFile(path));
        select(8, 8);

        if (rename) {
            const QString other = writeFile(QStringLiteral("follow.ini.new"), outside);
            QVERIFY(QFile::remove(path) && QFile::rename(other, path));
        } else {
            QVERIFY(TestFiles::writeFile(path, outside));
        }
        QSignalSpy asked(mHandler, &DocumentHandler::fileChangedOnDisk);
        mHandler->checkFile();
        QCOMPARE(asked.count(), 0);
        QCOMPARE(textDocument()->toPlainText(), QString::fromUtf8(outside).remove(QLatin1Char('\r')));
        QCOMPARE(selection(), qMakePair(cursorAfter, cursorAfter));
        QVERIFY(!mHandler->modified());
        // what the text now holds is what is on disk: a save writes it as it is
        QVERIFY(mHandler->save());
        QCOMPARE(readBytes(path), outside);
    }

    // Edited text whose file changed on disk: asked once per version; the
    // outside change is never overwritten without an answer.
    void editedTextAsksBeforeOverwriting()
    {
        const QString path = writeFile(QStringLiteral("edited.ini"), QByteArray("[A]\r\nB=1\r\n"));
        mHandler->load(QUrl::fromLocalFile(path));
        QTextCursor(textDocument()).insertText(QStringLiteral("; mine\n"));
        QSignalSpy asked(mHandler, &DocumentHandler::fileChangedOnDisk);
        QSignalSpy reported(mHandler, &DocumentHandler::reported);

        QVERIFY(TestFiles::writeFile(path, QByteArray("[A]\r\nB=2\r\n")));
        mHandler->checkFile();
        mHandler->checkFile();
        QCOMPARE(asked.count(), 1);
        QVERIFY(text().startsWith(QStringLiteral("; mine")));
        // a save before the answer writes nothing and asks again
        QVERIFY(!mHandler->save());
        QCOMPARE(readBytes(path), QByteArray("[A]\r\nB=2\r\n"));
        QCOMPARE(asked.count(), 2);
        QVERIFY(!reported.first().first().value<OperationResult>().ok);

        // keep mine: the refused save goes through, and is no outside change
        mHandler->keepBuffer();
        QCOMPARE(readBytes(path), QByteArray("; mine\r\n[A]\r\nB=1\r\n"));
        QVERIFY(!mHandler->modified());
        mHandler->checkFile();
        QCOMPARE(asked.count(), 2);

        // reload: the disk wins, the typing is one undo step away
        QTextCursor(textDocument()).insertText(QStringLiteral("; again\n"));
        QVERIFY(TestFiles::writeFile(path, QByteArray("[A]\r\nB=3\r\n")));
        mHandler->checkFile();
        QCOMPARE(asked.count(), 3);
        QVERIFY(mHandler->reloadFile());
        QCOMPARE(textDocument()->toPlainText(), QStringLiteral("[A]\nB=3\n"));
        QVERIFY(!mHandler->modified());
        textDocument()->undo();
        QVERIFY(text().startsWith(QStringLiteral("; again")));
        QVERIFY(mHandler->modified());
    }

    void saveWithoutFileDoesNothing()
    {
        setText(QStringLiteral("[A]"));
        QSignalSpy error(mHandler, &DocumentHandler::error);
        mHandler->save();
        QCOMPARE(error.count(), 0);
        QVERIFY(QDir(mDir.path()).entryList(QDir::Files).filter(QStringLiteral("[A]")).isEmpty());
    }

    void loadMissingFile()
    {
        setText(QStringLiteral("kept"));
        QSignalSpy loaded(mHandler, &DocumentHandler::loaded);
        QSignalSpy urlChanged(mHandler, &DocumentHandler::fileUrlChanged);
        const QUrl url = QUrl::fromLocalFile(mDir.filePath(QStringLiteral("missing.ini")));
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("missing.ini\"  not exists!$")));
        mHandler->load(url);
        QCOMPARE(loaded.count(), 0);
        QCOMPARE(urlChanged.count(), 1);
        QCOMPARE(mHandler->fileUrl(), url);
        QCOMPARE(text(), QStringLiteral("kept"));
    }

    void loadTooLargeFile()
    {
        const QString path = writeFile(QStringLiteral("huge.ini"), QByteArray("[A]\n"));
        {
            QFile file(path);
            QVERIFY(file.resize(DocumentHandler::MaximumFileSize + 1));
        }
        setText(QStringLiteral("kept"));
        QSignalSpy loaded(mHandler, &DocumentHandler::loaded);
        QTest::ignoreMessage(
            QtInfoMsg, QRegularExpression(QStringLiteral("huge.ini\"  is too large to edit!$")));
        mHandler->load(QUrl::fromLocalFile(path));
        QCOMPARE(loaded.count(), 0);
        QCOMPARE(text(), QStringLiteral("kept"));
    }

    // The hits of a search in one file are not replayed on the next file.
    void loadForgetsTheSearch()
    {
        setText(QStringLiteral("xxKEY"));
        select(0, 0);
        mHandler->searchNext(QStringLiteral("KEY"), false, true);
        QCOMPARE(selection(), qMakePair(2, 5));
        const QString path = writeFile(QStringLiteral("other.ini"), QByteArray("KEY=1\nKEY=2\n"));
        mHandler->load(QUrl::fromLocalFile(path));
        select(0, 0);
        mHandler->searchNext(QStringLiteral("KEY"), false, true);
        QCOMPARE(selection(), qMakePair(0, 3));
        mHandler->replaceAll(QStringLiteral("K"));
        QCOMPARE(text(), QStringLiteral("K=1\nK=2\n"));
    }

    void loadWithoutEngine()
    {
        const QString path = writeFile(QStringLiteral("noengine.ini"), QByteArray("[A]\n"));
        DocumentHandler handler;
        QSignalSpy loaded(&handler, &DocumentHandler::loaded);
        QSignalSpy urlChanged(&handler, &DocumentHandler::fileUrlChanged);
        QTest::ignoreMessage(QtWarningMsg, "load() called before DocumentHandler has QQmlEngine");
        handler.load(QUrl::fromLocalFile(path));
        QCOMPARE(loaded.count(), 0);
        QCOMPARE(urlChanged.count(), 0);

        // With an engine context the same handler loads.
        QQmlEngine::setContextForObject(&handler, mEngine.rootContext());
        handler.load(QUrl::fromLocalFile(path));
        QCOMPARE(loaded.count(), 1);
        QCOMPARE(loaded.first().first().toString(), QStringLiteral("[A]\n"));
    }

    void withoutDocumentNothingHappens()
    {
        DocumentHandler handler;
        QSignalSpy sellect(&handler, &DocumentHandler::sellect);
        QSignalSpy error(&handler, &DocumentHandler::error);
        handler.searchNext(QStringLiteral("a"));
        handler.searchPrevious(QStringLiteral("a"), false, false);
        handler.replace(QStringLiteral("b"));
        handler.replaceAll(QStringLiteral("b"));
        const QUrl url = QUrl::fromLocalFile(mDir.filePath(QStringLiteral("nodoc.ini")));
        handler.saveAs(url);
        QCOMPARE(sellect.count(), 0);
        QCOMPARE(error.count(), 0);
        QVERIFY(!QFile::exists(url.toLocalFile()));
    }
};

QTEST_MAIN(TestDocumentHandler)
#include "tst_documenthandler.moc"
