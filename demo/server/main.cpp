// tavlo_demo_server: the demo's release server on its own, for a demo that cannot start one
// (under Wine a program cannot make the server's certificates with openssl). It serves the
// built-in example, or the folder given with --releases, writes the certificate authority
// that signed its certificate to <out>/server-ca.pem, prints
//     url https://127.0.0.1:<port>
//     ca <out>/server-ca.pem
// and serves until it is ended. The demo is then started with --server and --server-ca.
// With --write-certificates FOLDER it writes the certificate authority, the server's
// certificate and its key there and ends: the HTTPS tests under Wine read them through
// TAVLO_TEST_CERTIFICATES.
#include "DemoServer.h"
#include "ReleaseServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Serves the demo's releases over HTTPS on 127.0.0.1 for a demo started elsewhere."));
    parser.addHelpOption();
    QCommandLineOption releases(QStringLiteral("releases"),
                                QStringLiteral("Serve releases.json and the update files from this folder "
                                               "(default: the built-in example, written into --out)."),
                                QStringLiteral("folder"));
    QCommandLineOption out(QStringLiteral("out"),
                           QStringLiteral("Folder for the example releases and the certificate authority."),
                           QStringLiteral("folder"), QStringLiteral("demo-output"));
    QCommandLineOption writeCertificates(
        QStringLiteral("write-certificates"),
        QStringLiteral("Write ca.pem, server.pem and server.key into this folder and end."),
        QStringLiteral("folder"));
    parser.addOptions({releases, out, writeCertificates});
    parser.process(app);

    if (parser.isSet(writeCertificates)) {
        const QDir from = QFileInfo(ReleaseServer::caCertificatePath()).dir();
        const QDir to(parser.value(writeCertificates));
        QDir().mkpath(to.path());
        for (const QString name : {QStringLiteral("ca.pem"), QStringLiteral("server.pem"),
                                   QStringLiteral("server.key")}) {
            QFile::remove(to.filePath(name));
            if (ReleaseServer::caCertificatePath().isEmpty()
                || !QFile::copy(from.filePath(name), to.filePath(name))) {
                std::fprintf(stderr, "tavlo_demo_server: cannot write %s\n", qPrintable(to.filePath(name)));
                return 1;
            }
        }
        return 0;
    }

    const QDir outDir(QDir::current().absoluteFilePath(parser.value(out)));
    QString error;
    ReleaseServer server;
    const QString folder = DemoServer::prepareFolder(parser.value(releases), outDir, &error);
    if (folder.isEmpty() || !DemoServer::start(server, folder, parser.value(releases).isEmpty(), &error)) {
        std::fprintf(stderr, "tavlo_demo_server: %s\n", qPrintable(error));
        return 1;
    }
    const QString ca = outDir.filePath(QStringLiteral("server-ca.pem"));
    QFile::remove(ca);
    if (!QFile::copy(ReleaseServer::caCertificatePath(), ca)) {
        std::fprintf(stderr, "tavlo_demo_server: cannot write %s\n", qPrintable(ca));
        return 1;
    }
    std::printf("url %s\nca %s\n", qPrintable(server.baseUrl().toString()), qPrintable(ca));
    std::fflush(stdout);
    return app.exec();
}
