#include "certificateauthorities.h"

#include <QDir>
#include <QFile>
#include <QPair>
#include <QSet>
#include <QSslConfiguration>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

namespace {

const QByteArray pemBegin = QByteArrayLiteral("-----BEGIN CERTIFICATE-----");
const QByteArray pemEnd = QByteArrayLiteral("-----END CERTIFICATE-----");

QByteArray utf16(const QString &name)
{
    QByteArray bytes;
    for (const QChar c : name)
        bytes.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xff));
    return bytes;
}

QByteArray utf32(const QString &name)
{
    QByteArray bytes;
    for (const uint c : name.toUcs4())
        bytes.append(char(c >> 24))
            .append(char((c >> 16) & 0xff))
            .append(char((c >> 8) & 0xff))
            .append(char(c & 0xff));
    return bytes;
}

} // namespace

bool CertificateAuthorities::mayHold(const QByteArray &der, const QString &name)
{
    return der.contains(name.toUtf8()) || der.contains(name.toLatin1()) || der.contains(utf16(name))
        || der.contains(utf32(name));
}

QList<QSslCertificate> CertificateAuthorities::issuedBy(const QStringList &issuers, const QStringList &files)
{
    QList<QSslCertificate> kept;
    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = file.readAll();
        int at = 0;
        while ((at = text.indexOf(pemBegin, at)) >= 0) {
            const int end = text.indexOf(pemEnd, at);
            if (end < 0)
                break;
            const QByteArray base64 = text.mid(at + pemBegin.size(), end - at - pemBegin.size());
            at = end + pemEnd.size();
            const QByteArray der = QByteArray::fromBase64(base64);
            bool candidate = false;
            for (const QString &issuer : issuers)
                candidate = candidate || mayHold(der, issuer);
            if (!candidate)
                continue;
            const QSslCertificate certificate(der, QSsl::Der);
            if (!certificate.isNull() && issuers.contains(certificate.issuerDisplayName()))
                kept.append(certificate);
        }
    }
    return kept;
}

QStringList CertificateAuthorities::systemFiles()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    // Where Qt 5.15 looks on Unix: the PEM files of these directories, each
    // file once however it is linked, then two bundles (Qt's own order is
    // that of a hash set, so any order will do).
    static const char *const directories[]
        = { "/etc/ssl/certs/", "/usr/lib/ssl/certs/", "/usr/share/ssl/", "/usr/local/ssl/", "/var/ssl/certs/",
              "/usr/local/ssl/certs/", "/etc/openssl/certs/", "/opt/openssl/certs/", "/etc/ssl/" };
    QStringList files;
    // a file is known by its device and inode, which one stat() gives,
    // where resolving the links of its path takes one call per component
    QSet<QPair<quint64, quint64>> seen;
    for (const char *directory : directories) {
        QDir dir(QString::fromLatin1(directory));
        dir.setNameFilters({ QStringLiteral("*.pem"), QStringLiteral("*.crt") });
        const QStringList here = dir.entryList(QDir::Files | QDir::Readable, QDir::Name);
        for (const QString &name : qAsConst(here)) {
            const QString path = dir.filePath(name);
            struct stat status;
            if (::stat(QFile::encodeName(path).constData(), &status) != 0)
                continue;
            const QPair<quint64, quint64> identity(quint64(status.st_dev), quint64(status.st_ino));
            if (!seen.contains(identity)) {
                seen.insert(identity);
                files.append(path);
            }
        }
    }
    files << QStringLiteral("/etc/pki/tls/certs/ca-bundle.crt")
          << QStringLiteral("/usr/local/share/certs/ca-root-nss.crt");
    return files;
#else
    return QStringList();
#endif
}

QList<QSslCertificate> CertificateAuthorities::systemIssuedBy(const QStringList &issuers)
{
    const QStringList files = systemFiles();
    if (!files.isEmpty())
        return issuedBy(issuers, files);
    QList<QSslCertificate> kept;
    const QList<QSslCertificate> system = QSslConfiguration::systemCaCertificates();
    for (const QSslCertificate &certificate : system) {
        if (issuers.contains(certificate.issuerDisplayName()))
            kept.append(certificate);
    }
    return kept;
}
