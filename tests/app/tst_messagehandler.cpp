#include "app/messagehandler.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

// Sends standard output to a file while it lives.
class StdoutCapture
{
public:
    explicit StdoutCapture(const QString &path)
    {
        std::fflush(stdout);
        mSaved = ::dup(STDOUT_FILENO);
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(fd, STDOUT_FILENO);
        ::close(fd);
    }
    ~StdoutCapture()
    {
        std::fflush(stdout);
        ::dup2(mSaved, STDOUT_FILENO);
        ::close(mSaved);
    }

private:
    int mSaved;
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QMessageLogContext noContext;

} // namespace

class TestMessageHandler : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void levelNames_data();
    void levelNames();
    void threshold_data();
    void threshold();
    void appendsToExistingLog();
    void unwritableLogStillPrints();
    void installedHandlerReceivesQtMessages();
    void defaultLogFileIsNextToExecutable();

private:
    std::unique_ptr<QTemporaryDir> mDir;
    QString mLog;
    QString mOut;
};

void TestMessageHandler::init()
{
    mDir = std::make_unique<QTemporaryDir>();
    mLog = mDir->filePath(QStringLiteral("quillmark.log"));
    mOut = mDir->filePath(QStringLiteral("stdout.txt"));
    MessageHandler::setLogFilePath(mLog);
}

void TestMessageHandler::cleanup()
{
    MessageHandler::setLogFilePath(QString());
    MessageHandler::setThreshold(QtInfoMsg);
    mDir.reset();
}

void TestMessageHandler::levelNames_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");

    QTest::newRow("debug") << int(QtDebugMsg) << "Debug";
    QTest::newRow("warning") << int(QtWarningMsg) << "Warning";
    QTest::newRow("critical") << int(QtCriticalMsg) << "Critical";
    QTest::newRow("fatal") << int(QtFatalMsg) << "Fatal";
    QTest::newRow("info") << int(QtInfoMsg) << "Info";
}

void TestMessageHandler::levelNames()
{
    QFETCH(int, type);
    QFETCH(QString, name);
    QCOMPARE(type, int(QtMsgType(type)));
    QCOMPARE(MessageHandler::levelName(QtMsgType(type)), name);
    QCOMPARE(MessageHandler::formatLine(QtMsgType(type), QStringLiteral("a b")),
        QLatin1Char('[') + name + QStringLiteral("] a b"));
}

void TestMessageHandler::threshold_data()
{
    QTest::addColumn<int>("threshold");
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("info default passes info") << 4 << int(QtInfoMsg) << QByteArray("[Info] hello");
    QTest::newRow("info default drops warning") << 4 << int(QtWarningMsg) << QByteArray();
    QTest::newRow("info default drops debug") << 4 << int(QtDebugMsg) << QByteArray();
    QTest::newRow("info default drops critical") << 4 << int(QtCriticalMsg) << QByteArray();
    QTest::newRow("debug passes debug") << 0 << int(QtDebugMsg) << QByteArray("[Debug] hello");
    QTest::newRow("debug passes warning") << 0 << int(QtWarningMsg) << QByteArray("[Warning] hello");
    QTest::newRow("warning drops debug") << 1 << int(QtDebugMsg) << QByteArray();
    QTest::newRow("critical drops warning") << 2 << int(QtWarningMsg) << QByteArray();
    QTest::newRow("critical passes critical") << 2 << int(QtCriticalMsg) << QByteArray("[Critical] hello");
    QTest::newRow("critical passes info") << 2 << int(QtInfoMsg) << QByteArray("[Info] hello");
}

void TestMessageHandler::threshold()
{
    QFETCH(int, threshold);
    QFETCH(int, type);
    QFETCH(QByteArray, line);
    MessageHandler::setThreshold(threshold);
    {
        StdoutCapture capture(mOut);
        messageHandler(QtMsgType(type), noContext, QStringLiteral("hello"));
    }
    const QByteArray expected = line.isEmpty() ? QByteArray() : line + '\n';
    QCOMPARE(readAll(mLog), expected);
    QCOMPARE(readAll(mOut), expected);
    QCOMPARE(QFileInfo::exists(mLog), !line.isEmpty());
}

void TestMessageHandler::appendsToExistingLog()
{
    {
        QFile file(mLog);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Info] from an earlier run\n");
    }
    MessageHandler::setThreshold(0);
    {
        StdoutCapture capture(mOut);
        messageHandler(QtDebugMsg, noContext, QStringLiteral("first"));
        messageHandler(QtInfoMsg, noContext, QStringLiteral("second \u4e2d"));
    }
    QCOMPARE(
        readAll(mLog), QByteArray("[Info] from an earlier run\n[Debug] first\n[Info] second \xe4\xb8\xad\n"));
    QCOMPARE(readAll(mOut).left(22), QByteArray("[Debug] first\n[Info] s"));
}

void TestMessageHandler::unwritableLogStillPrints()
{
    // A directory where the log file should be: it cannot be opened.
    QVERIFY(QDir().mkpath(mLog));
    MessageHandler::setThreshold(4);
    {
        StdoutCapture capture(mOut);
        messageHandler(QtInfoMsg, noContext, QStringLiteral("still here"));
    }
    QCOMPARE(readAll(mOut), QByteArray("[Info] still here\n"));
    QVERIFY(QFileInfo(mLog).isDir());
}

void TestMessageHandler::installedHandlerReceivesQtMessages()
{
    const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    {
        StdoutCapture capture(mOut);
        MessageHandler::install(0);
        qDebug() << "MessageHandler installed!";
        qWarning("a %s warning", "formatted");
        qInstallMessageHandler(previous);
    }
    QCOMPARE(MessageHandler::threshold(), 0);
    const QByteArray expected("[Debug] MessageHandler installed!\n[Warning] a formatted warning\n");
    QCOMPARE(readAll(mLog), expected);
    QCOMPARE(readAll(mOut), expected);
}

void TestMessageHandler::defaultLogFileIsNextToExecutable()
{
    MessageHandler::setLogFilePath(QString());
    QCOMPARE(MessageHandler::logFilePath(),
        QCoreApplication::applicationDirPath() + QStringLiteral("/quillmark.log"));
}

QTEST_GUILESS_MAIN(TestMessageHandler)
#include "tst_messagehandler.moc"
