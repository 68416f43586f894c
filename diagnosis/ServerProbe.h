#pragma once

#include "CheckLines.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QObject>
#include <QPointer>
#include <QSslError>
#include <QTimer>
#include <QUrl>

class QNetworkReply;

// The release server's check: one request for the catalogue, through the system's proxy for
// its address (as the downloads go), within a time limit. Says what came of it, with the
// size of the update on offer when the catalogue was read.
class ServerProbe : public QObject
{
    Q_OBJECT

public:
    explicit ServerProbe(QObject* parent = nullptr);
    ~ServerProbe() override;

    void start(const QUrl& server, int limitMs);
    void cancel();

    // The proxy the downloads take for the address (none: NoProxy): ProxyChoice's rules.
    static QNetworkProxy proxyFor(const QUrl& url);
    // "host:port"; empty for no proxy.
    static QString describe(const QNetworkProxy& proxy);

Q_SIGNALS:
    // updateBytes: the size of the update on offer; -1 when unknown.
    void finished(const CheckLines::Server& facts, qint64 updateBytes);

private:
    void onFinished();
    void onTimeout();

    QNetworkAccessManager network;
    QPointer<QNetworkReply> reply;
    QTimer deadline;
    QList<QSslError> tlsErrors;
    CheckLines::Server facts;
    bool timedOut = false;
};
