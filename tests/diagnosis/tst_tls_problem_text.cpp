// The sentence for a failed secure connection: the clock named when it lies outside the
// certificate's dates, the other errors in words.
#include "TlsProblemText.h"

#include <QTest>

namespace {
const QDateTime kFrom(QDate(2026, 3, 1), QTime(0, 0), Qt::UTC);
const QDateTime kUntil(QDate(2027, 3, 1), QTime(0, 0), Qt::UTC);
QDateTime at(int year, int month, int day)
{
    return QDateTime(QDate(year, month, day), QTime(12, 0), Qt::UTC);
}
} // namespace

class TestTlsProblemText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void forError_data();
    void forError();
    void theClockErrorComesFirst();
    void noErrorsNoSentence();
};

void TestTlsProblemText::forError_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("contains");
    QTest::addColumn<QString>("lacks");

    const int notYet = QSslError::CertificateNotYetValid;
    const int expired = QSslError::CertificateExpired;
    QTest::newRow("clock years behind") << notYet << at(2020, 1, 1)
        << "This computer's clock says 1 January 2020, but the server's certificate is valid from "
           "1 March 2026. Set the date and time, then check again." << "";
    QTest::newRow("clock a day behind") << notYet << at(2026, 2, 28)
        << "clock says 28 February 2026" << "";
    // The certificate's start has passed by this clock: the error is not the clock's.
    QTest::newRow("not yet valid, clock inside the dates") << notYet << at(2026, 6, 1)
        << "The secure connection to the server failed" << "clock";
    QTest::newRow("clock ahead of the expiry") << expired << at(2031, 5, 2)
        << "This computer's clock says 2 May 2031, but the server's certificate was valid until "
           "1 March 2027. If the date is wrong, set the date and time" << "";
    QTest::newRow("expired, clock inside the dates") << expired << at(2026, 6, 1)
        << "The secure connection to the server failed" << "clock";
    QTest::newRow("another name") << int(QSslError::HostNameMismatch) << at(2026, 6, 1)
        << "made out for another name" << "clock";
    QTest::newRow("self-signed") << int(QSslError::SelfSignedCertificate) << at(2026, 6, 1)
        << "not vouched for by an authority this computer trusts" << "clock";
    QTest::newRow("no local issuer") << int(QSslError::UnableToGetLocalIssuerCertificate)
        << at(2026, 6, 1) << "not vouched for" << "";
    QTest::newRow("revoked") << int(QSslError::CertificateRevoked) << at(2026, 6, 1)
        << "withdrawn" << "";
    QTest::newRow("other: the library's words") << int(QSslError::InvalidPurpose) << at(2026, 6, 1)
        << "failed: the words. Try again later." << "";
}

void TestTlsProblemText::forError()
{
    QFETCH(int, error);
    QFETCH(QDateTime, now);
    QFETCH(QString, contains);
    QFETCH(QString, lacks);
    const QString sentence = TlsProblemText::forError(QSslError::SslError(error), kFrom, kUntil, now,
                                                      QStringLiteral("the words"));
    QVERIFY2(sentence.contains(contains), qPrintable(sentence));
    if (!lacks.isEmpty())
        QVERIFY2(!sentence.contains(lacks), qPrintable(sentence));
}

void TestTlsProblemText::theClockErrorComesFirst()
{
    // A handshake reports several errors; the clock is the one the user can mend.
    const QList<QSslError> errors{QSslError(QSslError::HostNameMismatch),
                                  QSslError(QSslError::CertificateNotYetValid)};
    // Without a certificate the dates are unknown: the words stay general, never the clock.
    const QString sentence = TlsProblemText::sentence(errors, at(2020, 1, 1));
    QVERIFY2(sentence.contains(QLatin1String("The secure connection to the server failed")),
             qPrintable(sentence));
}

void TestTlsProblemText::noErrorsNoSentence()
{
    QVERIFY(TlsProblemText::sentence({}, at(2026, 1, 1)).isEmpty());
    QVERIFY(TlsProblemText::sentence({QSslError(QSslError::NoError)}, at(2026, 1, 1)).isEmpty());
}

QTEST_GUILESS_MAIN(TestTlsProblemText)
#include "tst_tls_problem_text.moc"
