#include "editor/textpatch.h"

#include <QtTest>

// The line hunks the editor applies when its file changed on disk: applied to
// the old text they give the new one, and lines that stayed are not in them.
class TestTextPatch : public QObject
{
    Q_OBJECT

private slots:
    void hunks_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("expected"); // "start-end:text" joined by "|"

        QTest::newRow("equal texts") << "a\nb\n"
                                     << "a\nb\n"
                                     << "";
        QTest::newRow("one line changed") << "a\nb\nc\n"
                                          << "a\nB\nc\n"
                                          << "2-3:B";
        // a comment dropped at the top and a value changed further down stay
        // two hunks, so a cursor between them keeps its line
        QTest::newRow("two changes apart") << "[A]\n; note\nX=1\nY=2\nZ=3\n"
                                           << "[A]\nX=1\nY=2\nZ=4\n"
                                           << "4-11:|21-22:4";
        QTest::newRow("inserted at the start") << "b\n"
                                               << "a\nb\n"
                                               << "0-0:a\n";
        QTest::newRow("removed at the end") << "a\nb\n"
                                            << "a\n"
                                            << "2-4:";
        QTest::newRow("last line without line feed") << "a\nb"
                                                     << "a\nb\n"
                                                     << "3-3:\n";
        QTest::newRow("from empty") << ""
                                    << "a\n"
                                    << "0-0:a\n";
        QTest::newRow("repeated lines") << "x\nx\ny\n"
                                        << "x\ny\nx\n"
                                        << "2-4:|6-6:x\n";
    }

    void hunks()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, expected);

        const QVector<TextPatch::Hunk> hunks = TextPatch::hunks(from, to);
        QStringList seen;
        QString patched = from;
        for (int i = hunks.size() - 1; i >= 0; --i) {
            const TextPatch::Hunk &h = hunks.at(i);
            seen.prepend(QStringLiteral("%1-%2:%3").arg(h.start).arg(h.end).arg(h.text));
            patched.replace(h.start, h.end - h.start, h.text);
        }
        QCOMPARE(patched, to);
        QCOMPARE(seen.join(QLatin1Char('|')), expected);
    }

    // Too many lines to compare: one hunk for the changed middle, still right.
    void largeChangeIsOneHunk()
    {
        QString from;
        QString to;
        for (int i = 0; i < 1200; ++i) {
            from += QStringLiteral("a%1\n").arg(i);
            to += QStringLiteral("b%1\n").arg(i);
        }
        from.prepend(QStringLiteral("[SAME]\n"));
        to.prepend(QStringLiteral("[SAME]\n"));
        const QVector<TextPatch::Hunk> hunks = TextPatch::hunks(from, to);
        QCOMPARE(hunks.size(), 1);
        QCOMPARE(hunks.first().start, 7);
        QString patched = from;
        patched.replace(hunks.first().start, hunks.first().end - hunks.first().start, hunks.first().text);
        QCOMPARE(patched, to);
    }
};

QTEST_APPLESS_MAIN(TestTextPatch)
#include "tst_textpatch.moc"
