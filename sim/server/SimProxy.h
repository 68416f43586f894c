#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

// An HTTP proxy on 127.0.0.1 for tests and the demo: it answers CONNECT requests (the tunnel
// an HTTPS download asks for) and passes the bytes through both ways, counting them. Every
// host name it is asked for is taken to this computer, so that a server of this process can be
// reached under a name no resolver knows (ReleaseServer::namedUrl()): what arrives there came
// through the proxy.
//
// It can also ask for a user name and password (407, until a request brings the ones set
// with requirePassword()) or forbid every tunnel (403). closedPort() gives a port no proxy
// listens on: a proxy that refuses the connection. Requests other than CONNECT get 405.
class SimProxy : public QObject
{
    Q_OBJECT

public:
    enum class Mode { Tunnel, AskForPassword, Forbid };

    explicit SimProxy(QObject* parent = nullptr);
    ~SimProxy() override;

    bool start();
    quint16 port() const { return server.serverPort(); }
    // "http://127.0.0.1:<port>" (with user and password when given, percent-encoded).
    QString address(const QString& user = QString(), const QString& password = QString()) const;

    void setMode(Mode value) { mode = value; }
    // In AskForPassword mode, the user name and password that open the tunnel (Basic).
    void requirePassword(const QString& user, const QString& password);

    // Each CONNECT's target ("host:port"), in order, tunnelled or not.
    QStringList targets() const { return asked; }
    int tunnelsOpened() const { return tunnels; }
    // The bytes passed through the tunnels, both ways together.
    qint64 bytesThrough() const { return passed; }
    // The Proxy-Authorization headers received (for the check that curl sent them).
    QList<QByteArray> authorizations() const { return credentialsSeen; }
    void clear();

    // A port on 127.0.0.1 that nothing listens on (taken and let go at once).
    static quint16 closedPort();

private:
    void accept();
    void readRequest(QTcpSocket* client);
    void openTunnel(QTcpSocket* client, const QByteArray& target);

    QTcpServer server;
    Mode mode = Mode::Tunnel;
    QByteArray expectedAuthorization;
    QStringList asked;
    QList<QByteArray> credentialsSeen;
    int tunnels = 0;
    qint64 passed = 0;
};
