#pragma once

#include <QLoggingCategory>

class QNetworkReply;

// The logging category "tavlo.download" of the download (the catalogue, HTTP requests and
// their status). Every line of it goes into the session log (SessionLog).
Q_DECLARE_LOGGING_CATEGORY(lcDownload)

namespace DownloadLog {

// Logs the request behind the reply now ("GET <url>") and its HTTP status once it ends.
void request(QNetworkReply* reply);

// Logs the start of a catalogue reply's body (up to kCatalogueLogBytes), for support.
constexpr qint64 kCatalogueLogBytes = 16 * 1024;
void catalogue(QNetworkReply* reply);

} // namespace DownloadLog
