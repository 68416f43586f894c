#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QSslError>
#include <QString>

// What went wrong with the release server's secure connection, in words, with what to do.
// A certificate that is not yet valid, or expired, by this computer's clock is said as a
// clock to set when the clock lies outside the certificate's dates. Pure.
class TlsProblemText
{
    Q_DECLARE_TR_FUNCTIONS(TlsProblemText)

public:
    // One sentence for the errors of one connection (the first that says most); empty when
    // there are none.
    static QString sentence(const QList<QSslError>& errors, const QDateTime& now);

    // The sentence for one error kind, with the dates of the certificate it is about (null
    // when there is none) and the computer's clock.
    static QString forError(QSslError::SslError error, const QDateTime& validFrom,
                            const QDateTime& validUntil, const QDateTime& now,
                            const QString& detail = QString());

    // A date as the sentences show it ("1 January 2020").
    static QString date(const QDateTime& when);
};
