#include "skin/skinconfig.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

const QByteArray kOldText
    = "[GENERAL]\r\nVIEW_RECT=0,0,1080,600\r\n\r\n[KEY1]\r\nVIEW_RECT=0,0,100,80\r\nSTYLE=1\r\n\r\n";

} // namespace

// A failed save must leave the panel file as it was: the new text goes to a
// temporary file that replaces the old one only once it is complete.
class TestSkinConfigSave : public QObject
{
    Q_OBJECT

private slots:
    void readOnlyDirectory();
    void fileSizeLimit_data();
    void fileSizeLimit();
};

void TestSkinConfigSave::readOnlyDirectory()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("py_26.ini"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kOldText);
    }
    const QByteArray dirPath = QFile::encodeName(dir.path());
    bool saved = true;
    if (::geteuid() == 0) {
        // Permissions do not stop root, so the save runs in a child that
        // gives root up. The directory and the file belong to that user, so
        // only the read-only directory stands in the way: the file itself
        // could be written in place.
        const uid_t nobody = 65534;
        QCOMPARE(::chown(dirPath.constData(), nobody, nobody), 0);
        QCOMPARE(::chown(QFile::encodeName(path).constData(), nobody, nobody), 0);
        QCOMPARE(::chmod(dirPath.constData(), 0555), 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0
                || ::geteuid() != nobody)
                ::_exit(3);
            SkinConfig *config = new SkinConfig(path);
            if (config->value(QStringLiteral("KEY1/STYLE"), QString()) != QLatin1String("1"))
                ::_exit(4); // the old file could not even be read
            config->setValue(QStringLiteral("KEY1/STYLE"), QStringLiteral("2"));
            // No destructor: it would try once more.
            ::_exit(config->save() ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        ::chmod(dirPath.constData(), 0700);
        QVERIFY2(WIFEXITED(status), "the saving process was killed");
        if (WEXITSTATUS(status) == 3)
            QSKIP("cannot switch to an unprivileged user here");
        QVERIFY2(WEXITSTATUS(status) != 4,
            qPrintable(QStringLiteral("user %1 cannot read %2").arg(nobody).arg(path)));
        QVERIFY(WEXITSTATUS(status) <= 1);
        saved = WEXITSTATUS(status) == 0;
    } else {
        QCOMPARE(::chmod(dirPath.constData(), 0500), 0);
        {
            SkinConfig config(path);
            config.setValue(QStringLiteral("KEY1/STYLE"), QStringLiteral("2"));
            saved = config.save();
        }
        ::chmod(dirPath.constData(), 0700);
    }
    QVERIFY(!saved);
    QCOMPARE(readBytes(path), kOldText);
    // No temporary file is left beside the panel file.
    QCOMPARE(
        QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("py_26.ini") });
}

void TestSkinConfigSave::fileSizeLimit_data()
{
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<bool>("saves");

    QTest::newRow("a few bytes") << qint64(10) << false;
    QTest::newRow("below the old size") << qint64(kOldText.size() - 5) << false;
    QTest::newRow("between the old and the new size") << qint64(kOldText.size() + 100) << false;
    QTest::newRow("room enough") << qint64(1 << 20) << true;
}

void TestSkinConfigSave::fileSizeLimit()
{
    QFETCH(qint64, limit);
    QFETCH(bool, saves);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("py_26.ini"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kOldText);
    }
    const QString bigValue(2000, QLatin1Char('x'));

    // The limit applies to the whole process, so the save runs in a child.
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit rl;
        rl.rlim_cur = rlim_t(limit);
        rl.rlim_max = rlim_t(limit);
        if (::setrlimit(RLIMIT_FSIZE, &rl) != 0)
            ::_exit(3);
        SkinConfig *config = new SkinConfig(path);
        config->setValue(QStringLiteral("KEY1/LABEL"), bigValue);
        // No destructor: it would try once more.
        ::_exit(config->save() ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(WIFEXITED(status), "the saving process was killed");
    if (WEXITSTATUS(status) == 3)
        QSKIP("setrlimit(RLIMIT_FSIZE) is not permitted here");
    QCOMPARE(WEXITSTATUS(status), saves ? 0 : 1);

    const QByteArray now = readBytes(path);
    if (saves) {
        QVERIFY(now.contains(QByteArray("LABEL=") + bigValue.toLatin1() + "\r\n"));
    } else {
        QCOMPARE(now, kOldText);
    }
    // No temporary file is left beside the panel file.
    QCOMPARE(
        QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("py_26.ini") });
}

QTEST_GUILESS_MAIN(TestSkinConfigSave)
#include "tst_skinconfigsave.moc"
