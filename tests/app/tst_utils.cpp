#include "app/utils.h"
#include "skin/filetree.h"

#include <QDirIterator>
#include <QMetaMethod>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

class TestUtils : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void versions();
    void invokableOrder();
    void osTypeAndVersion();
    void urlToLocalPath_data();
    void urlToLocalPath();
    void localPathToUrl_data();
    void localPathToUrl();
    void quillmarkDirectoryIsBelowHomeAndNotCreated();
    void clearDirectoryEmptiesTree();
    void clearDirectoryOfMissingPath();
    void clearDirectoryKeepsLinkTargets();
    void clearDirectoryRefusals_data();
    void clearDirectoryRefusals();

private:
    QTemporaryDir mHome;
    QByteArray mOldHome;
};

void TestUtils::initTestCase()
{
    // The user's home is where the program keeps its own directory; a test
    // must never touch the real one.
    QVERIFY(mHome.isValid());
    qRegisterMetaType<OperationResult>();
    mOldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(mHome.path()));
}

void TestUtils::cleanupTestCase()
{
    qputenv("HOME", mOldHome);
}

void TestUtils::versions()
{
    QTest::ignoreMessage(QtDebugMsg, "version code:  1008");
    QCOMPARE(Utils::instance()->getVersion(), QStringLiteral("0.10.8"));
    QTest::ignoreMessage(QtDebugMsg, "version code:  1008");
    QCOMPARE(Utils::instance()->getVersionCode(), 1008);
    QTest::ignoreMessage(QtDebugMsg, "FOR_KWA not defined!");
    QVERIFY(!Utils::instance()->isForKWA());
    QCOMPARE(Utils::instance(), Utils::instance());
}

void TestUtils::invokableOrder()
{
    const QStringList expected = { QStringLiteral("getOsTypeAndVersion"), QStringLiteral("getVersion"),
        QStringLiteral("getVersionCode"), QStringLiteral("isForKWA"), QStringLiteral("clearDirectory"),
        QStringLiteral("zip"), QStringLiteral("unzip"), QStringLiteral("urlToLocalPath"),
        QStringLiteral("localPathToUrl"), QStringLiteral("getQuillmarkDirectory") };
    const QMetaObject *meta = Utils::instance()->metaObject();
    QStringList names;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        // (the one signal, which reports results to the window, comes first)
        if (meta->method(i).methodType() != QMetaMethod::Signal)
            names.append(QString::fromLatin1(meta->method(i).name()));
    }
    // The scene's operations come first, in this order; later additions follow.
    QCOMPARE(names.mid(0, expected.size()), expected);
}

void TestUtils::osTypeAndVersion()
{
    const QString text = Utils::instance()->getOsTypeAndVersion();
    QCOMPARE(text, QSysInfo::productType() + QLatin1Char(' ') + QSysInfo::productVersion());
    QVERIFY(!QSysInfo::productType().isEmpty());
}

void TestUtils::urlToLocalPath_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("path");

    QTest::newRow("file url") << "file:///home/me/skin/port/py_26.ini"
                              << "/home/me/skin/port/py_26.ini";
    QTest::newRow("percent-encoded blank") << "file:///tmp/my%20skin/a.ini"
                                           << "/tmp/my skin/a.ini";
    QTest::newRow("blank left as typed") << "file:///tmp/my skin/a.ini"
                                         << "/tmp/my skin/a.ini";
    QTest::newRow("non-ASCII") << QStringLiteral("file:///tmp/\u76ae\u80a4/a.ini")
                               << QStringLiteral("/tmp/\u76ae\u80a4/a.ini");
    QTest::newRow("web address") << "https://example.org/a.ini"
                                 << "";
    QTest::newRow("plain path is no url") << "/tmp/a.ini"
                                          << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("garbage") << "::not a url::"
                             << "";
}

void TestUtils::urlToLocalPath()
{
    QFETCH(QString, url);
    QFETCH(QString, path);
    QCOMPARE(Utils::instance()->urlToLocalPath(url), path);
}

void TestUtils::localPathToUrl_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("url");

    QTest::newRow("absolute") << "/home/me/skin"
                              << "file:///home/me/skin";
    QTest::newRow("blank") << "/tmp/my skin"
                           << "file:///tmp/my skin";
    QTest::newRow("hash sign is encoded") << "/tmp/a#b"
                                          << "file:///tmp/a%23b";
}

void TestUtils::localPathToUrl()
{
    QFETCH(QString, path);
    QFETCH(QString, url);
    const QString result = Utils::instance()->localPathToUrl(path);
    QCOMPARE(result, url);
    // What the scene gets back from a file dialog comes home unchanged.
    QCOMPARE(Utils::instance()->urlToLocalPath(result), path);
}

void TestUtils::quillmarkDirectoryIsBelowHomeAndNotCreated()
{
    const QString dir = Utils::instance()->getQuillmarkDirectory();
    QCOMPARE(dir, mHome.path() + QStringLiteral("/Quillmark"));
    QVERIFY(!QFileInfo::exists(dir));
}

void TestUtils::clearDirectoryEmptiesTree()
{
    QTemporaryDir dir;
    QVERIFY(FileTree::write(dir.filePath(QStringLiteral("a.ini")), "a"));
    QVERIFY(FileTree::write(dir.filePath(QStringLiteral("port/py_26.ini")), "b"));
    QVERIFY(FileTree::write(dir.filePath(QStringLiteral("res/deep/x.png")), "c"));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("empty"))));
    // what the import's question names: every file and folder, all the way down
    QVERIFY(Utils::instance()->isClearable(dir.path()));
    QCOMPARE(Utils::instance()->entryCount(dir.path()), 7);
    QSignalSpy reported(Utils::instance(), &Utils::reported);
    QVERIFY(Utils::instance()->clearDirectory(dir.path()));
    QVERIFY(QFileInfo(dir.path()).isDir());
    QCOMPARE(FileTree::list(dir.path()), QStringList());
    QCOMPARE(reported.size(), 1);
    const auto result = reported.first().first().value<OperationResult>();
    QVERIFY(result.ok);
    QCOMPARE(result.file(), dir.path());
    QCOMPARE(Utils::instance()->entryCount(dir.path()), 0);
}

void TestUtils::clearDirectoryOfMissingPath()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing"));
    QVERIFY(Utils::instance()->clearDirectory(missing));
    QVERIFY(!QFileInfo::exists(missing));
    QCOMPARE(FileTree::list(dir.path()), QStringList());
}

void TestUtils::clearDirectoryKeepsLinkTargets()
{
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    QVERIFY(FileTree::write(elsewhere.filePath(QStringLiteral("precious/keep.txt")), "keep"));
    QVERIFY(FileTree::write(elsewhere.filePath(QStringLiteral("file.txt")), "keep"));
    QVERIFY(
        QFile::link(elsewhere.filePath(QStringLiteral("precious")), dir.filePath(QStringLiteral("dirlink"))));
    QVERIFY(QFile::link(
        elsewhere.filePath(QStringLiteral("file.txt")), dir.filePath(QStringLiteral("filelink"))));
    QVERIFY(Utils::instance()->clearDirectory(dir.path()));
    QCOMPARE(FileTree::list(dir.path()), QStringList());
    QCOMPARE(FileTree::list(elsewhere.path()),
        (QStringList {
            QStringLiteral("file.txt"), QStringLiteral("precious/"), QStringLiteral("precious/keep.txt") }));
}

void TestUtils::clearDirectoryRefusals_data()
{
    QTest::addColumn<QString>("which");

    QTest::newRow("empty path (the current directory)") << "empty";
    QTest::newRow("the home directory") << "home";
    QTest::newRow("the home directory with a trailing slash") << "home/";
    QTest::newRow("a link to the home directory") << "link";
    QTest::newRow("the directory above the home") << "parent";
}

void TestUtils::clearDirectoryRefusals()
{
    QFETCH(QString, which);
    // HOME lies in a temporary tree: <root>/home, with a link <root>/link.
    QTemporaryDir root;
    const QString home = root.filePath(QStringLiteral("home"));
    QVERIFY(FileTree::write(home + QStringLiteral("/Documents/letter.txt"), "dear"));
    QVERIFY(FileTree::write(root.filePath(QStringLiteral("beside.txt")), "beside"));
    QVERIFY(QFile::link(home, root.filePath(QStringLiteral("link"))));
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home));
    const QString savedCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(home));

    QString path;
    if (which == QLatin1String("empty"))
        path = QString();
    else if (which == QLatin1String("home"))
        path = home;
    else if (which == QLatin1String("home/"))
        path = home + QLatin1Char('/');
    else if (which == QLatin1String("link"))
        path = root.filePath(QStringLiteral("link"));
    else
        path = root.path();
    const QStringList before = FileTree::list(root.path());

    const bool clearable = Utils::instance()->isClearable(path);
    const int entries = Utils::instance()->entryCount(path);
    QSignalSpy reported(Utils::instance(), &Utils::reported);
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^refusing to clear")));
    const bool result = Utils::instance()->clearDirectory(path);

    QDir::setCurrent(savedCurrent);
    qputenv("HOME", savedHome);
    QVERIFY(result);
    QCOMPARE(FileTree::list(root.path()), before);
    QVERIFY(!clearable);
    QCOMPARE(entries, 0);
    // the author is told that nothing was deleted, and why
    QCOMPARE(reported.size(), 1);
    QVERIFY(!reported.first().first().value<OperationResult>().ok);
}

QTEST_GUILESS_MAIN(TestUtils)
#include "tst_utils.moc"
