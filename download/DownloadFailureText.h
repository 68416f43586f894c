#pragma once

#include <QNetworkReply>
#include <QString>

// The reason a request to the release server failed, in plain words for the window: no
// network, the server's answer, an untrusted certificate, a stall. Pure: built from what
// the reply reports.
namespace DownloadFailureText {

// httpStatus is 0 when no answer arrived.
QString forReply(QNetworkReply::NetworkError error, int httpStatus);
// The same through the proxy server proxy (its host and port; empty: none): a failure at the
// proxy is named as such (ProxyFailureText, which also reads the reply's errorText).
QString forReply(QNetworkReply::NetworkError error, int httpStatus, const QString& proxy,
                 const QString& errorText);
QString stalled(int seconds);
// The catalogue did not come: nothing arrived for stalledSeconds, or it was not all there after
// totalSeconds (the one that is not 0).
QString catalogueLate(int stalledSeconds, int totalSeconds);
QString folderNotWritable();
QString folderFull();
QString insecureRedirect();
// The secure connection to the release server failed, and so no second route was tried.
QString untrustedWithoutSecondRoute();
// The release server's list of updates is larger than limitMiB mebibytes.
QString catalogueTooLarge(qint64 limitMiB);
// The catalogue's file name cannot be used as a local file name.
QString unusableFileName();
// The catalogue gives a checksum for the file that is none, so the file could not be checked.
QString checksumUnreadable();
// The update file is, or is announced as, larger than any update file can be (limitGiB).
QString fileTooLarge(qint64 limitGiB);
// The reason of a failed curl run from its exit code (-1: it crashed) and its error output,
// never the tool's raw message alone.
QString forCurlExit(int exitCode, const QString& errorOutput);
// The same for curl run through the proxy server proxy (empty: none), whose answer to curl's
// tunnel request was connectAnswer (0: none came).
QString forCurlExit(int exitCode, const QString& errorOutput, const QString& proxy,
                    int connectAnswer);

// The reason of a download that broke off, with the note that what arrived is kept and the
// next try continues from there.
QString continuesLater(const QString& reason);

} // namespace DownloadFailureText
