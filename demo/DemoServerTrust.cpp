#include "DemoServerTrust.h"

#include "ReleaseServer.h"

#include <QSslCertificate>

#include <string>

DemoServerTrust::~DemoServerTrust()
{
    release();
}

bool DemoServerTrust::trust(const QString& pemPath, QString* error)
{
    const QList<QSslCertificate> authorities = QSslCertificate::fromPath(pemPath, QSsl::Pem);
    if (authorities.isEmpty() || !ReleaseServer::trustCertificateAuthority(pemPath)) {
        if (error)
            *error = QStringLiteral("%1 holds no certificate in PEM form.").arg(pemPath);
        return false;
    }
    if (!UserRootStore::isAvailable())
        return true;
    for (const QSslCertificate& authority : authorities) {
        const QByteArray der = authority.toDer();
        const UserRootStore::Der bytes(der.cbegin(), der.cend());
        bool addedNow = false;
        std::string why;
        if (!UserRootStore::add(bytes, &addedNow, &why)) {
            if (error)
                *error = QString::fromStdString(why);
            release();
            return false;
        }
        if (addedNow)
            added.append(bytes);
    }
    return true;
}

bool DemoServerTrust::release(QString* error)
{
    bool ok = true;
    while (!added.isEmpty()) {
        std::string why;
        if (!UserRootStore::remove(added.takeLast(), &why)) {
            ok = false;
            if (error)
                *error = QString::fromStdString(why);
        }
    }
    return ok;
}
