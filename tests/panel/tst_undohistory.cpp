// The undo and redo stacks: what each step does to both, written as a
// sequence of steps and the stacks' contents after them.

#include "panel/undohistory.h"

#include <QtTest>

namespace {

UndoRecord step(const QString &name)
{
    return UndoRecord { { { name + QLatin1String("/X"), QStringLiteral("old") } },
        { { name + QLatin1String("/X"), QStringLiteral("new") } }, {} };
}

QString nameOf(const UndoRecord &record)
{
    return record.newValues.firstKey().section(QLatin1Char('/'), 0, 0);
}

// The steps on each stack, bottom first, as "undo: A B | redo: C"; read by
// emptying copies.
QString describe(const UndoHistory &history)
{
    QStringList undo;
    for (UndoHistory copy = history; copy.canUndo(); copy.undone())
        undo.prepend(nameOf(copy.nextUndo()));
    QStringList redo;
    for (UndoHistory copy = history; copy.canRedo(); copy.redone())
        redo.prepend(nameOf(copy.nextRedo()));
    return QStringLiteral("undo: %1 | redo: %2")
        .arg(undo.join(QLatin1Char(' ')), redo.join(QLatin1Char(' ')));
}

} // namespace

class TestUndoHistory : public QObject
{
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
    void replaysTheTopRecord();
};

void TestUndoHistory::steps_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("canUndo");
    QTest::addColumn<bool>("canRedo");
    QTest::addColumn<QString>("stacks");

    QTest::newRow("empty") << QStringList() << false << false << "undo:  | redo: ";
    QTest::newRow("two edits") << QStringList { "A", "B" } << true << false << "undo: A B | redo: ";
    QTest::newRow("edit, undo") << QStringList { "A", "undo" } << false << true << "undo:  | redo: A";
    QTest::newRow("two edits, two undos")
        << QStringList { "A", "B", "undo", "undo" } << false << true << "undo:  | redo: B A";
    QTest::newRow("undo, redo") << QStringList { "A", "B", "undo", "redo" } << true << false
                                << "undo: A B | redo: ";
    QTest::newRow("a new edit clears what was undone")
        << QStringList { "A", "B", "undo", "C" } << true << false << "undo: A C | redo: ";
    QTest::newRow("undo and redo on empty stacks change nothing")
        << QStringList { "undo", "redo", "A", "redo" } << true << false << "undo: A | redo: ";
    QTest::newRow("cleared") << QStringList { "A", "B", "undo", "clear" } << false << false
                             << "undo:  | redo: ";
}

void TestUndoHistory::steps()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, canUndo);
    QFETCH(bool, canRedo);
    QFETCH(QString, stacks);

    UndoHistory history;
    for (const QString &s : qAsConst(steps)) {
        if (s == QLatin1String("undo"))
            history.undone();
        else if (s == QLatin1String("redo"))
            history.redone();
        else if (s == QLatin1String("clear"))
            history.clear();
        else
            history.record(step(s));
    }
    QCOMPARE(history.canUndo(), canUndo);
    QCOMPARE(history.canRedo(), canRedo);
    QCOMPARE(describe(history), stacks);
}

void TestUndoHistory::replaysTheTopRecord()
{
    UndoHistory history;
    history.record(step(QStringLiteral("A")));
    UndoRecord b = step(QStringLiteral("B"));
    b.createdSections = QStringList { QStringLiteral("B") };
    history.record(b);
    QCOMPARE(history.nextUndo().oldValues.value(QStringLiteral("B/X")), QStringLiteral("old"));
    QCOMPARE(history.nextUndo().createdSections, QStringList { "B" });
    history.undone();
    // The undone record comes back whole for redo.
    QCOMPARE(history.nextRedo().newValues.value(QStringLiteral("B/X")), QStringLiteral("new"));
    QCOMPARE(history.nextRedo().createdSections, QStringList { "B" });
    QCOMPARE(history.nextUndo().newValues.firstKey(), QStringLiteral("A/X"));
}

QTEST_APPLESS_MAIN(TestUndoHistory)
#include "tst_undohistory.moc"
