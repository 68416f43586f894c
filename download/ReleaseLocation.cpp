#include "ReleaseLocation.h"

#include "UpdateFileName.h"

namespace {

const char* const kServerHost = "https://downloads.tavlo-instruments.com";

QUrl withPath(const QUrl& base, const char* path)
{
    QUrl url = base;
    url.setPath(QString::fromLatin1(path));
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

}  // namespace

QUrl ReleaseLocation::defaultServer()
{
    return QUrl(QString::fromLatin1(kServerHost));
}

QUrl ReleaseLocation::catalogueUrl(const QUrl& server)
{
    return withPath(server, "/releases/releases.json");
}

QString ReleaseLocation::releaseUrl(const QUrl& server, const QString& fileName)
{
    return withPath(server, "/releases/").toString() + UpdateFileName::encodeForUrl(fileName);
}
