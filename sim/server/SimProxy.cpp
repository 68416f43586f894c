#include "SimProxy.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QUrl>

SimProxy::SimProxy(QObject* parent) : QObject(parent)
{
    connect(&server, &QTcpServer::newConnection, this, &SimProxy::accept);
}

SimProxy::~SimProxy() = default;

bool SimProxy::start()
{
    return server.listen(QHostAddress::LocalHost, 0);
}

QString SimProxy::address(const QString& user, const QString& password) const
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(port());
    if (!user.isEmpty() || !password.isEmpty()) {
        url.setUserName(user);
        url.setPassword(password);
    }
    return url.toString(QUrl::FullyEncoded);
}

void SimProxy::requirePassword(const QString& user, const QString& password)
{
    expectedAuthorization =
        "Basic " + (user + QLatin1Char(':') + password).toUtf8().toBase64();
}

void SimProxy::clear()
{
    asked.clear();
    credentialsSeen.clear();
    tunnels = 0;
    passed = 0;
}

quint16 SimProxy::closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 free = probe.serverPort();
    probe.close();
    return free;
}

void SimProxy::accept()
{
    while (QTcpSocket* client = server.nextPendingConnection()) {
        connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QTcpSocket::readyRead, this, [this, client]() { readRequest(client); });
    }
}

void SimProxy::readRequest(QTcpSocket* client)
{
    // The request's head only; once the tunnel is open its bytes are passed on elsewhere.
    if (client->property("tunnel").toBool())
        return;
    QByteArray head = client->property("head").toByteArray() + client->readAll();
    const int end = head.indexOf("\r\n\r\n");
    if (end < 0) {
        client->setProperty("head", head);
        return;
    }
    const QList<QByteArray> lines = head.left(end).split('\n');
    const QList<QByteArray> request = lines.value(0).trimmed().split(' ');
    QByteArray authorization;
    for (const QByteArray& line : lines) {
        const int colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == "proxy-authorization")
            authorization = line.mid(colon + 1).trimmed();
    }
    client->setProperty("head", QByteArray());
    if (request.value(0) != "CONNECT" || request.size() < 2) {
        client->write("HTTP/1.1 405 Method Not Allowed\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        client->disconnectFromHost();
        return;
    }
    const QByteArray target = request.at(1);
    asked << QString::fromLatin1(target);
    if (!authorization.isEmpty())
        credentialsSeen << authorization;
    if (mode == Mode::Forbid) {
        client->write("HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        client->disconnectFromHost();
        return;
    }
    if (mode == Mode::AskForPassword
        && (expectedAuthorization.isEmpty() || authorization != expectedAuthorization)) {
        client->write("HTTP/1.1 407 Proxy Authentication Required\r\n"
                      "Proxy-Authenticate: Basic realm=\"sim proxy\"\r\n"
                      "Content-Length: 0\r\nProxy-Connection: close\r\nConnection: close\r\n\r\n");
        client->disconnectFromHost();
        return;
    }
    openTunnel(client, target);
}

void SimProxy::openTunnel(QTcpSocket* client, const QByteArray& target)
{
    const int colon = target.lastIndexOf(':');
    const quint16 targetPort = colon > 0 ? target.mid(colon + 1).toUShort() : 443;
    client->setProperty("tunnel", true);
    auto* upstream = new QTcpSocket(client);
    connect(upstream, &QTcpSocket::connected, client, [this, client]() {
        ++tunnels;
        client->write("HTTP/1.1 200 Connection established\r\n\r\n");
    });
    connect(upstream, &QTcpSocket::readyRead, client, [this, client, upstream]() {
        const QByteArray bytes = upstream->readAll();
        passed += bytes.size();
        client->write(bytes);
    });
    connect(client, &QTcpSocket::readyRead, upstream, [this, client, upstream]() {
        const QByteArray bytes = client->readAll();
        passed += bytes.size();
        upstream->write(bytes);
    });
    connect(upstream, &QTcpSocket::disconnected, client, [client]() { client->disconnectFromHost(); });
    connect(client, &QTcpSocket::disconnected, upstream, [upstream]() { upstream->disconnectFromHost(); });
    connect(upstream, &QTcpSocket::errorOccurred, client, [client, upstream](QAbstractSocket::SocketError) {
        if (upstream->state() != QAbstractSocket::ConnectedState && !upstream->property("answered").toBool()) {
            upstream->setProperty("answered", true);
            client->write("HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        }
        client->disconnectFromHost();
    });
    // Every name is this computer.
    upstream->connectToHost(QHostAddress(QHostAddress::LocalHost), targetPort);
}
