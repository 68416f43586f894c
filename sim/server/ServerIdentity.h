#pragma once

#include <QList>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>

// A certificate authority and a server certificate for 127.0.0.1 and localhost, made with
// the openssl command the first time they are asked for and kept for the rest of the
// process in a temporary folder. Where the openssl command cannot run (a Windows test under
// Wine), TAVLO_TEST_CERTIFICATES names a folder where they were made beforehand (ca.pem,
// server.pem, server.key; tavlo_demo_server --write-certificates makes such a folder).
class ServerIdentity
{
public:
    static const ServerIdentity& instance();

    bool isValid() const { return valid; }
    QString errorText() const { return error; }
    QString caCertificatePath() const { return caPath; }
    QList<QSslCertificate> caCertificates() const { return caCerts; }
    QSslCertificate serverCertificate() const { return serverCert; }
    QSslKey serverKey() const { return key; }
    // A self-signed certificate for the same addresses, signed by no authority anyone
    // trusts; null when it could not be had.
    QSslCertificate strangerCertificate() const { return strangerCert; }
    QSslKey strangerKey() const { return strangerKeyValue; }
    // A certificate for the same addresses, signed by the authority, that is valid from
    // 1 January 2040 on: what a computer whose clock is behind sees; null when it could not
    // be had.
    QSslCertificate notYetValidCertificate() const { return futureCert; }
    QSslKey notYetValidKey() const { return futureKey; }

private:
    ServerIdentity();
    bool make(const QString& dir);
    bool load(const QString& dir);

    bool valid = false;
    QString error;
    QString caPath;
    QList<QSslCertificate> caCerts;
    QSslCertificate serverCert;
    QSslKey key;
    QSslCertificate strangerCert;
    QSslKey strangerKeyValue;
    QSslCertificate futureCert;
    QSslKey futureKey;
};
