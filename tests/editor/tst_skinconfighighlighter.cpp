#include "editor/skinconfighighlighter.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

// The colours of real skin lines, read back from the layout formats that the
// highlighter leaves on each block. Every character is written as one letter:
// S section header (bold dark blue), K key (dark red), M search mark (grey
// background, green text), . uncoloured, ? anything else.
class TestSkinConfigHighlighter : public QObject
{
    Q_OBJECT

private:
    static QChar classify(const QTextCharFormat &format)
    {
        const bool grey = format.background().style() == Qt::SolidPattern
            && format.background().color() == QColor(Qt::lightGray);
        const QColor fore
            = format.foreground().style() == Qt::SolidPattern ? format.foreground().color() : QColor();
        if (grey && fore == QColor(Qt::green))
            return QLatin1Char('M');
        if (format.background().style() != Qt::NoBrush)
            return QLatin1Char('?');
        if (fore == QColor(Qt::darkBlue) && format.fontWeight() == QFont::Bold)
            return QLatin1Char('S');
        if (fore == QColor(Qt::darkRed) && format.fontWeight() != QFont::Bold)
            return QLatin1Char('K');
        return QLatin1Char('?');
    }

    // One letter per character of every line, lines joined by "|".
    static QString colours(const QTextDocument &document)
    {
        QStringList lines;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            QString line(block.length() - 1, QLatin1Char('.'));
            const auto ranges = block.layout()->formats();
            for (const QTextLayout::FormatRange &range : ranges) {
                for (int i = range.start; i < range.start + range.length && i < line.size(); ++i)
                    line[i] = classify(range.format);
            }
            lines.append(line);
        }
        return lines.join(QLatin1Char('|'));
    }

private slots:
    void formats_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("useRegularExpression");
        QTest::addColumn<bool>("caseSensitivity");
        QTest::addColumn<QString>("expected");

        const QString none;
        QTest::newRow("section header") << "[KEY12]" << none << true << true << "SSSSSSS";
        QTest::newRow("lower-case header stays plain") << "[key12]" << none << true << true << ".......";
        QTest::newRow("empty brackets are a header") << "[]" << none << true << true << "SS";
        QTest::newRow("key before equals, value plain")
            << "VIEW_RECT=1,2,3,4" << none << true << true << "KKKKKKKKK........";
        QTest::newRow("lower-case key stays plain")
            << "view_rect=1,2,3,4" << none << true << true << ".................";
        QTest::newRow("only the run touching the equals sign") << "A B=1" << none << true << true << "..K..";
        QTest::newRow("no state carried across lines")
            << "[PANEL]\nSIZE=10,20\nX" << none << true << true << "SSSSSSS|KKKK......|.";
        QTest::newRow("plain search, case-insensitive, inside a key")
            << "VIEW_RECT=1\nview_rect=2"
            << "RECT" << false << false << "KKKKKMMMM..|.....MMMM..";
        QTest::newRow("plain search, case-sensitive") << "VIEW_RECT=1\nview_rect=2"
                                                      << "RECT" << false << true << "KKKKKMMMM..|...........";
        QTest::newRow("plain search marks adjacent hits") << "abab=ab"
                                                          << "ab" << false << true << "MMMM.MM";
        QTest::newRow("plain search with regex characters is literal") << "a.b=axb"
                                                                       << "a.b" << false << true << "MMM....";
        QTest::newRow("regex search over a header") << "[KEY3]\nFORE_STYLE=3"
                                                    << "[0-9]" << true << true << "SSSSMS|KKKKKKKKKK.M";
        QTest::newRow("regex search, case-insensitive") << "Ab=aB"
                                                        << "ab" << true << false << "MM.MM";
        QTest::newRow("invalid regex marks nothing") << "KEY=(1"
                                                     << "(" << true << true << "KKK...";
        QTest::newRow("empty-match regex marks nothing") << "AB=1"
                                                         << "x*" << true << true << "KK..";
    }

    void formats()
    {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(bool, useRegularExpression);
        QFETCH(bool, caseSensitivity);
        QFETCH(QString, expected);

        QTextDocument document;
        document.setPlainText(text);
        // No event loop: the colours must be there as soon as it is attached.
        new SkinConfigHighlighter(&document, pattern, useRegularExpression, caseSensitivity);
        QCOMPARE(colours(document), expected);
    }

    void typingIsRecoloured()
    {
        QTextDocument document;
        document.setPlainText(QStringLiteral("x"));
        // A document shown in an editor has a layout; only then does it
        // report its changes.
        document.documentLayout();
        new SkinConfigHighlighter(&document, QString(), true, true);
        // The editor's event loop runs between attaching and typing.
        QCoreApplication::processEvents();
        QTextCursor cursor(&document);
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("\n[GEN]"));
        QCOMPARE(colours(document), QStringLiteral(".|SSSSS"));
    }

    void highlightingLeavesTextUnmodified()
    {
        QTextDocument document;
        document.setPlainText(QStringLiteral("[A]\nB=1"));
        document.setModified(false);
        new SkinConfigHighlighter(&document, QStringLiteral("B"), false, true);
        QVERIFY(!document.isModified());
        QVERIFY(!document.isUndoAvailable());
    }
};

QTEST_MAIN(TestSkinConfigHighlighter)
#include "tst_skinconfighighlighter.moc"
