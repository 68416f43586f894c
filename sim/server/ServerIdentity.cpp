#include "ServerIdentity.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

bool runOpenssl(const QStringList& arguments, const QString& dir, QString* error)
{
    QProcess process;
    process.setWorkingDirectory(dir);
    process.start(QStringLiteral("openssl"), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        *error = QStringLiteral("openssl %1 failed: %2 %3")
                     .arg(arguments.value(0), process.errorString(),
                          QString::fromLocal8Bit(process.readAllStandardError()));
        return false;
    }
    return true;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

const ServerIdentity& ServerIdentity::instance()
{
    static const ServerIdentity identity;
    return identity;
}

ServerIdentity::ServerIdentity()
{
    const QString premade = qEnvironmentVariable("TAVLO_TEST_CERTIFICATES");
    if (!premade.isEmpty()) {
        valid = load(premade);
        return;
    }
    // Lives until the process ends; removed by QTemporaryDir's destructor at exit.
    static QTemporaryDir dir;
    if (!dir.isValid()) {
        error = QStringLiteral("cannot create a temporary folder for the certificates");
        return;
    }
    valid = make(dir.path());
}

bool ServerIdentity::make(const QString& dir)
{
    const QString ext = dir + QStringLiteral("/server.ext");
    {
        QFile file(ext);
        if (!file.open(QIODevice::WriteOnly)) {
            error = QStringLiteral("cannot write %1").arg(ext);
            return false;
        }
        file.write("subjectAltName=IP:127.0.0.1,DNS:localhost,DNS:release-server.test\n"
                   "basicConstraints=critical,CA:FALSE\n"
                   "keyUsage=critical,digitalSignature\n"
                   "extendedKeyUsage=serverAuth\n");
    }
    const QString curve = QStringLiteral("ec_paramgen_curve:prime256v1");
    // The authority's key is RSA: Wine's crypt32 (8.0) checks an ECDSA signature only when
    // both of its numbers are 32 bytes long, and calls the rest "invalid", so one server
    // certificate in about a hundred signed with a P-256 key was refused under Wine.
    if (!runOpenssl({QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                     QStringLiteral("rsa:2048"),
                     QStringLiteral("-nodes"), QStringLiteral("-keyout"), QStringLiteral("ca.key"),
                     QStringLiteral("-out"), QStringLiteral("ca.pem"), QStringLiteral("-days"),
                     QStringLiteral("3650"), QStringLiteral("-subj"),
                     QStringLiteral("/CN=Tavlo Release Test CA"), QStringLiteral("-addext"),
                     QStringLiteral("basicConstraints=critical,CA:TRUE"),
                     QStringLiteral("-addext"),
                     QStringLiteral("keyUsage=critical,keyCertSign,cRLSign")},
                    dir, &error))
        return false;
    if (!runOpenssl({QStringLiteral("req"), QStringLiteral("-new"), QStringLiteral("-newkey"),
                     QStringLiteral("ec"), QStringLiteral("-pkeyopt"), curve,
                     QStringLiteral("-nodes"), QStringLiteral("-keyout"),
                     QStringLiteral("server.key"), QStringLiteral("-out"),
                     QStringLiteral("server.csr"), QStringLiteral("-subj"),
                     QStringLiteral("/CN=127.0.0.1")},
                    dir, &error))
        return false;
    if (!runOpenssl({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
                     QStringLiteral("server.csr"), QStringLiteral("-CA"), QStringLiteral("ca.pem"),
                     QStringLiteral("-CAkey"), QStringLiteral("ca.key"),
                     QStringLiteral("-CAcreateserial"), QStringLiteral("-out"),
                     QStringLiteral("server.pem"), QStringLiteral("-days"),
                     QStringLiteral("3650"), QStringLiteral("-extfile"), ext},
                    dir, &error))
        return false;
    // A certificate for the same addresses that no authority vouches for: what a server the
    // program must not trust presents.
    if (!runOpenssl({QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                     QStringLiteral("ec"), QStringLiteral("-pkeyopt"), curve,
                     QStringLiteral("-nodes"), QStringLiteral("-keyout"),
                     QStringLiteral("stranger.key"), QStringLiteral("-out"),
                     QStringLiteral("stranger.pem"), QStringLiteral("-days"),
                     QStringLiteral("3650"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                     QStringLiteral("-addext"),
                     QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost,DNS:release-server.test")},
                    dir, &error))
        return false;
    // The authority's certificate for the server again, valid only from 2040 on ("openssl ca"
    // is the one that takes a start date here).
    {
        QFile config(dir + QStringLiteral("/ca.cnf"));
        QFile index(dir + QStringLiteral("/index.txt"));
        QFile serial(dir + QStringLiteral("/serial.txt"));
        if (!config.open(QIODevice::WriteOnly) || !index.open(QIODevice::WriteOnly)
            || !serial.open(QIODevice::WriteOnly)) {
            error = QStringLiteral("cannot write the authority's files in %1").arg(dir);
            return false;
        }
        config.write("[ca]\ndefault_ca=d\n[d]\ndatabase=index.txt\nnew_certs_dir=.\n"
                     "serial=serial.txt\ndefault_md=sha256\npolicy=p\nunique_subject=no\n"
                     "[p]\ncommonName=supplied\n");
        serial.write("1000\n");
    }
    if (!runOpenssl({QStringLiteral("ca"), QStringLiteral("-batch"), QStringLiteral("-config"),
                     QStringLiteral("ca.cnf"), QStringLiteral("-in"), QStringLiteral("server.csr"),
                     QStringLiteral("-cert"), QStringLiteral("ca.pem"), QStringLiteral("-keyfile"),
                     QStringLiteral("ca.key"), QStringLiteral("-startdate"),
                     QStringLiteral("20400101000000Z"), QStringLiteral("-enddate"),
                     QStringLiteral("20410101000000Z"), QStringLiteral("-extfile"), ext,
                     QStringLiteral("-notext"), QStringLiteral("-out"), QStringLiteral("future.pem")},
                    dir, &error))
        return false;
    return load(dir);
}

bool ServerIdentity::load(const QString& dir)
{
    caPath = dir + QStringLiteral("/ca.pem");
    caCerts = QSslCertificate::fromData(readAll(caPath), QSsl::Pem);
    const QList<QSslCertificate> server =
        QSslCertificate::fromData(readAll(dir + QStringLiteral("/server.pem")), QSsl::Pem);
    key = QSslKey(readAll(dir + QStringLiteral("/server.key")), QSsl::Ec, QSsl::Pem);
    if (caCerts.isEmpty() || server.isEmpty() || key.isNull()) {
        error = QStringLiteral("the certificates in %1 could not be read").arg(dir);
        return false;
    }
    serverCert = server.first();
    // Optional: a folder made beforehand may lack it.
    const QList<QSslCertificate> stranger =
        QSslCertificate::fromData(readAll(dir + QStringLiteral("/stranger.pem")), QSsl::Pem);
    if (!stranger.isEmpty()) {
        strangerCert = stranger.first();
        strangerKeyValue = QSslKey(readAll(dir + QStringLiteral("/stranger.key")), QSsl::Ec, QSsl::Pem);
    }
    // Optional as well; signed for the server's own key.
    const QList<QSslCertificate> future =
        QSslCertificate::fromData(readAll(dir + QStringLiteral("/future.pem")), QSsl::Pem);
    if (!future.isEmpty()) {
        futureCert = future.first();
        futureKey = key;
    }
    return true;
}
