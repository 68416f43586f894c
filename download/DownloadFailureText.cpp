#include "DownloadFailureText.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include "ProxyFailureText.h"

namespace DownloadFailureText {

QString forReply(QNetworkReply::NetworkError error, int httpStatus)
{
    if (httpStatus >= 400) {
        if (httpStatus == 404)
            return QCoreApplication::translate("DownloadFailureText", "The release server does not have the file (it answered 404, "
                                  "not found).");
        if (httpStatus >= 500)
            return QCoreApplication::translate("DownloadFailureText", "The release server has a problem (it answered %1). Try again "
                                  "later.")
                .arg(httpStatus);
        return QCoreApplication::translate("DownloadFailureText", "The release server refused the request (it answered %1).")
            .arg(httpStatus);
    }
    switch (error) {
    case QNetworkReply::SslHandshakeFailedError:
        return QCoreApplication::translate("DownloadFailureText", "The release server's certificate is not trusted, so nothing "
                              "was downloaded from it.");
    case QNetworkReply::InsecureRedirectError:
        return insecureRedirect();
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
        return QCoreApplication::translate("DownloadFailureText", "The release server could not be reached. Check the internet "
                              "connection.");
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return QCoreApplication::translate("DownloadFailureText", "The connection to the release server broke off before the "
                              "download was complete.");
    default:
        return QCoreApplication::translate("DownloadFailureText", "The download from the release server failed.");
    }
}

QString forReply(QNetworkReply::NetworkError error, int httpStatus, const QString& proxy,
                 const QString& errorText)
{
    const QString atProxy = ProxyFailureText::forReply(error, proxy, errorText);
    return atProxy.isEmpty() ? forReply(error, httpStatus) : atProxy;
}

QString stalled(int seconds)
{
    return QCoreApplication::translate("DownloadFailureText", "The download stopped: nothing arrived for %1 seconds.").arg(seconds);
}

QString catalogueLate(int stalledSeconds, int totalSeconds)
{
    return stalledSeconds > 0
        ? QCoreApplication::translate("DownloadFailureText", "The list of updates could not be read: nothing arrived from "
                                      "the release server for %1 seconds.").arg(stalledSeconds)
        : QCoreApplication::translate("DownloadFailureText", "The list of updates could not be read: the release server "
                                      "had not sent all of it after %1 seconds.").arg(totalSeconds);
}

QString folderNotWritable()
{
    return QCoreApplication::translate("DownloadFailureText", "The update file could not be written: the download folder is "
                          "read-only or missing.");
}

QString folderFull()
{
    return QCoreApplication::translate("DownloadFailureText", "The update file could not be written: the download folder's disk "
                          "is full.");
}

QString insecureRedirect()
{
    return QCoreApplication::translate("DownloadFailureText", "The release server sent the download to an insecure (http) "
                          "address, so it was not followed.");
}

QString untrustedWithoutSecondRoute()
{
    return QCoreApplication::translate("DownloadFailureText", "The release server's certificate is not "
                          "trusted, so nothing was downloaded from it, and no other way to download "
                          "was tried.");
}

QString catalogueTooLarge(qint64 limitMiB)
{
    return QCoreApplication::translate("DownloadFailureText", "The release server's list of updates is too large (over %1 "
                          "MiB), so it was not read.")
        .arg(limitMiB);
}

QString checksumUnreadable()
{
    return QCoreApplication::translate("DownloadFailureText", "The catalogue's checksum for this file cannot be "
                                       "read, so it was not downloaded.");
}

QString fileTooLarge(qint64 limitGiB)
{
    return QCoreApplication::translate("DownloadFailureText", "The update file is larger than an update file can be "
                                       "(over %1 GiB), so it was not downloaded.").arg(limitGiB);
}

QString unusableFileName()
{
    return QCoreApplication::translate("DownloadFailureText", "The update file offered by the server has an unusable name, "
                          "so it was not downloaded.");
}

QString forCurlExit(int exitCode, const QString& errorOutput)
{
    switch (exitCode) {
    case 1:
        return insecureRedirect();
    case 5:
    case 6:
    case 7:
        return forReply(QNetworkReply::HostNotFoundError, 0);
    case 22: {
        // "The requested URL returned error: 404" (the wording varies between versions).
        static const QRegularExpression status(QStringLiteral("error:? *(\\d{3})"));
        const QRegularExpressionMatch match = status.match(errorOutput);
        const int code = match.hasMatch() ? match.captured(1).toInt() : 400;
        return forReply(QNetworkReply::ContentNotFoundError, code);
    }
    case 23:
        return QCoreApplication::translate("DownloadFailureText", "The update file could not be written: the download folder is "
                              "full or read-only.");
    case 18:
    case 52:
    case 55:
    case 56:
        return forReply(QNetworkReply::RemoteHostClosedError, 0);
    case 28:
        return QCoreApplication::translate("DownloadFailureText", "The download stopped: the release server was too slow or "
                              "stopped sending.");
    case 35:
    case 51:
    case 58:
    case 60:
        return forReply(QNetworkReply::SslHandshakeFailedError, 0);
    case -1:
        return QCoreApplication::translate("DownloadFailureText", "The second download route (the program curl) stopped "
                              "unexpectedly.");
    default:
        return QCoreApplication::translate("DownloadFailureText", "The second download route (the program curl) failed too "
                              "(code %1).")
            .arg(exitCode);
    }
}

QString forCurlExit(int exitCode, const QString& errorOutput, const QString& proxy,
                    int connectAnswer)
{
    const QString atProxy = ProxyFailureText::forCurlExit(exitCode, errorOutput, proxy, connectAnswer);
    return atProxy.isEmpty() ? forCurlExit(exitCode, errorOutput) : atProxy;
}

QString continuesLater(const QString& reason)
{
    return reason + QLatin1Char(' ')
           + QCoreApplication::translate("DownloadFailureText", "What arrived is kept: when you try "
                                         "again, the download continues where it stopped.");
}

} // namespace DownloadFailureText
