#pragma once

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QStringList>

// The system's certificate authorities, narrowed to a few issuers without
// decoding every one of them: Qt's list decodes all of them in full (the
// system's directory and its bundle, some 300 certificates, a third of the
// editor's start-up), while only a handful are kept. A certificate is
// decoded only when its bytes hold one of the issuer names, which every
// certificate with that issuer does; the names are then compared exactly.
class CertificateAuthorities
{
public:
    // The certificates of the system's list whose issuer display name is one
    // of `issuers` (exact, case-sensitive), in the order of that list.
    static QList<QSslCertificate> systemIssuedBy(const QStringList &issuers);

    // The same for the PEM files `files`, read in this order.
    static QList<QSslCertificate> issuedBy(const QStringList &issuers, const QStringList &files);

    // The files Qt reads for the system's list on this platform; empty where
    // the platform's own store is used instead.
    static QStringList systemFiles();

    // Whether the DER bytes `der` may hold `name` in one of the string types
    // of a distinguished name (8-bit, UTF-16 or UTF-32, big-endian).
    static bool mayHold(const QByteArray &der, const QString &name);
};
