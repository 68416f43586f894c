#include "DemoServer.h"

#include "DemoReleases.h"
#include "ReleaseServer.h"

#include <QDir>

namespace DemoServer {

QString prepareFolder(const QString& givenFolder, const QDir& outDir, QString* error)
{
    if (!givenFolder.isEmpty())
        return givenFolder;
    const QString folder = outDir.filePath(QStringLiteral("releases"));
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return QString();
    }
    if (!DemoReleases::writeExample(QDir(folder), error))
        return QString();
    return folder;
}

bool start(ReleaseServer& server, const QString& folder, bool builtInExample, QString* error)
{
    server.serveFolder(folder);
    if (builtInExample) {
        ReleaseServer::Response slow;
        slow.bodyFile = QDir(folder).filePath(QString::fromLatin1(DemoReleases::kExampleFileName));
        slow.pieces = QList<qint64>(DemoReleases::kExampleFileSize / DemoReleases::kExamplePieceSize,
                                    DemoReleases::kExamplePieceSize);
        slow.pieceDelayMs = 80;
        server.setResponse("GET", QStringLiteral("/releases/") + QString::fromLatin1(DemoReleases::kExampleFileName),
                           slow);
    }
    if (!server.start()) {
        *error = QStringLiteral("the release server did not start: %1").arg(server.errorText());
        return false;
    }
    return true;
}

} // namespace DemoServer
