#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <memory>

#include "DownloadTimings.h"
#include "ReleaseServer.h"
#include "SignalLog.h"

// Process-wide settings that the download tests share.
class TestEnvironment
{
public:
    // Points QStandardPaths' temporary location (TMPDIR) at dir.
    // Also points the per-user cache location (XDG_CACHE_HOME), which holds the download
    // folder, into dir.
    static void setTempDir(const QString& dir);
    // The download folder the Downloader uses under the current settings (it need not exist).
    static QString downloadFolder();
    // The files of the download folder, without the side records of finished downloads.
    static QStringList downloadedFiles();
    // Writes an executable shell script named "curl" into dir.
    static void writeStandInCurl(const QString& dir, const QByteArray& script);
    // Puts dir in front of the original search path, or makes it the only entry.
    static void setSearchPath(const QString& dir, bool keepSystemPath);
    static QByteArray originalSearchPath();
    // Lists the names in dir (files only, hidden ones included).
    static QStringList filesIn(const QString& dir);
    static QByteArray readFile(const QString& path);
    static bool writeFile(const QString& path, const QByteArray& data);
    static QByteArray pattern(qint64 size, char seed = 'a');

    // A catalogue with one release of the given file name (escaped for JSON) and version,
    // whose total_file_size is "1000".
    // extraFields: more members of the entry, each starting with a comma, e.g.
    // ",\"sha256\":\"...\"".
    static QByteArray catalogueFor(const QString& name, const QString& version = QStringLiteral("1.6.0"),
                                   const QByteArray& extraFields = QByteArray());
    // count entries with the versions major.0.0, major.0.1, ... (numberedVersion), files named
    // "f-<version>.tvq" of total_file_size "1000"; padding makes each about entryBytes long.
    static QByteArray numberedCatalogue(int count, int entryBytes, int major = 1);
    static QString numberedVersion(int major, int index);
    // The program's timings, but for the waits before another try after a dropped
    // connection (20, 40 and 80 ms).
    static DownloadTimings quickRetries()
    {
        DownloadTimings timings = DownloadTimings::production();
        timings.retryFirstDelayMs = 20;
        return timings;
    }
    // A Downloader that has fetched this catalogue from the server and announced the latest
    // release; the server's request log is cleared afterwards. Null when no announcement
    // came within ten seconds.
    // Works for the Downloader of either edition.
    template <class D>
    static std::unique_ptr<D> downloaderAfterCatalogue(ReleaseServer& server,
                                                       const QByteArray& catalogue)
    {
        server.setCatalogue(catalogue);
        auto downloader = std::make_unique<D>(server.baseUrl(), quickRetries());
        SignalLog log(downloader.get());
        downloader->fetchReleasesJson();
        if (!log.waitFor(QStringLiteral("latest:"), 10000) || !log.waitUntilIdle(10000))
            return nullptr;
        server.clearRequests();
        return downloader;
    }
};
