#include "Downloader.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QMetaEnum>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {

const char* const kServerHost = "https://downloads.tavlo-instruments.com";
const char* const kCataloguePath = "/releases/releases.json";
const char* const kReleasesPath = "/releases/";

// Upper bound of the memory reserved up front from a Content-Length header; a larger body
// still downloads, the buffer then grows as the bytes arrive.
constexpr qint64 kMaxReserve = qint64(512) * 1024 * 1024;

QUrl withPath(const QUrl& base, const char* path)
{
    QUrl url = base;
    url.setPath(QString::fromLatin1(path));
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

qint64 contentLengthOf(const QNetworkReply* reply)
{
    const QVariant header = reply->header(QNetworkRequest::ContentLengthHeader);
    return header.isValid() ? header.toLongLong() : 0;
}

}  // namespace

QUrl Downloader::defaultServer()
{
    return QUrl(QString::fromLatin1(kServerHost));
}

Downloader::Downloader(const QUrl& serverBase, QObject* parent)
    : QObject(parent),
      serverBase(serverBase),
      downloadDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
{
    connect(&networkManager, &QNetworkAccessManager::finished, this,
            &Downloader::onReleasesJsonFetched);
}

Downloader::~Downloader()
{
    // The access manager is destroyed before the QObject part of the Downloader: replies
    // that end while it is torn down must not reach a half-destroyed Downloader.
    networkManager.disconnect(this);
    const QList<QNetworkReply*> replies = networkManager.findChildren<QNetworkReply*>();
    for (QNetworkReply* reply : replies)
        reply->disconnect(this);
}

void Downloader::fetchReleasesJson()
{
    networkManager.get(QNetworkRequest(withPath(serverBase, kCataloguePath)));
}

void Downloader::logUpdateAvailable(const QString& version)
{
    qInfo() << "DW: Update available!";
    qInfo() << "DW: Update version: " << version;
}

bool Downloader::isSafeFileName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar ch : name) {
        // A separator or a colon (drive prefix, alternate data stream) would place the
        // file somewhere other than the download folder.
        if (ch == QLatin1Char('/') || ch == QLatin1Char('\\') || ch == QLatin1Char(':'))
            return false;
        if (ch.category() == QChar::Other_Control)
            return false;
    }
    // Windows opens a device instead of a file for these names, whatever the extension.
    static const QRegularExpression deviceName(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    return !deviceName.match(name).hasMatch();
}

QString Downloader::encodeFileNameForUrl(const QString& name)
{
    // The name is one path segment: characters that would end the path or start an
    // escape are written as escapes; everything else stays as the catalogue gives it.
    QString encoded;
    encoded.reserve(name.size());
    for (const QChar ch : name) {
        if (ch == QLatin1Char('%'))
            encoded += QLatin1String("%25");
        else if (ch == QLatin1Char('?'))
            encoded += QLatin1String("%3F");
        else if (ch == QLatin1Char('#'))
            encoded += QLatin1String("%23");
        else
            encoded += ch;
    }
    return encoded;
}

void Downloader::tavloReceivedVersion(QString version)
{
    Q_UNUSED(version);
}

void Downloader::onReleasesJsonFetched(QNetworkReply* reply)
{
    if (reply->error() != QNetworkReply::NoError) {
        reply->deleteLater();
        return;
    }

    const QJsonArray entries = QJsonDocument::fromJson(reply->readAll()).array();
    const QString base = withPath(serverBase, kReleasesPath).toString();
    for (const QJsonValue& value : entries) {
        const QJsonObject entry = value.toObject();
        fileName = entry.value(QLatin1String("file_name")).toString();
        latestVersion = entry.value(QLatin1String("version")).toString();
        totalFileSize = entry.value(QLatin1String("total_file_size")).toString();
        const QString releaseDate = entry.value(QLatin1String("release_date")).toString();
        const QString codeName = entry.value(QLatin1String("code_name")).toString();
        const QString uuid = entry.value(QLatin1String("uuid")).toString();
        Q_UNUSED(releaseDate);
        Q_UNUSED(codeName);
        Q_UNUSED(uuid);

        downloadUrl = base + encodeFileNameForUrl(fileName);

        emit releasesJsonFetched();
        emit latestVersionFetched(latestVersion);
    }
    reply->deleteLater();
}

void Downloader::downloadFile()
{
    const QUrl url(downloadUrl, QUrl::TolerantMode);
    if (!url.isValid() || downloadUrl.isEmpty())
        return;

    if (!isSafeFileName(fileName)) {
        reportUnusableFileName(fileName);
        return;
    }

    QNetworkReply* reply = networkManager.head(QNetworkRequest(url));
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, url]() { probeUpdateFile(reply, url); });
}

void Downloader::probeUpdateFile(QNetworkReply* reply, const QUrl& url)
{
    const QVariant header = reply->header(QNetworkRequest::ContentLengthHeader);
    if (reply->error() == QNetworkReply::NoError && header.isValid()) {
        const qint64 announced = header.toLongLong();
        filePath = localPathFor(fileName);
        const QFileInfo existing(filePath);
        if (!filePath.isEmpty() && existing.isFile() && existing.size() == announced) {
            reply->deleteLater();
            emit downloadFinished(true, filePath, fileName);
            emit setDeviceToTransferMode(true);
            return;
        }
    }

    reply->deleteLater();
    downloadBuffer.clear();

    QNetworkReply* get = networkManager.get(QNetworkRequest(url));
    const QString f = fileName;
    connect(get, &QNetworkReply::finished, this, [this, get, f]() { onFileDownloaded(get, f); });
    connect(get, &QNetworkReply::readyRead, this, [this, get]() { onReadyRead(get); });
#ifndef TAVLO_UPDATE_ONLY
    connect(get, &QNetworkReply::errorOccurred, this,
            [this, get](QNetworkReply::NetworkError code) { logDownloadError(get, code); });
#endif
}

void Downloader::onReadyRead(QNetworkReply* reply)
{
    const qint64 available = reply->bytesAvailable();
    if (available <= 0)
        return;

    const qint64 total = contentLengthOf(reply);
    if (downloadBuffer.isEmpty() && total > 0)
        downloadBuffer.reserve(std::min(total, kMaxReserve));

    // Read straight into the buffer's free room: no temporary copy of the chunk.
    const qsizetype before = downloadBuffer.size();
    downloadBuffer.resize(before + available);
    const qint64 got = reply->read(downloadBuffer.data() + before, available);
    downloadBuffer.resize(before + std::max<qint64>(got, 0));
    if (got <= 0)
        return;

    qint64 progress = 0;
    if (total > 0) {
        progress = static_cast<qint64>(static_cast<double>(downloadBuffer.size())
                                       / static_cast<double>(total) * 100.0);
    }
    downloadProgress = progress;
    emit downloadingProgressBar(progress);
}

void Downloader::onFileDownloaded(QNetworkReply* reply, QString f)
{
    if (reply->error() != QNetworkReply::NoError) {
        downloadBuffer.clear();
#ifndef TAVLO_UPDATE_ONLY
        startCurlFallback(downloadUrl, f);
#endif
        reply->deleteLater();
        return;
    }

    const QVariant header = reply->header(QNetworkRequest::ContentLengthHeader);
    if (header.isValid()) {
        contentLength = header.toLongLong();
        if (contentLength != downloadBuffer.size()) {
            qWarning() << "DW: Download incomplete: received" << downloadBuffer.size()
                       << "bytes of" << contentLength;
            downloadBuffer.clear();
#ifndef TAVLO_UPDATE_ONLY
            startCurlFallback(downloadUrl, f);
#endif
            reply->deleteLater();
            return;
        }
    }

    const QString path = localPathFor(f);
    const bool saved = saveToDisk(path, downloadBuffer);
    // The file is on disk (or the fallback takes over): the memory copy is of no further use.
    downloadBuffer.clear();
#ifndef TAVLO_UPDATE_ONLY
    if (!saved)
        startCurlFallback(downloadUrl, f);
#else
    Q_UNUSED(saved); // a failed write ends the download silently
#endif
    reply->deleteLater();
}

QString Downloader::localPathFor(const QString& name) const
{
    // Without a temporary folder (it vanished before start-up) the bare name would turn
    // into a path in the root folder; there is then no place for the download.
    if (downloadDir.isEmpty())
        return QString();
    return downloadDir + QLatin1Char('/') + name;
}

bool Downloader::saveToDisk(const QString& path, const QByteArray& data)
{
    // The bytes go to a temporary file beside the final one, which only takes the final
    // name once everything is written; a failed write leaves no partial update file.
    QSaveFile file(path);
    if (path.isEmpty()) {
        qWarning() << "DW: There is no temporary folder to save the update file in";
    } else if (file.open(QIODevice::WriteOnly)) {
        const qint64 written = file.write(data);
        if (written == data.size() && file.commit()) {
            filePath = path;
            emit downloadFinished(true, filePath, fileName);
            emit setDeviceToTransferMode(true);
            return true;
        }
        qWarning() << "DW: Could not write the update file" << path << ": wrote" << written
                   << "of" << data.size() << "bytes:" << file.errorString();
        file.cancelWriting();
    } else {
        qWarning() << "DW: Could not open the update file" << path << ":" << file.errorString();
    }
#ifndef TAVLO_UPDATE_ONLY
    emit downloadFinished(false, filePath, fileName);
    emit setDeviceToTransferMode(false);
#endif
    return false;
}

#ifndef TAVLO_UPDATE_ONLY

void Downloader::startCurlFallback(const QString& url, const QString& name)
{
    emit downloadStatus(true, QStringLiteral("Hmm, the download didn\u2019t go through"));

    if (!isSafeFileName(name)) {
        reportUnusableFileName(name);
        return;
    }
    const QString path = localPathFor(name);
    if (path.isEmpty()) {
        reportFallbackFailure(path, name, QStringLiteral("there is no temporary folder to "
                                                         "download the update into"));
        return;
    }

    // Only the search path is consulted, never the working directory.
    const QString program = QStandardPaths::findExecutable(QStringLiteral("curl"));
    if (program.isEmpty()) {
        reportFallbackFailure(path, name, QStringLiteral("the program \"curl\" was not found on the "
                                                   "search path"));
        return;
    }

    const QString urlText = QUrl(url, QUrl::TolerantMode).toString(QUrl::FullyEncoded);
    const QStringList arguments{
        QStringLiteral("-L"),
        QStringLiteral("--fail"),
        QStringLiteral("--proto-redir"),
        QStringLiteral("=https"),
        QStringLiteral("--silent"),
        QStringLiteral("--show-error"),
        QStringLiteral("-o"),
        QDir::toNativeSeparators(path),
        urlText,
    };

    const FileStamp before = stampOf(path);
    auto* process = new QProcess(this);
    connect(process, &QProcess::finished, this,
            [this, process, path, before](int exitCode, QProcess::ExitStatus exitStatus) {
                onCurlFinished(process, path, before, exitCode, exitStatus);
            });
    connect(process, &QProcess::errorOccurred, this,
            [this, process, path](QProcess::ProcessError error) {
                // A process that never started sends no finished notification.
                if (error != QProcess::FailedToStart)
                    return;
                reportFallbackFailure(path, QFileInfo(path).fileName(),
                                      QStringLiteral("curl could not be started: ")
                                          + process->errorString());
                process->deleteLater();
            });
    process->start(program, arguments, QIODevice::ReadWrite);
}

Downloader::FileStamp Downloader::stampOf(const QString& path)
{
    const QFileInfo info(path);
    FileStamp stamp;
    stamp.exists = info.exists();
    if (stamp.exists) {
        stamp.size = info.size();
        stamp.modified = info.lastModified();
    }
    return stamp;
}

void Downloader::onCurlFinished(QProcess* process, const QString& path, const FileStamp& before,
                                int exitCode, QProcess::ExitStatus exitStatus)
{
    if (exitCode != 0 || exitStatus != QProcess::NormalExit) {
        // A curl that fails part-way leaves what it received under the final name; such a
        // file is no update and must not be taken for one later.
        const FileStamp after = stampOf(path);
        if (after.exists
            && (!before.exists || after.size != before.size || after.modified != before.modified)) {
            QFile::remove(path);
        }
        QString reason = QString::fromUtf8(process->readAllStandardError());
        if (reason.trimmed().isEmpty()) {
            reason = exitStatus != QProcess::NormalExit
                         ? QStringLiteral("curl stopped unexpectedly")
                         : QStringLiteral("curl exited with code %1").arg(exitCode);
        }
        reportFallbackFailure(path, QFileInfo(path).fileName(), reason);
    } else {
        emit downloadStatus(true, QStringLiteral("Download completed"));
        emit downloadFinished(true, path, QFileInfo(path).fileName());
        emit setDeviceToTransferMode(true);
    }
    process->deleteLater();
}

void Downloader::reportFallbackFailure(const QString& path, const QString& name,
                                       const QString& reason)
{
    emit downloadStatus(false, QStringLiteral("Fallback failed: ") + reason);
    emit downloadFinished(false, path, name);
    emit setDeviceToTransferMode(false);
}

void Downloader::logDownloadError(QNetworkReply* reply, QNetworkReply::NetworkError code)
{
    qWarning() << "DW: Download error occurred:"
               << QMetaEnum::fromType<QNetworkReply::NetworkError>().valueToKey(code)
               << "Error string:" << reply->errorString()
               << "HTTP Status:" << reply->attribute(QNetworkRequest::HttpStatusCodeAttribute)
               << "Headers:" << reply->rawHeaderPairs();
}

#endif

void Downloader::reportUnusableFileName(const QString& name)
{
    Q_UNUSED(name);
    qWarning() << "DW: The catalogue's file name cannot be used as a local file name";
#ifndef TAVLO_UPDATE_ONLY
    emit downloadStatus(false, QStringLiteral("The update file offered by the server has an "
                                              "unusable name, so it was not downloaded."));
    emit downloadFinished(false, QString(), QString());
    emit setDeviceToTransferMode(false);
#else
    // As every other failed download of this edition: nothing is fetched, nothing is written
    // and nothing is announced.
#endif
}
