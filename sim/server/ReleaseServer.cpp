#include "ReleaseServer.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QFile>
#include <QFileInfo>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>

#include "ReleaseServerConnection.h"
#include "ServedRange.h"
#include "ServerIdentity.h"

namespace {

QString routeKey(const QByteArray& method, const QString& path)
{
    return QString::fromLatin1(method) + QLatin1Char(' ') + path;
}

QByteArray httpDate(const QDateTime& when)
{
    return QLocale::c().toString(when.toUTC(), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'")).toLatin1();
}

// A strong ETag made from the bytes: another content, another ETag.
QByteArray etagOf(const QByteArray& digest)
{
    return '"' + digest.toHex().left(16) + '"';
}

void addValidators(ReleaseServer::Response& response, const QByteArray& digest, const QDateTime& modified)
{
    response.extraHeaders.append({"ETag", etagOf(digest)});
    response.extraHeaders.append({"Last-Modified", httpDate(modified)});
}

}  // namespace

ReleaseServer::Response ReleaseServer::Response::ok(const QByteArray& body)
{
    Response response;
    response.body = body;
    return response;
}

ReleaseServer::Response ReleaseServer::Response::versioned(const QByteArray& body)
{
    Response response = ok(body);
    const QByteArray digest = QCryptographicHash::hash(body, QCryptographicHash::Sha1);
    // The date follows the content too, so that either validator tells two versions apart.
    const quint32 seconds = (quint32(quint8(digest.at(0))) << 16) | (quint32(quint8(digest.at(1))) << 8)
                            | quint32(quint8(digest.at(2)));
    addValidators(response, digest,
                  QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC).addSecs(seconds));
    return response;
}

ReleaseServer::Response ReleaseServer::Response::error(int code)
{
    Response response;
    response.status = code;
    response.body = QByteArray("<html><body>Error ") + QByteArray::number(code)
                    + QByteArray("</body></html>\n");
    return response;
}

ReleaseServer::Response ReleaseServer::Response::redirect(int code, const QByteArray& location)
{
    Response response;
    response.status = code;
    response.location = location;
    return response;
}

ReleaseServer::ReleaseServer(QObject* parent) : QObject(parent)
{
    connect(&server, &QTcpServer::pendingConnectionAvailable, this,
            &ReleaseServer::acceptConnections);
}

ReleaseServer::~ReleaseServer() = default;

bool ReleaseServer::start()
{
    const ServerIdentity& identity = ServerIdentity::instance();
    if (!identity.isValid()) {
        error = identity.errorText();
        return false;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(identity.serverCertificate());
    configuration.setPrivateKey(identity.serverKey());
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    server.setSslConfiguration(configuration);
    if (!server.listen(QHostAddress::LocalHost, 0)) {
        error = server.errorString();
        return false;
    }
    return true;
}

bool ReleaseServer::presentUntrustedCertificate(bool untrusted)
{
    const ServerIdentity& identity = ServerIdentity::instance();
    if (untrusted && identity.strangerCertificate().isNull())
        return false;
    QSslConfiguration configuration = server.sslConfiguration();
    configuration.setLocalCertificate(untrusted ? identity.strangerCertificate() : identity.serverCertificate());
    configuration.setPrivateKey(untrusted ? identity.strangerKey() : identity.serverKey());
    server.setSslConfiguration(configuration);
    return true;
}

QUrl ReleaseServer::namedUrl() const
{
    QUrl url = baseUrl();
    url.setHost(namedHost());
    return url;
}

bool ReleaseServer::presentNotYetValidCertificate()
{
    const ServerIdentity& identity = ServerIdentity::instance();
    if (identity.notYetValidCertificate().isNull())
        return false;
    QSslConfiguration configuration = server.sslConfiguration();
    configuration.setLocalCertificate(identity.notYetValidCertificate());
    configuration.setPrivateKey(identity.notYetValidKey());
    server.setSslConfiguration(configuration);
    return true;
}

QUrl ReleaseServer::baseUrl() const
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(server.serverPort());
    return url;
}

QString ReleaseServer::caCertificatePath()
{
    return ServerIdentity::instance().caCertificatePath();
}

QList<QSslCertificate> ReleaseServer::caCertificates()
{
    return ServerIdentity::instance().caCertificates();
}

void ReleaseServer::setResponse(const QByteArray& method, const QString& path,
                                const Response& response)
{
    standing.insert(routeKey(method, path), response);
}

void ReleaseServer::queueResponse(const QByteArray& method, const QString& path,
                                  const Response& response)
{
    oneShot[routeKey(method, path)].append(response);
}

void ReleaseServer::clearResponses()
{
    standing.clear();
    oneShot.clear();
}

void ReleaseServer::setCatalogue(const QByteArray& json)
{
    setResponse("GET", QStringLiteral("/releases/releases.json"), Response::ok(json));
}

void ReleaseServer::serveFolder(const QString& path)
{
    folder = path;
}

void ReleaseServer::cutAfterByte(const QString& path, qint64 byte, int times)
{
    cuts.insert(path, Cut{byte, times});
}

void ReleaseServer::changeAfterNextRequest(const QString& path, const QByteArray& bytes)
{
    changes.insert(path, bytes);
}

int ReleaseServer::openConnections() const
{
    return int(findChildren<ReleaseServerConnection*>(Qt::FindDirectChildrenOnly).size());
}

int ReleaseServer::countRequests(const QByteArray& method, const QString& path) const
{
    int count = 0;
    for (const Request& request : log) {
        if (request.method == method && request.path == path)
            ++count;
    }
    return count;
}

bool ReleaseServer::lookup(const QByteArray& method, const QString& path, bool takeQueued,
                           Response* response)
{
    const QString key = routeKey(method, path);
    auto queued = oneShot.find(key);
    if (takeQueued && queued != oneShot.end() && !queued->isEmpty()) {
        *response = queued->takeFirst();
        return true;
    }
    auto found = standing.constFind(key);
    if (found != standing.constEnd()) {
        *response = *found;
        return true;
    }
    return false;
}

ReleaseServer::Response ReleaseServer::respond(const Request& request)
{
    log.append(request);
    emit requestReceived(request.method, request.path);
    Response response = pick(request);
    if (request.method != "GET")
        return response;

    qint64 bodySize = response.body.size();
    if (!response.bodyFile.isEmpty())
        bodySize = QFileInfo(response.bodyFile).size();
    if (!honoursRanges)
        response.honoursRange = false;
    response = ServedRange::answer(request, response, bodySize);

    auto cut = cuts.find(request.path);
    if (cut != cuts.end()) {
        if (cut->byte > response.bodyOffset && response.status / 100 == 2)
            response.closeAfterBytes = cut->byte - response.bodyOffset;
        if (--cut->times <= 0)
            cuts.erase(cut);
    }
    auto change = changes.find(request.path);
    if (change != changes.end()) {
        setResponse("GET", request.path, Response::versioned(*change));
        changes.erase(change);
    }
    return response;
}

ReleaseServer::Response ReleaseServer::pick(const Request& request)
{
    Response response;
    if (lookup(request.method, request.path, true, &response))
        return response;
    // A HEAD without its own response mirrors the standing GET one; one-shot GET responses
    // are kept for the GET they were queued for.
    if (request.method == "HEAD" && lookup("GET", request.path, false, &response))
        return response;

    const QString prefix = QStringLiteral("/releases/");
    if (!folder.isEmpty() && (request.method == "GET" || request.method == "HEAD")
        && request.path.startsWith(prefix)) {
        const QString name = request.path.mid(prefix.size());
        const QFileInfo file(QDir(folder).filePath(name));
        if (!name.isEmpty() && !name.contains(QLatin1Char('/'))
            && !name.contains(QLatin1Char('\\')) && name != QLatin1String("..")
            && file.isFile()) {
            Response fromFolder;
            fromFolder.bodyFile = file.absoluteFilePath();
            QFile content(fromFolder.bodyFile);
            QCryptographicHash digest(QCryptographicHash::Sha1);
            if (content.open(QIODevice::ReadOnly) && digest.addData(&content))
                addValidators(fromFolder, digest.result(), file.lastModified());
            return fromFolder;
        }
    }
    return Response::error(404);
}

void ReleaseServer::acceptConnections()
{
    while (QTcpSocket* pending = server.nextPendingConnection()) {
        auto* socket = qobject_cast<QSslSocket*>(pending);
        if (!socket) {
            pending->deleteLater();
            continue;
        }
        new ReleaseServerConnection(socket, this);
    }
}

namespace {

void trust(const QList<QSslCertificate>& authorities, const QString& pemPath)
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificates(authorities);
    QSslConfiguration::setDefaultConfiguration(configuration);
    qputenv("CURL_CA_BUNDLE", QFile::encodeName(pemPath));
}

}  // namespace

void ReleaseServer::trustInThisProcess()
{
    trust(caCertificates(), caCertificatePath());
}

bool ReleaseServer::trustCertificateAuthority(const QString& pemPath)
{
    const QList<QSslCertificate> authorities = QSslCertificate::fromPath(pemPath, QSsl::Pem);
    if (authorities.isEmpty())
        return false;
    trust(authorities, QFileInfo(pemPath).absoluteFilePath());
    return true;
}
