// The key editing operations and their undo and redo, checked on the bytes
// of small panel files written the way the program writes them.

#include "panel/panel.h"
#include "skin/skinconfig.h"
#include "testpaths.h"

#include <QDir>
#include <QFile>
#include <QMetaEnum>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <limits>

#include <csignal>
#include <sys/resource.h>

using Operation = std::function<void(Panel *)>;
Q_DECLARE_METATYPE(Operation)

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// The original file with whole lines replaced. Each change is
// "OLD LINE => NEW LINE|NEW LINE..." (OLD LINE must stand exactly once in the
// file) or "$ => ..." for a section appended at the end. An empty replacement
// list means the file does not change.
QByteArray withChanges(const QByteArray &original, const QStringList &changes, QString *problem)
{
    const QStringList originalLines = QString::fromUtf8(original).split(QStringLiteral("\r\n"));
    QStringList lines = originalLines;
    QString appended;
    for (const QString &change : changes) {
        const int arrow = change.indexOf(QLatin1String(" => "));
        const QString oldLine = change.left(arrow);
        const QString newLines = change.mid(arrow + 4).replace(QLatin1Char('|'), QLatin1String("\r\n"));
        if (oldLine == QLatin1String("$")) {
            appended += newLines + QLatin1String("\r\n\r\n");
            continue;
        }
        if (originalLines.count(oldLine) != 1) {
            *problem = QStringLiteral("the line \"%1\" is not in the fixture exactly once").arg(oldLine);
            return QByteArray();
        }
        lines[originalLines.indexOf(oldLine)] = newLines;
    }
    return lines.join(QLatin1String("\r\n")).toUtf8() + appended.toUtf8();
}

// Every write past `bytes` fails while it lives (a full disk, as a write
// sees it), without the signal that would end the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &mOld);
        rlimit limit = mOld;
        limit.rlim_cur = bytes;
        mOk = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &mOld); }
    bool ok() const { return mOk; }

private:
    rlimit mOld {};
    bool mOk = false;
};

} // namespace

class TestKeyEditing : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir mDir;
    Panel *mPanel = nullptr;
    int mCopies = 0;

    // A fresh copy of a fixture's port directory; the path of its panel file.
    QString copyFixture(const QString &fixture)
    {
        const QString port = mDir.filePath(QStringLiteral("%1-%2/port").arg(fixture).arg(++mCopies));
        const QString source = QStringLiteral(QUILLMARK_TEST_DATA_DIR "/%1/port/").arg(fixture);
        if (!QDir().mkpath(port))
            return QString();
        for (const QString &name : { QStringLiteral("py_26.ini"), QStringLiteral("gen.ini") }) {
            if (!QFile::copy(source + name, port + QLatin1Char('/') + name))
                return QString();
        }
        return port + QStringLiteral("/py_26.ini");
    }

    QString load(const QString &fixture)
    {
        const QString path = copyFixture(fixture);
        if (!path.isEmpty())
            mPanel->setPanelFile(path);
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mDir.isValid());
        mPanel = Panel::instance();
        mPanel->autoReloadTimer()->stop();
    }

    void init()
    {
        mPanel->autoReloadTimer()->stop();
        mPanel->clean();
    }

    void operations_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QString>("log");

        const QString keys = QStringLiteral("editing-keys");
        const QString align = QStringLiteral("editing-align");
        const QString empty = QStringLiteral("editing-empty");
        const QString noLog;
        const QStringList none;
        const QStringList k1k2k3 = { QStringLiteral("KEY1"), QStringLiteral("KEY2"), QStringLiteral("KEY3") };

        QTest::newRow("move all keys, malformed and empty rectangles skipped")
            << keys << Operation([](Panel *p) { p->moveKeys({}, 5, -3); })
            << QStringList { "VIEW_RECT=10,20,60,40 => VIEW_RECT=15,17,60,40",
                   "TOUCH_RECT=8,18,64,44 => TOUCH_RECT=13,15,64,44",
                   "VIEW_RECT=100,20,60,40 => VIEW_RECT=105,17,60,40",
                   "VIEW_RECT=0,70,30,29 => VIEW_RECT=5,67,30,29",
                   "TOUCH_RECT=1,71,28,27 => TOUCH_RECT=6,68,28,27",
                   "VIEW_RECT=170,60,30,30 => VIEW_RECT=175,57,30,30" }
            << noLog;
        QTest::newRow("move counts a duplicate name once") << keys << Operation([](Panel *p) {
            p->moveKeys({ "KEY2", "KEY2" }, 1, 1);
        }) << QStringList { "VIEW_RECT=100,20,60,40 => VIEW_RECT=101,21,60,40" }
                                                           << noLog;
        QTest::newRow("move skips a key that does not exist") << keys << Operation([](Panel *p) {
            p->moveKeys({ "NOKEY", "KEY2" }, 0, 10);
        }) << QStringList { "VIEW_RECT=100,20,60,40 => VIEW_RECT=100,30,60,40" }
                                                              << noLog;
        QTest::newRow("move beyond the coordinate range changes nothing") << keys << Operation([](Panel *p) {
            p->moveKeys({ "KEY1" }, std::numeric_limits<int>::max(), 0);
        }) << none << "KEY1/VIEW_RECT\"  would leave the coordinate range";

        QTest::newRow("adjust keeps the touch margins")
            << keys << Operation([](Panel *p) { p->adjustKeys({ "KEY1" }, -1, -1, 80, -1, 0, 10, 0, 0); })
            << QStringList { "VIEW_RECT=10,20,60,40 => VIEW_RECT=10,30,80,40",
                   "TOUCH_RECT=8,18,64,44 => TOUCH_RECT=8,28,84,44" }
            << noLog;
        QTest::newRow("adjust with absolute values and additions") << keys << Operation([](Panel *p) {
            p->adjustKeys({ "KEY2", "KEY9" }, 0, 0, -1, -1, 5, 0, -10, 1);
        }) << QStringList { "VIEW_RECT=100,20,60,40 => VIEW_RECT=5,0,50,41" }
                                                                   << noLog;
        QTest::newRow("adjust all keys to one size")
            << keys << Operation([](Panel *p) { p->adjustKeys({}, -1, -1, 20, 20, 0, 0, 0, 0); })
            << QStringList { "VIEW_RECT=10,20,60,40 => VIEW_RECT=10,20,20,20",
                   "TOUCH_RECT=8,18,64,44 => TOUCH_RECT=8,18,24,24",
                   "VIEW_RECT=100,20,60,40 => VIEW_RECT=100,20,20,20",
                   "VIEW_RECT=0,70,30,29 => VIEW_RECT=0,70,20,20",
                   "TOUCH_RECT=1,71,28,27 => TOUCH_RECT=1,71,18,18",
                   "VIEW_RECT=170,60,30,30 => VIEW_RECT=170,60,20,20" }
            << noLog;

        QTest::newRow("exchange moves only the rectangles")
            << keys << Operation([](Panel *p) { p->exchangeKeys("KEY1", "KEY2"); })
            << QStringList { "VIEW_RECT=10,20,60,40 => VIEW_RECT=100,20,60,40",
                   "VIEW_RECT=100,20,60,40 => VIEW_RECT=10,20,60,40",
                   "BACK_STYLE=4 => BACK_STYLE=4|TOUCH_RECT=8,18,64,44" }
            << noLog;

        QTest::newRow("edit section adds a key, entries applied in path order")
            << keys << Operation([](Panel *p) {
                   p->editSection("KEY5", { "VIEW_RECT=1,2,3,4", "bad", "=x", "FORE_STYLE=7" });
               })
            << QStringList { "$ => [KEY5]|FORE_STYLE=7|VIEW_RECT=1,2,3,4" } << noLog;
        QTest::newRow("edit section changes and appends, other properties kept")
            << keys << Operation([](Panel *p) {
                   p->editSection("KEY2", { "BACK_STYLE=9", "HINT=a=b", "EMPTY=" });
               })
            << QStringList { "BACK_STYLE=4 => BACK_STYLE=9|EMPTY=|HINT=a=b" } << noLog;
        QTest::newRow("edit section refuses a line break in a value")
            << keys << Operation([](Panel *p) { p->editSection("KEY2", { "BACK_STYLE=9\n[KEY1]" }); }) << none
            << "refusing to write";

        QTest::newRow("remove empties a key and keeps its section")
            << keys << Operation([](Panel *p) { p->removeKeys({ "KEY2" }); })
            << QStringList { "VIEW_RECT=100,20,60,40 => VIEW_RECT=", "BACK_STYLE=4 => BACK_STYLE=" } << noLog;
        QTest::newRow("remove with an empty list empties every key")
            << keys << Operation([](Panel *p) { p->removeKeys({}); })
            << QStringList { "VIEW_RECT=10,20,60,40 => VIEW_RECT=", "TOUCH_RECT=8,18,64,44 => TOUCH_RECT=",
                   "BACK_STYLE=2 => BACK_STYLE=", "FORE_STYLE=3 => FORE_STYLE=",
                   "VIEW_RECT=100,20,60,40 => VIEW_RECT=", "BACK_STYLE=4 => BACK_STYLE=",
                   "VIEW_RECT=1,2,3 => VIEW_RECT=", "TOUCH_RECT=5,5,0,5 => TOUCH_RECT=",
                   "VIEW_RECT=0,70,30,29 => VIEW_RECT=", "TOUCH_RECT=1,71,28,27 => TOUCH_RECT=",
                   "STAT_STYLE=S4_2 => STAT_STYLE=", "VIEW_RECT=170,60,30,30 => VIEW_RECT=",
                   "FORE_STYLE=6 => FORE_STYLE=" }
            << noLog;

        QTest::newRow("align left") << align << Operation([k1k2k3](Panel *p) {
            p->alignKeys(k1k2k3, Panel::AlignLeft);
        })
                                    << QStringList { "VIEW_RECT=50,20,10,40 => VIEW_RECT=0,20,10,40",
                                           "VIEW_RECT=20,0,10,20 => VIEW_RECT=0,0,10,20" }
                                    << noLog;
        QTest::newRow("align top, touch rectangle follows")
            << align << Operation([k1k2k3](Panel *p) { p->alignKeys(k1k2k3, Panel::AlignTop); })
            << QStringList { "VIEW_RECT=0,10,10,40 => VIEW_RECT=0,0,10,40",
                   "TOUCH_RECT=0,8,10,44 => TOUCH_RECT=0,-2,10,44",
                   "VIEW_RECT=50,20,10,40 => VIEW_RECT=50,0,10,40" }
            << noLog;
        QTest::newRow("align right") << align << Operation([k1k2k3](Panel *p) {
            p->alignKeys(k1k2k3, Panel::AlignRight);
        })
                                     << QStringList { "VIEW_RECT=0,10,10,40 => VIEW_RECT=50,10,10,40",
                                            "TOUCH_RECT=0,8,10,44 => TOUCH_RECT=50,8,10,44",
                                            "VIEW_RECT=20,0,10,20 => VIEW_RECT=50,0,10,20" }
                                     << noLog;
        QTest::newRow("align bottom: bottoms 49 and 59 both end at 59")
            << align << Operation([](Panel *p) {
                   p->alignKeys({ "KEY1", "KEY2" }, Panel::AlignBottom);
               })
            << QStringList { "VIEW_RECT=0,10,10,40 => VIEW_RECT=0,20,10,40",
                   "TOUCH_RECT=0,8,10,44 => TOUCH_RECT=0,18,10,44" }
            << noLog;
        QTest::newRow("align bottom of three")
            << align << Operation([k1k2k3](Panel *p) { p->alignKeys(k1k2k3, Panel::AlignBottom); })
            << QStringList { "VIEW_RECT=0,10,10,40 => VIEW_RECT=0,20,10,40",
                   "TOUCH_RECT=0,8,10,44 => TOUCH_RECT=0,18,10,44",
                   "VIEW_RECT=20,0,10,20 => VIEW_RECT=20,40,10,20" }
            << noLog;
        QTest::newRow("align vertical centres on one line")
            << align << Operation([k1k2k3](Panel *p) { p->alignKeys(k1k2k3, Panel::AlignVCenter); })
            << QStringList { "VIEW_RECT=0,10,10,40 => VIEW_RECT=0,5,10,40",
                   "TOUCH_RECT=0,8,10,44 => TOUCH_RECT=0,3,10,44",
                   "VIEW_RECT=50,20,10,40 => VIEW_RECT=50,5,10,40",
                   "VIEW_RECT=20,0,10,20 => VIEW_RECT=20,15,10,20" }
            << noLog;
        QTest::newRow("align horizontal centres on one line")
            << align << Operation([k1k2k3](Panel *p) { p->alignKeys(k1k2k3, Panel::AlignHCenter); })
            << QStringList { "VIEW_RECT=0,10,10,40 => VIEW_RECT=22,10,10,40",
                   "TOUCH_RECT=0,8,10,44 => TOUCH_RECT=22,8,10,44",
                   "VIEW_RECT=50,20,10,40 => VIEW_RECT=22,20,10,40",
                   "VIEW_RECT=20,0,10,20 => VIEW_RECT=22,0,10,20" }
            << noLog;
        QTest::newRow("vertical centres count a duplicate once")
            << align << Operation([](Panel *p) {
                   p->alignKeys({ "KEY1", "KEY1", "KEY2" }, Panel::AlignVCenter);
               })
            << QStringList { "VIEW_RECT=0,10,10,40 => VIEW_RECT=0,14,10,40",
                   "TOUCH_RECT=0,8,10,44 => TOUCH_RECT=0,12,10,44",
                   "VIEW_RECT=50,20,10,40 => VIEW_RECT=50,14,10,40" }
            << noLog;
        QTest::newRow("vertical distribution, equal gaps") << align << Operation([](Panel *p) {
            p->alignKeys({ "KEY5", "KEY2", "KEY3" }, Panel::AlignVDistrubution);
        }) << QStringList { "VIEW_RECT=50,20,10,40 => VIEW_RECT=50,25,10,40" }
                                                           << noLog;
        QTest::newRow("horizontal distribution: lefts 0, 50, 20 become 0, 25, 50")
            << align << Operation([k1k2k3](Panel *p) { p->alignKeys(k1k2k3, Panel::AlignHDistrubution); })
            << QStringList { "VIEW_RECT=20,0,10,20 => VIEW_RECT=25,0,10,20" } << noLog;
        QTest::newRow("horizontal distribution truncates the cursor")
            << align << Operation([](Panel *p) {
                   p->alignKeys({ "KEY4", "KEY1", "KEY3" }, Panel::AlignHDistrubution);
               })
            << QStringList { "VIEW_RECT=20,0,10,20 => VIEW_RECT=45,0,10,20",
                   "VIEW_RECT=91,0,9,9 => VIEW_RECT=90,0,9,9" }
            << noLog;
        QTest::newRow("vertical distribution of a single key keeps it")
            << align << Operation([](Panel *p) { p->alignKeys({ "KEY2" }, Panel::AlignVDistrubution); })
            << none << noLog;
        QTest::newRow("horizontal distribution of a single key keeps it") << align << Operation([](Panel *p) {
            p->alignKeys({ "KEY2", "KEY2" }, Panel::AlignHDistrubution);
        }) << none << noLog;
        QTest::newRow("align with an empty list takes every key")
            << align << Operation([](Panel *p) { p->alignKeys({}, Panel::AlignTop); })
            << QStringList { "VIEW_RECT=0,10,10,40 => VIEW_RECT=0,0,10,40",
                   "TOUCH_RECT=0,8,10,44 => TOUCH_RECT=0,-2,10,44",
                   "VIEW_RECT=50,20,10,40 => VIEW_RECT=50,0,10,40",
                   "VIEW_RECT=60,70,10,15 => VIEW_RECT=60,0,10,15" }
            << noLog;

        QTest::newRow("recordAndEdit of a map") << keys << Operation([](Panel *p) {
            p->recordAndEdit({ { "KEY2/TOUCH_RECT", "1,1,1,1" }, { "PANEL/BACK_STYLE", "3" } });
        })
                                                << QStringList { "BACK_STYLE=1 => BACK_STYLE=3",
                                                       "BACK_STYLE=4 => BACK_STYLE=4|TOUCH_RECT=1,1,1,1" }
                                                << noLog;

        // A file with key sections that stand empty ([KEY5] between keys,
        // [KEY7] last): undo empties them again and never drops them.
        QTest::newRow("edit section fills a section that stood empty")
            << empty << Operation([](Panel *p) { p->editSection("KEY5", { "VIEW_RECT=1,2,3,4" }); })
            << QStringList { "[KEY5] => [KEY5]|VIEW_RECT=1,2,3,4" } << noLog;
        QTest::newRow("edit section fills the empty last section") << empty << Operation([](Panel *p) {
            p->editSection("KEY7", { "VIEW_RECT=1,2,3,4", "BACK_STYLE=2" });
        }) << QStringList { "[KEY7] => [KEY7]|BACK_STYLE=2|VIEW_RECT=1,2,3,4" }
                                                                   << noLog;
        QTest::newRow("edit section refuses a line break for a section that stood empty")
            << empty << Operation([](Panel *p) { p->editSection("KEY5", { "X=a\nb" }); }) << none
            << "refusing to write";
        QTest::newRow("edit section writes what it can into a section that stood empty")
            << empty << Operation([](Panel *p) {
                   p->editSection("KEY5", { "VIEW_RECT=1,2,3,4", "X=a\nb" });
               })
            << QStringList { "[KEY5] => [KEY5]|VIEW_RECT=1,2,3,4" } << "refusing to write";
        QTest::newRow("edit section with the values already there")
            << empty << Operation([](Panel *p) { p->editSection("KEY1", { "VIEW_RECT=0,0,10,10" }); }) << none
            << noLog;
        QTest::newRow("one step fills an empty section and adds a new one")
            << empty << Operation([](Panel *p) {
                   p->recordAndEdit({ { "KEY5/BACK_STYLE", "2" }, { "KEY8/VIEW_RECT", "1,1,1,1" } });
               })
            << QStringList { "[KEY5] => [KEY5]|BACK_STYLE=2", "$ => [KEY8]|VIEW_RECT=1,1,1,1" } << noLog;
        QTest::newRow("exchange gives a section that stood empty a rectangle")
            << empty << Operation([](Panel *p) { p->exchangeKeys("KEY1", "KEY5"); })
            << QStringList { "[KEY5] => [KEY5]|VIEW_RECT=0,0,10,10" } << noLog;
        QTest::newRow("move all keys beside empty sections")
            << empty << Operation([](Panel *p) { p->moveKeys({}, 1, 0); })
            << QStringList { "VIEW_RECT=0,0,10,10 => VIEW_RECT=1,0,10,10",
                   "VIEW_RECT=20,0,10,10 => VIEW_RECT=21,0,10,10" }
            << noLog;
        QTest::newRow("remove a key whose section is empty")
            << empty << Operation([](Panel *p) { p->removeKeys({ "KEY5" }); }) << none << noLog;
    }

    // The operation writes exactly the expected bytes, once, and its undo
    // brings back the bytes of the file before it; redo and undo again
    // alternate between the two.
    void operations()
    {
        QFETCH(QString, fixture);
        QFETCH(Operation, operation);
        QFETCH(QStringList, changes);
        QFETCH(QString, log);

        const QString path = load(fixture);
        QVERIFY(!path.isEmpty());
        const QByteArray original = readBytes(path);
        QString problem;
        const QByteArray expected = withChanges(original, changes, &problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        QSignalSpy reloaded(mPanel, &Panel::panelReloaded);
        QSignalSpy canUndo(mPanel, &Panel::canUndoChanged);
        if (!log.isEmpty())
            QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QRegularExpression::escape(log)));
        operation(mPanel);
        QCOMPARE(QString::fromUtf8(readBytes(path)), QString::fromUtf8(expected));
        QCOMPARE(reloaded.count(), 1);
        QCOMPARE(canUndo.count(), 1);
        QVERIFY(mPanel->canUndo());
        QVERIFY(!mPanel->canRedo());

        mPanel->undo();
        QCOMPARE(QString::fromUtf8(readBytes(path)), QString::fromUtf8(original));
        QVERIFY(!mPanel->canUndo());
        QVERIFY(mPanel->canRedo());
        mPanel->redo();
        QCOMPARE(QString::fromUtf8(readBytes(path)), QString::fromUtf8(expected));
        mPanel->undo();
        QCOMPARE(readBytes(path), original);
        QCOMPARE(reloaded.count(), 4);
    }

    void getNewKey_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("expected");
        QTest::newRow("KEY1, KEY2, KEY17, KEYA, KEY9") << "editing-keys"
                                                       << "KEY18";
        QTest::newRow("no keys") << "editing-nokeys"
                                 << "KEY1";
        QTest::newRow("no panel loaded") << QString() << "KEY1";
    }

    void getNewKey()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, expected);
        if (!fixture.isEmpty())
            QVERIFY(!load(fixture).isEmpty());
        QCOMPARE(mPanel->getNewKey(), expected);
    }

    void removedKeyKeepsItsNumber()
    {
        QVERIFY(!load(QStringLiteral("editing-keys")).isEmpty());
        mPanel->removeKeys({ QStringLiteral("KEY17") });
        QCOMPARE(mPanel->getNewKey(), QStringLiteral("KEY18"));
    }

    void undoOfAnAddedKeyRemovesIt()
    {
        const QString path = load(QStringLiteral("editing-keys"));
        const QByteArray original = readBytes(path);
        const QString key = mPanel->getNewKey();
        mPanel->editSection(key, { QStringLiteral("VIEW_RECT=5,5,10,10"), QStringLiteral("BACK_STYLE=2") });
        QVERIFY(readBytes(path).endsWith("[KEY18]\r\nBACK_STYLE=2\r\nVIEW_RECT=5,5,10,10\r\n\r\n"));
        mPanel->undo();
        QCOMPARE(readBytes(path), original);
        QCOMPARE(mPanel->getNewKey(), QStringLiteral("KEY18"));
        mPanel->redo();
        QVERIFY(readBytes(path).endsWith("[KEY18]\r\nBACK_STYLE=2\r\nVIEW_RECT=5,5,10,10\r\n\r\n"));
    }

    void undoRedoSequence()
    {
        const QString path = load(QStringLiteral("editing-keys"));
        const QByteArray original = readBytes(path);
        QSignalSpy canUndo(mPanel, &Panel::canUndoChanged);
        QSignalSpy canRedo(mPanel, &Panel::canRedoChanged);

        mPanel->moveKeys({ QStringLiteral("KEY1") }, 1, 0);
        const QByteArray first = readBytes(path);
        mPanel->moveKeys({ QStringLiteral("KEY2") }, 0, 1);
        const QByteArray second = readBytes(path);
        QVERIFY(first != original && second != first);
        QCOMPARE(canUndo.count(), 1);

        mPanel->undo();
        QCOMPARE(readBytes(path), first);
        QVERIFY(mPanel->canUndo());
        QVERIFY(mPanel->canRedo());
        mPanel->undo();
        QCOMPARE(readBytes(path), original);
        QVERIFY(!mPanel->canUndo());
        QVERIFY(mPanel->canRedo());
        QCOMPARE(canUndo.count(), 2);
        QCOMPARE(canRedo.count(), 1);

        // A new edit empties the redo stack.
        mPanel->moveKeys({ QStringLiteral("KEYA") }, -1, 0);
        const QByteArray third = readBytes(path);
        QVERIFY(mPanel->canUndo());
        QVERIFY(!mPanel->canRedo());
        QSignalSpy reloaded(mPanel, &Panel::panelReloaded);
        mPanel->redo();
        QCOMPARE(reloaded.count(), 0);
        QCOMPARE(readBytes(path), third);
        mPanel->undo();
        QCOMPARE(readBytes(path), original);
        QVERIFY(!mPanel->canUndo());
    }

    void undoWithEmptyStackDoesNothing()
    {
        const QString path = load(QStringLiteral("editing-keys"));
        const QByteArray original = readBytes(path);
        QSignalSpy reloaded(mPanel, &Panel::panelReloaded);
        QSignalSpy canUndo(mPanel, &Panel::canUndoChanged);
        QSignalSpy canRedo(mPanel, &Panel::canRedoChanged);

        static QStringList messages;
        messages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &message) { messages.append(message); });
        mPanel->undo();
        mPanel->redo();
        qInstallMessageHandler(previous);

        QCOMPARE(messages, QStringList());
        QCOMPARE(reloaded.count(), 0);
        QCOMPARE(canUndo.count(), 0);
        QCOMPARE(canRedo.count(), 0);
        QCOMPARE(readBytes(path), original);
    }

    void editRecordsNothing()
    {
        const QString path = load(QStringLiteral("editing-keys"));
        QSignalSpy reloaded(mPanel, &Panel::panelReloaded);
        mPanel->edit({ { QStringLiteral("KEY1/BACK_STYLE"), QStringLiteral("7") } });
        QCOMPARE(reloaded.count(), 1);
        QVERIFY(readBytes(path).contains(
            "[KEY1]\r\nVIEW_RECT=10,20,60,40\r\nTOUCH_RECT=8,18,64,44\r\nBACK_STYLE=7\r\n"));
        QVERIFY(!mPanel->canUndo());
        mPanel->undo();
        QVERIFY(readBytes(path).contains("BACK_STYLE=7\r\n"));
    }

    void openingAnotherFileEmptiesTheStacks()
    {
        const QString path = load(QStringLiteral("editing-keys"));
        const QString other = QFileInfo(path).absolutePath() + QStringLiteral("/py_9.ini");
        QVERIFY(QFile::copy(path, other));
        mPanel->moveKeys({}, 1, 1);
        mPanel->moveKeys({}, 1, 1);
        mPanel->undo();
        QVERIFY(mPanel->canUndo() && mPanel->canRedo());
        const QByteArray edited = readBytes(path);
        const QByteArray otherBytes = readBytes(other);

        QSignalSpy canUndo(mPanel, &Panel::canUndoChanged);
        QSignalSpy canRedo(mPanel, &Panel::canRedoChanged);
        mPanel->setPanelFile(other);
        QCOMPARE(canUndo.count(), 1);
        QCOMPARE(canRedo.count(), 1);
        QVERIFY(!mPanel->canUndo());
        QVERIFY(!mPanel->canRedo());
        mPanel->undo();
        mPanel->redo();
        QCOMPARE(readBytes(path), edited);
        QCOMPARE(readBytes(other), otherBytes);
    }

    void withoutPanelNothingHappens()
    {
        const QString path = load(QStringLiteral("editing-keys"));
        mPanel->moveKeys({}, 1, 1);
        const QByteArray edited = readBytes(path);
        mPanel->clean();
        // clean() keeps the history but there is no document to replay it on.
        QVERIFY(mPanel->canUndo());

        QSignalSpy reloaded(mPanel, &Panel::panelReloaded);
        QSignalSpy canUndo(mPanel, &Panel::canUndoChanged);
        mPanel->edit({ { QStringLiteral("KEY1/VIEW_RECT"), QStringLiteral("1,1,1,1") } });
        mPanel->recordAndEdit({ { QStringLiteral("KEY1/VIEW_RECT"), QStringLiteral("1,1,1,1") } });
        mPanel->editSection(QStringLiteral("KEY1"), { QStringLiteral("VIEW_RECT=1,1,1,1") });
        mPanel->exchangeKeys(QStringLiteral("KEY1"), QStringLiteral("KEY2"));
        mPanel->moveKeys({}, 1, 1);
        mPanel->adjustKeys({}, 1, 1, 1, 1, 0, 0, 0, 0);
        mPanel->alignKeys({}, Panel::AlignHDistrubution);
        mPanel->removeKeys({});
        mPanel->undo();
        mPanel->redo();
        QCOMPARE(reloaded.count(), 0);
        QCOMPARE(canUndo.count(), 0);
        QCOMPARE(readBytes(path), edited);
        QCOMPARE(mPanel->getNewKey(), QStringLiteral("KEY1"));
    }

    void invalidAlignTypeChangesNothing()
    {
        const QString path = load(QStringLiteral("editing-align"));
        const QByteArray original = readBytes(path);
        QSignalSpy reloaded(mPanel, &Panel::panelReloaded);
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^AlignType:  9  is invalid!$")));
        mPanel->alignKeys({}, static_cast<Panel::KeyAlignType>(9));
        QCOMPARE(reloaded.count(), 0);
        QVERIFY(!mPanel->canUndo());
        QCOMPARE(readBytes(path), original);
    }

    void alignWithoutKeysChangesNothing()
    {
        const QString path = load(QStringLiteral("editing-nokeys"));
        const QByteArray original = readBytes(path);
        mPanel->alignKeys({}, Panel::AlignHDistrubution);
        QCOMPARE(readBytes(path), original);
    }

    // A hand-written file comes back in the writer's form (CR LF, no blanks
    // around "="), with every value as it was.
    void handWrittenFileComesBackNormalised()
    {
        const QString path = copyFixture(QStringLiteral("editing-nokeys"));
        QVERIFY(writeBytes(path, "[KEY1]\nVIEW_RECT = 1,1,5,5\n\n\n[KEY2]\nBACK_STYLE=3"));
        mPanel->setPanelFile(path);
        mPanel->moveKeys({}, 2, 0);
        QCOMPARE(
            readBytes(path), QByteArray("[KEY1]\r\nVIEW_RECT=3,1,5,5\r\n\r\n[KEY2]\r\nBACK_STYLE=3\r\n\r\n"));
        mPanel->undo();
        QCOMPARE(
            readBytes(path), QByteArray("[KEY1]\r\nVIEW_RECT=1,1,5,5\r\n\r\n[KEY2]\r\nBACK_STYLE=3\r\n\r\n"));
    }

    // An edit, undo or redo that cannot be written is not made: the file,
    // the document and the stacks stay as they were, and the panel says why.
    void failedWriteChangesNothing_data()
    {
        QTest::addColumn<Operation>("prepare");
        QTest::addColumn<Operation>("operation");
        const Operation nothing = [](Panel *) {};
        const Operation moved = [](Panel *p) { p->moveKeys({ "KEY2" }, 1, 1); };
        QTest::newRow("move") << nothing << moved;
        QTest::newRow("edit section") << nothing
                                      << Operation([](Panel *p) { p->editSection("KEY5", { "VIEW_RECT=1,2,3,4" }); });
        QTest::newRow("remove all") << nothing << Operation([](Panel *p) { p->removeKeys({}); });
        QTest::newRow("undo") << moved << Operation([](Panel *p) { p->undo(); });
        QTest::newRow("redo") << Operation([=](Panel *p) {
            moved(p);
            p->undo();
        }) << Operation([](Panel *p) { p->redo(); });
    }

    void failedWriteChangesNothing()
    {
        QFETCH(Operation, prepare);
        QFETCH(Operation, operation);
        const QString path = load(QStringLiteral("editing-keys"));
        prepare(mPanel);
        const QByteArray before = readBytes(path);
        const bool canUndo = mPanel->canUndo();
        const bool canRedo = mPanel->canRedo();
        const QString keyTwo = mPanel->panelConfig()->value(QStringLiteral("KEY2/VIEW_RECT"));

        QSignalSpy reported(mPanel, &Panel::reported);
        {
            FileSizeLimit limit(16);
            QVERIFY(limit.ok());
            operation(mPanel);
        }
        QCOMPARE(readBytes(path), before);
        QCOMPARE(mPanel->canUndo(), canUndo);
        QCOMPARE(mPanel->canRedo(), canRedo);
        QVERIFY(!mPanel->panelConfig()->isModified());
        QCOMPARE(mPanel->panelConfig()->value(QStringLiteral("KEY2/VIEW_RECT")), keyTwo);
        QCOMPARE(reported.count(), 1);
        const OperationResult result = reported.first().first().value<OperationResult>();
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains(QLatin1String("py_26.ini")), qPrintable(result.message));

        // Once the disk takes writes again the same operation goes through.
        operation(mPanel);
        QVERIFY(readBytes(path) != before);
    }

    // What another program wrote since the panel was loaded stays: the edit
    // is computed from the file as it is now.
    void outsideChangeSurvivesAnEdit()
    {
        const QString path = load(QStringLiteral("editing-keys"));
        QByteArray outside = readBytes(path);
        outside.replace("VIEW_RECT=100,20,60,40", "VIEW_RECT=110,20,60,40");
        outside.replace("FORE_STYLE=6", "FORE_STYLE=7");
        QVERIFY(writeBytes(path, outside));

        mPanel->moveKeys({ "KEY2" }, 0, 5);
        const QByteArray after = readBytes(path);
        QVERIFY2(after.contains("[KEY2]\r\nVIEW_RECT=110,25,60,40\r\n"), after.constData());
        QVERIFY(after.contains("FORE_STYLE=7\r\n"));
        mPanel->undo();
        QVERIFY(readBytes(path).contains("[KEY2]\r\nVIEW_RECT=110,20,60,40\r\n"));
        QVERIFY(readBytes(path).contains("FORE_STYLE=7\r\n"));
    }

    // Undo and redo do not replace a value somebody else changed since.
    void undoRefusedAfterOutsideChange_data()
    {
        QTest::addColumn<bool>("redo");
        QTest::newRow("undo") << false;
        QTest::newRow("redo") << true;
    }

    void undoRefusedAfterOutsideChange()
    {
        QFETCH(bool, redo);
        const QString path = load(QStringLiteral("editing-keys"));
        mPanel->moveKeys({ "KEY2" }, 0, 5);
        if (redo)
            mPanel->undo();
        QByteArray outside = readBytes(path);
        QVERIFY(outside.contains(redo ? "VIEW_RECT=100,20,60,40" : "VIEW_RECT=100,25,60,40"));
        outside.replace(redo ? "VIEW_RECT=100,20,60,40" : "VIEW_RECT=100,25,60,40", "VIEW_RECT=1,1,9,9");
        QVERIFY(writeBytes(path, outside));

        QSignalSpy reported(mPanel, &Panel::reported);
        redo ? mPanel->redo() : mPanel->undo();
        QCOMPARE(readBytes(path), outside);
        QCOMPARE(mPanel->canUndo(), !redo);
        QCOMPARE(mPanel->canRedo(), redo);
        QCOMPARE(reported.count(), 1);
        const OperationResult result = reported.first().first().value<OperationResult>();
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains(QLatin1String("KEY2/VIEW_RECT")), qPrintable(result.message));
    }

    // QML calls the operations by name, the alignment by its enum value.
    void callableFromQml()
    {
        const QMetaEnum alignType = QMetaEnum::fromType<Panel::KeyAlignType>();
        QCOMPARE(alignType.keyCount(), 8);
        const QStringList names = { "AlignLeft", "AlignTop", "AlignRight", "AlignBottom", "AlignVCenter",
            "AlignHCenter", "AlignVDistrubution", "AlignHDistrubution" };
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(alignType.keyToValue(names.at(i).toLatin1().constData()), i);

        const QString path = load(QStringLiteral("editing-align"));
        const QStringList keys = { "KEY1", "KEY2" };
        QVERIFY(QMetaObject::invokeMethod(
            mPanel, "alignKeys", Q_ARG(QStringList, keys), Q_ARG(Panel::KeyAlignType, Panel::AlignBottom)));
        QVERIFY(readBytes(path).contains("[KEY1]\r\nVIEW_RECT=0,20,10,40\r\n"));
        QVERIFY(QMetaObject::invokeMethod(mPanel, "undo"));
        QVERIFY(readBytes(path).contains("[KEY1]\r\nVIEW_RECT=0,10,10,40\r\n"));
        QString key;
        QVERIFY(QMetaObject::invokeMethod(mPanel, "getNewKey", Q_RETURN_ARG(QString, key)));
        QCOMPARE(key, QStringLiteral("KEY6"));
    }
};

QTEST_MAIN(TestKeyEditing)
#include "tst_keyediting.moc"
