#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QSslSocket>

#include <memory>

#include "ReleaseServer.h"

class QIODevice;

// One accepted connection of the ReleaseServer: reads one request, writes its response
// as the response describes (pieces, pauses, chunked coding, early close), then closes.
// Deletes itself when the socket is gone.
class ReleaseServerConnection : public QObject
{
    Q_OBJECT

public:
    ReleaseServerConnection(QSslSocket* socket, ReleaseServer* server);
    ~ReleaseServerConnection() override;

private:
    void onReadyRead();
    void answer(const QByteArray& head);
    void pump();
    void writeBodyPiece(const QByteArray& data);
    void finish();

    QPointer<QSslSocket> socket;
    ReleaseServer* server;
    QByteArray incoming;
    bool answered = false;
    bool isHead = false;
    ReleaseServer::Response response;
    std::unique_ptr<QIODevice> body;
    qint64 bodySize = 0;
    qint64 sent = 0;
    int pieceIndex = 0;
    bool waiting = false;
    bool done = false;
};
