#include "app/certificateauthorities.h"

#include <QCryptographicHash>
#include <QSslConfiguration>
#include <QTemporaryDir>
#include <QtTest>

// Narrowing the system's authorities without decoding them all must keep
// exactly what decoding them all keeps.
class TestCertificateAuthorities : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sameAsFullDecoding_data();
    void sameAsFullDecoding();
    void readsPemFilesInOrder();
    void mayHold_data();
    void mayHold();

private:
    QList<QSslCertificate> mSystem;
};

namespace {

QStringList digests(const QList<QSslCertificate> &certificates)
{
    QStringList list;
    for (const QSslCertificate &certificate : certificates)
        list.append(QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex()));
    list.sort();
    return list;
}

} // namespace

void TestCertificateAuthorities::initTestCase()
{
    mSystem = QSslConfiguration::systemCaCertificates();
}

void TestCertificateAuthorities::sameAsFullDecoding_data()
{
    QTest::addColumn<QStringList>("issuers");
    QTest::newRow("the editor's three") << QStringList { QStringLiteral("DST Root CA X3"),
        QStringLiteral("Baltimore CyberTrust Root"), QStringLiteral("COMODO RSA Certification Authority") };
    QTest::newRow("a prefix of a name only") << QStringList { QStringLiteral("COMODO RSA") };
    QTest::newRow("nobody") << QStringList { QStringLiteral("No Such Authority") };
    QTest::newRow("none asked for") << QStringList();
    // names taken from the system's own list, so that something is kept
    if (!mSystem.isEmpty()) {
        QTest::newRow("the first and the last")
            << QStringList { mSystem.first().issuerDisplayName(), mSystem.last().issuerDisplayName() };
        for (const QSslCertificate &certificate : qAsConst(mSystem)) {
            const QString name = certificate.issuerDisplayName();
            if (name.toUtf8().size() != name.size()) {
                QTest::newRow("a name beyond ASCII") << QStringList { name };
                break;
            }
        }
    }
}

void TestCertificateAuthorities::sameAsFullDecoding()
{
    QFETCH(QStringList, issuers);
    QList<QSslCertificate> expected;
    for (const QSslCertificate &certificate : qAsConst(mSystem)) {
        if (issuers.contains(certificate.issuerDisplayName()))
            expected.append(certificate);
    }
    const QList<QSslCertificate> kept = CertificateAuthorities::systemIssuedBy(issuers);
    QCOMPARE(digests(kept), digests(expected));
}

void TestCertificateAuthorities::readsPemFilesInOrder()
{
    if (mSystem.size() < 3)
        QSKIP("the system lists fewer than three authorities");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QSslCertificate a = mSystem.at(0);
    const QSslCertificate b = mSystem.at(1);
    const QSslCertificate c = mSystem.at(2);
    QVERIFY(a.issuerDisplayName() != b.issuerDisplayName() || a == b);
    // two in one file with text around them, one in a second file, and a
    // block that never ends
    const QString first = dir.filePath(QStringLiteral("first.pem"));
    const QString second = dir.filePath(QStringLiteral("second.crt"));
    QFile file(first);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("# a bundle\n" + b.toPem() + "between\n" + a.toPem() + "-----BEGIN CERTIFICATE-----\nAAAA\n");
    file.close();
    file.setFileName(second);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(c.toPem());
    file.close();

    const QStringList names = { a.issuerDisplayName(), b.issuerDisplayName(), c.issuerDisplayName() };
    const QList<QSslCertificate> kept = CertificateAuthorities::issuedBy(
        names, { second, first, dir.filePath(QStringLiteral("missing.pem")) });
    QCOMPARE(kept, (QList<QSslCertificate> { c, b, a }));
    QCOMPARE(CertificateAuthorities::issuedBy({ c.issuerDisplayName() }, { first, second }).last(), c);
}

void TestCertificateAuthorities::mayHold_data()
{
    QTest::addColumn<QByteArray>("der");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("holds");
    const QString name = QStringLiteral("Fő CA");
    QTest::newRow("UTF-8") << QByteArray("\x0c\x06"
                                         "F\xc5\x91 CA")
                           << name << true;
    QTest::newRow("UTF-16") << QByteArray("\x1e\x0a\0F\x01\x51\0 \0C\0A", 12) << name << true;
    QTest::newRow("UTF-32") << QByteArray("\x1c\x14\0\0\0F\0\0\x01\x51\0\0\0 \0\0\0C\0\0\0A", 22) << name
                            << true;
    QTest::newRow("another name") << QByteArray("\x0c\x05"
                                                "Fo CA")
                                  << name << false;
    QTest::newRow("cut short") << QByteArray("\x0c\x04"
                                             "F\xc5\x91 C")
                               << name << false;
}

void TestCertificateAuthorities::mayHold()
{
    QFETCH(QByteArray, der);
    QFETCH(QString, name);
    QFETCH(bool, holds);
    QCOMPARE(CertificateAuthorities::mayHold(der, name), holds);
}

QTEST_GUILESS_MAIN(TestCertificateAuthorities)
#include "tst_certificateauthorities.moc"
