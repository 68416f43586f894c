#include "ReleaseServerConnection.h"

#include <QBuffer>
#include <QFile>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {

constexpr qint64 kBlock = 64 * 1024;
constexpr qint64 kHighWater = 256 * 1024;

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 206: return "Partial Content";
    case 416: return "Range Not Satisfiable";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 303: return "See Other";
    case 307: return "Temporary Redirect";
    case 308: return "Permanent Redirect";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

}  // namespace

ReleaseServerConnection::ReleaseServerConnection(QSslSocket* socket, ReleaseServer* server)
    : QObject(server), socket(socket), server(server)
{
    socket->setParent(this);
    connect(socket, &QSslSocket::readyRead, this, &ReleaseServerConnection::onReadyRead);
    connect(socket, &QSslSocket::bytesWritten, this, &ReleaseServerConnection::pump);
    connect(socket, &QSslSocket::encryptedBytesWritten, this, &ReleaseServerConnection::pump);
    connect(socket, &QSslSocket::disconnected, this, &QObject::deleteLater);
    connect(socket, &QSslSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
        if (this->socket && this->socket->state() == QAbstractSocket::UnconnectedState)
            deleteLater();
    });
    if (socket->bytesAvailable() > 0)
        QTimer::singleShot(0, this, &ReleaseServerConnection::onReadyRead);
}

ReleaseServerConnection::~ReleaseServerConnection() = default;

void ReleaseServerConnection::onReadyRead()
{
    if (!socket)
        return;
    incoming += socket->readAll();
    if (answered)
        return;
    const qsizetype end = incoming.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    answered = true;
    answer(incoming.left(end));
}

void ReleaseServerConnection::answer(const QByteArray& head)
{
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');

    ReleaseServer::Request request;
    request.method = requestLine.value(0);
    request.rawPath = requestLine.value(1);
    QByteArray pathOnly = request.rawPath;
    const qsizetype query = pathOnly.indexOf('?');
    if (query >= 0)
        pathOnly.truncate(query);
    request.path = QUrl::fromPercentEncoding(pathOnly);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "user-agent")
            request.userAgent = value;
        else if (name == "range")
            request.range = value;
        else if (name == "if-range")
            request.ifRange = value;
    }

    response = server->respond(request);
    isHead = request.method == "HEAD";

    if (!response.bodyFile.isEmpty()) {
        auto file = std::make_unique<QFile>(response.bodyFile);
        if (file->open(QIODevice::ReadOnly) && file->seek(response.bodyOffset)) {
            bodySize = std::max<qint64>(0, file->size() - response.bodyOffset);
            body = std::move(file);
        }
    }
    if (!body) {
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(response.body.mid(response.bodyOffset));
        buffer->open(QIODevice::ReadOnly);
        bodySize = buffer->size();
        body = std::move(buffer);
    }

    QByteArray out = "HTTP/1.1 " + QByteArray::number(response.status) + ' '
                     + reasonPhrase(response.status) + "\r\n";
    out += "Connection: close\r\n";
    out += "Content-Type: application/octet-stream\r\n";
    if (response.sendContentLength) {
        const qint64 declared = response.declaredLength >= 0 ? response.declaredLength : bodySize;
        out += "Content-Length: " + QByteArray::number(declared) + "\r\n";
    }
    if (response.chunkedEncoding)
        out += "Transfer-Encoding: chunked\r\n";
    if (!response.location.isEmpty())
        out += "Location: " + response.location + "\r\n";
    for (const auto& header : response.extraHeaders)
        out += header.first + ": " + header.second + "\r\n";
    out += "\r\n";
    socket->write(out);

    if (isHead)
        finish();
    else
        pump();
}

void ReleaseServerConnection::writeBodyPiece(const QByteArray& data)
{
    if (response.chunkedEncoding) {
        socket->write(QByteArray::number(data.size(), 16) + "\r\n");
        socket->write(data);
        socket->write("\r\n");
    } else {
        socket->write(data);
    }
    sent += data.size();
}

void ReleaseServerConnection::pump()
{
    if (!socket || !answered || done || waiting || !body)
        return;
    while (sent < bodySize) {
        // Plain bytes waiting for encryption and encrypted bytes waiting for the network
        // both count: the file is read only as fast as the client takes it.
        if (socket->bytesToWrite() + socket->encryptedBytesToWrite() > kHighWater)
            return;  // resumed by encryptedBytesWritten
        qint64 size = pieceIndex < response.pieces.size() ? response.pieces.at(pieceIndex)
                                                          : kBlock;
        size = std::min(size, bodySize - sent);
        if (response.closeAfterBytes >= 0) {
            size = std::min(size, response.closeAfterBytes - sent);
            if (size <= 0) {
                // Drop the connection in the middle of the body, after what was sent so far.
                done = true;
                socket->flush();
                socket->disconnectFromHost();
                return;
            }
        }
        writeBodyPiece(body->read(size));
        const bool fromPlan = pieceIndex < response.pieces.size();
        ++pieceIndex;
        if (fromPlan && response.pieceDelayMs > 0 && sent < bodySize) {
            waiting = true;
            socket->flush();
            QTimer::singleShot(response.pieceDelayMs, this, [this]() {
                waiting = false;
                pump();
            });
            return;
        }
    }
    finish();
}

void ReleaseServerConnection::finish()
{
    if (done || !socket)
        return;
    done = true;
    if (response.chunkedEncoding && !isHead)
        socket->write("0\r\n\r\n");
    socket->disconnectFromHost();
}
