#include "WindowToFront.h"

#include "WiringLog.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
const QByteArray kRequest = QByteArrayLiteral("front\n");
const QByteArray kAnswer = QByteArrayLiteral("ok\n");
} // namespace

WindowToFront::WindowToFront(const QString& folder, QObject* parent)
    : QObject(parent), name(channelName(folder))
{
}

WindowToFront::~WindowToFront() = default;

QString WindowToFront::channelName(const QString& folder)
{
#ifdef Q_OS_WIN
    // A named pipe: one per lock folder, the folder's own name never part of it.
    const QByteArray key = QCryptographicHash::hash(QDir::cleanPath(folder).toUtf8(),
                                                    QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("tavlo-window-") + QString::fromLatin1(key);
#else
    // A socket file beside the lock (the folder is the user's own).
    return QDir(folder).filePath(QStringLiteral("tavlo-window.socket"));
#endif
}

bool WindowToFront::listen()
{
    if (server)
        return server->isListening();
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // A channel left by a window that crashed: the lock is this process's now.
    QLocalServer::removeServer(name);
    if (!server->listen(name)) {
        qCWarning(lcWiring, "A second window cannot bring this one to the front: %s",
                  qPrintable(server->errorString()));
        return false;
    }
    connect(server, &QLocalServer::newConnection, this, &WindowToFront::onConnection);
    return true;
}

void WindowToFront::onConnection()
{
    while (QLocalSocket* socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // Anything but the one request is ignored; a request is at most one short line.
            if (!socket->canReadLine() && socket->bytesAvailable() < kRequest.size())
                return;
            const QByteArray line = socket->read(kRequest.size());
            if (line == kRequest) {
                qCInfo(lcWiring, "A second window asked this one to come to the front");
                emit requested();
                socket->write(kAnswer);
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}

bool WindowToFront::ask(const QString& folder, int waitMs)
{
    QLocalSocket socket;
    socket.connectToServer(channelName(folder));
    if (!socket.waitForConnected(waitMs))
        return false;
    socket.write(kRequest);
    if (!socket.waitForBytesWritten(waitMs))
        return false;
    while (socket.bytesAvailable() < kAnswer.size()) {
        if (!socket.waitForReadyRead(waitMs))
            return false;
    }
    return socket.read(kAnswer.size()) == kAnswer;
}
