#pragma once

#include <QString>
#include <QUrl>

// Where the catalogue and the release files lie on the maker's download server.
class ReleaseLocation
{
public:
    // The maker's download server.
    static QUrl defaultServer();
    // <server>/releases/releases.json (the server's own path, query and fragment dropped).
    static QUrl catalogueUrl(const QUrl& server);
    // <server>/releases/<file name, encoded as one path segment>.
    static QString releaseUrl(const QUrl& server, const QString& fileName);
};
