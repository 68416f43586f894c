#include "TlsProblemText.h"

#include <QLocale>
#include <QSslCertificate>

namespace {

// The errors about the clock first: they have the plainest fix.
int weight(QSslError::SslError error)
{
    switch (error) {
    case QSslError::CertificateNotYetValid:
    case QSslError::CertificateExpired:
        return 0;
    case QSslError::HostNameMismatch:
        return 1;
    default:
        return 2;
    }
}

} // namespace

QString TlsProblemText::date(const QDateTime& when)
{
    //: A date in the computer check's sentences about the clock ("1 January 2020"): a QDate format.
    return QLocale().toString(when.toLocalTime().date(), tr("d MMMM yyyy"));
}

QString TlsProblemText::forError(QSslError::SslError error, const QDateTime& validFrom,
                                 const QDateTime& validUntil, const QDateTime& now,
                                 const QString& detail)
{
    switch (error) {
    case QSslError::NoError:
        return QString();
    case QSslError::CertificateNotYetValid:
        if (validFrom.isValid() && now < validFrom)
            return tr("This computer's clock says %1, but the server's certificate is valid from "
                      "%2. Set the date and time, then check again.")
                .arg(date(now), date(validFrom));
        break;
    case QSslError::CertificateExpired:
        if (validUntil.isValid() && now > validUntil)
            return tr("This computer's clock says %1, but the server's certificate was valid until "
                      "%2. If the date is wrong, set the date and time, then check again; if it is "
                      "right, the server's certificate has run out: try again later.")
                .arg(date(now), date(validUntil));
        break;
    case QSslError::HostNameMismatch:
        return tr("The server's certificate is made out for another name, so the answer may not "
                  "come from the release server. Something on this network may be answering in "
                  "its place: ask whoever looks after the network.");
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::CertificateUntrusted:
    case QSslError::CertificateRejected:
        return tr("The server's certificate is not vouched for by an authority this computer "
                  "trusts. A proxy or security program may be answering in the server's place, or "
                  "the computer's list of authorities is out of date: update the system, or ask "
                  "whoever looks after the network.");
    case QSslError::CertificateRevoked:
        return tr("The server's certificate has been withdrawn. Try again later.");
    default:
        break;
    }
    // A date error whose dates do not explain it, or an error with no words of its own.
    if (detail.isEmpty())
        return tr("The secure connection to the server failed. Try again later.");
    return tr("The secure connection to the server failed: %1. Try again later.").arg(detail);
}

QString TlsProblemText::sentence(const QList<QSslError>& errors, const QDateTime& now)
{
    const QSslError* first = nullptr;
    for (const QSslError& error : errors) {
        if (error.error() == QSslError::NoError)
            continue;
        if (!first || weight(error.error()) < weight(first->error()))
            first = &error;
    }
    if (!first)
        return QString();
    const QSslCertificate certificate = first->certificate();
    return forError(first->error(), certificate.isNull() ? QDateTime() : certificate.effectiveDate(),
                    certificate.isNull() ? QDateTime() : certificate.expiryDate(), now,
                    first->errorString());
}
