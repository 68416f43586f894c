#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSslCertificate>
#include <QSslServer>
#include <QString>
#include <QUrl>

// A local HTTPS server that plays the maker's download server for tests and the demo.
//
// It listens on 127.0.0.1 with an ephemeral port and a certificate signed by a certificate
// authority made for this process (see caCertificates()). Each request is answered, in
// this order of precedence, by a one-shot response queued for its method and path, by a
// standing response set for them, by a file of the served folder (GET/HEAD
// /releases/<name>, with an ETag and a Last-Modified), or with 404. Every response closes
// its connection. A GET with Range gets part of a 200's body (see setHonoursRanges).
class ReleaseServer : public QObject
{
    Q_OBJECT

public:
    // How one request is answered. The defaults give a plain 200 with the body and an
    // honest Content-Length.
    struct Response
    {
        int status = 200;
        QByteArray body;
        QString bodyFile;               // when set, the body is streamed from this file
        bool sendContentLength = true;
        qint64 declaredLength = -1;     // when >= 0, the Content-Length announced instead
        bool chunkedEncoding = false;   // send the body in the chunked transfer coding
        QList<qint64> pieces;           // sizes of the first writes of the body
        int pieceDelayMs = 0;           // pause before each write after the first
        qint64 closeAfterBytes = -1;    // drop the connection after this many body bytes
        QByteArray location;            // Location header, for redirects
        QList<QPair<QByteArray, QByteArray>> extraHeaders;
        qint64 bodyOffset = 0;          // the body starts at this byte of body or bodyFile
        bool honoursRange = true;       // a GET with Range gets part of a 200's body (206)

        // A 200 whose body is a version of a file: it carries an ETag made from the bytes
        // and a Last-Modified, and Range requests get part of it.
        static Response versioned(const QByteArray& body);

        static Response ok(const QByteArray& body);
        static Response error(int code);
        static Response redirect(int code, const QByteArray& location);
    };

    struct Request
    {
        QByteArray method;
        QByteArray rawPath;  // as sent, still percent-encoded
        QString path;        // decoded, without query
        QByteArray userAgent;
        QByteArray range;    // the Range header, empty when none
        QByteArray ifRange;  // the If-Range header, empty when none
    };

    explicit ReleaseServer(QObject* parent = nullptr);
    ~ReleaseServer() override;

    // Starts listening; false (with errorText()) when the certificates or the socket fail.
    bool start();
    QString errorText() const { return error; }

    QUrl baseUrl() const;
    // The same server under a name no resolver knows ("release-server.test", which its
    // certificates name as well): reached only through a proxy that takes every name to this
    // computer (SimProxy).
    QUrl namedUrl() const;
    static QString namedHost() { return QStringLiteral("release-server.test"); }
    // From the next connection on, the server presents a certificate no authority vouches
    // for (untrusted) or its own again; false when there is no such certificate.
    bool presentUntrustedCertificate(bool untrusted);
    // From the next connection on, the server presents its certificate that is valid only
    // from 2040 on; false when there is no such certificate.
    bool presentNotYetValidCertificate();
    static QString caCertificatePath();
    static QList<QSslCertificate> caCertificates();
    // Makes this process trust the server: its certificate authority joins the default TLS
    // configuration, and curl (the download fallback) is pointed at it via CURL_CA_BUNDLE.
    static void trustInThisProcess();
    // The same for a server of another process whose certificate authority is in this PEM
    // file (as tavlo_demo_server writes it); false when the file holds no certificate.
    static bool trustCertificateAuthority(const QString& pemPath);

    // A standing "GET" response also answers HEAD (headers only) unless a HEAD response is
    // set; a queued one answers the next request of exactly that method and path.
    void setResponse(const QByteArray& method, const QString& path, const Response& response);
    void queueResponse(const QByteArray& method, const QString& path, const Response& response);
    void clearResponses();
    void setCatalogue(const QByteArray& json);
    void serveFolder(const QString& folder);

    // Range requests (on by default): a GET with "Range: bytes=N-" gets a 206 from byte N of
    // a 200's body with its Content-Range, unless its If-Range names another ETag or
    // Last-Modified than the body's (then the whole body, 200); a range beyond the end gets
    // 416. Off: every GET gets the whole body with a 200, as from a server without ranges.
    void setHonoursRanges(bool honours) { honoursRanges = honours; }
    // The next `times` GET requests of path lose their connection after body byte `byte` of
    // the file (counted from the file's start, whatever range was asked for); a request
    // whose range starts at or after it is answered whole.
    void cutAfterByte(const QString& path, qint64 byte, int times = 1);
    // Once the next GET of path is answered, path serves these bytes instead (a new version
    // of the file, with a new ETag), as a file changed on the server between two requests.
    void changeAfterNextRequest(const QString& path, const QByteArray& bytes);

    QList<Request> requests() const { return log; }
    void clearRequests() { log.clear(); }
    int countRequests(const QByteArray& method, const QString& path) const;
    // Connections still open (a response may still be being sent on them).
    int openConnections() const;

    // Used by the connections: records the request and picks its response.
    Response respond(const Request& request);

signals:
    void requestReceived(QByteArray method, QString path);

private:
    void acceptConnections();
    // The response for the request before ranges, cuts and changes.
    Response pick(const Request& request);
    bool lookup(const QByteArray& method, const QString& path, bool takeQueued,
                Response* response);

    QSslServer server;
    QString error;
    QString folder;
    QHash<QString, Response> standing;            // key: method + ' ' + path
    QHash<QString, QList<Response>> oneShot;
    QList<Request> log;
    bool honoursRanges = true;
    struct Cut
    {
        qint64 byte = -1;
        int times = 0;
    };
    QHash<QString, Cut> cuts;                     // key: path
    QHash<QString, QByteArray> changes;           // key: path
};
