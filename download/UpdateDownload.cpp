#include "UpdateDownload.h"
#include "DownloadLog.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QNetworkRequest>
#include <QStorageInfo>
#include <QStringBuilder>
#include <QTimer>

#include <utility>

#include "CatalogueReader.h"
#include "DownloadFailureText.h"
#include "UpdateFileCheck.h"
#include "DownloadFolder.h"
#include "ProxyChoice.h"
#include "ReleaseCatalogue.h"
#include "ReleaseLocation.h"
#include "UpdateFileName.h"
#include "SystemProxyFactory.h"

UpdateDownload::UpdateDownload(const QUrl& serverBase, QObject* parent)
    : QObject(parent),
      serverBase(serverBase),
      folder(DownloadFolder::prepare()),
      network(this),
      probe(this),
      updateReceiver(this)
{
    // Every request of the downloads (the catalogue with its release notes, the probe, the
    // file) takes the proxy the system's settings give (SystemProxyFactory: the environment
    // on Linux, the system's settings on Windows and macOS); the curl fallback is handed the
    // same (proxyFor()).
    network.setProxyFactory(new SystemProxyFactory);
    retryTimer.setSingleShot(true);
    connect(&retryTimer, &QTimer::timeout, this, &UpdateDownload::retry);
    connect(&probe, &UpdateProbe::probed, this, &UpdateDownload::onProbed);
    connect(&updateReceiver, &UpdateReceiver::progress, this, [this](qint64 percent) {
        // A retry that had to start from byte 0 (no validator) is not shown going back: the
        // bar waits until it passes what was shown.
        if (retriesDone > 0 && percent <= highestProgress)
            return;
        highestProgress = qMax(highestProgress, percent);
        emit downloadingProgressBar(percent);
    });
    connect(&updateReceiver, &UpdateReceiver::networkError, this,
            &UpdateDownload::networkError);
    connect(&updateReceiver, &UpdateReceiver::saved, this,
            [this](const QString& savedPath, const QString&) {
                path = savedPath;
                emit downloadFinished(true, path, name);
                emit setDeviceToTransferMode(true);
            });
    connect(&updateReceiver, &UpdateReceiver::failed, this, &UpdateDownload::onFailed);
}

UpdateDownload::~UpdateDownload()
{
    // The access manager is destroyed before the QObject part: replies that end while it
    // is torn down must not reach a half-destroyed object.
    const QList<QNetworkReply*> replies = network.findChildren<QNetworkReply*>();
    for (QNetworkReply* reply : replies)
        reply->disconnect(this);
    if (readerThread) {
        readerThread->quit();
        readerThread->wait();
    }
}

ProxyChoice UpdateDownload::proxyFor(const QUrl& address)
{
    return ProxyChoice::forUrl(address, *network.proxyFactory());
}

void UpdateDownload::fetchCatalogue()
{
    catalogueInFlight = true;
    QNetworkRequest request(ReleaseLocation::catalogueUrl(serverBase));
    // Nothing for the stall time ends it, as it ends the file's download; so does the whole
    // taking longer than the catalogue's time (a server that trickles a byte now and then).
    request.setTransferTimeout(catalogueStallMs);
    QNetworkReply* reply = network.get(request);
    DownloadLog::request(reply);
    QTimer::singleShot(catalogueTimeoutMs, reply, [reply]() {
        reply->setProperty("tooLate", true);
        reply->abort();
    });
    // The reply holds no more than a byte past the limit: then it stops reading from the
    // network until it is refused. The headers and each piece of the body are looked at as
    // they arrive.
    reply->setReadBufferSize(kMaxCatalogueBytes + 1);
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply]() { refuseWhenTooLarge(reply); });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply]() { refuseWhenTooLarge(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply]() { handleCatalogueReply(reply); });
}

void UpdateDownload::refuseWhenTooLarge(QNetworkReply* reply)
{
    const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    const qint64 received = reply->bytesAvailable();
    if (announced <= kMaxCatalogueBytes && received <= kMaxCatalogueBytes)
        return;
    // None of this reply's signals reach this object again: its end is not a failed request.
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
    catalogueInFlight = false;
    qCWarning(lcDownload) << "DW: The release catalogue is over" << kMaxCatalogueBytes
                          << "bytes (announced" << announced << "bytes, received" << received
                          << "bytes); it was not read";
    reason = DownloadFailureText::catalogueTooLarge(kMaxCatalogueBytes / (1024 * 1024));
    emit catalogueUnavailable(reason);
    endWaitingDownload();
}

void UpdateDownload::handleCatalogueReply(QNetworkReply* reply)
{
    catalogueInFlight = false;
    reply->deleteLater();
    if (reply->error() == QNetworkReply::OperationCanceledError) {
        // Only the two time-outs end a catalogue request that way.
        const bool tooLate = reply->property("tooLate").toBool();
        reason = DownloadFailureText::catalogueLate(tooLate ? 0 : catalogueStallMs / 1000,
                                                    tooLate ? catalogueTimeoutMs / 1000 : 0);
        qCWarning(lcDownload) << "DW: The release catalogue did not arrive in time:" << reason;
        emit catalogueUnavailable(reason);
        endWaitingDownload();
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        reason = QCoreApplication::translate("DownloadFailureText", "The list of updates could not be read. ")
                 + DownloadFailureText::forReply(
                     reply->error(),
                     reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                     ProxyChoice::of(*reply).hostAndPort(), reply->errorString());
        emit catalogueUnavailable(reason);
        endWaitingDownload();
        return;
    }

    DownloadLog::catalogue(reply);
    const QByteArray bytes = reply->readAll();
    if (bytes.size() > kReadAsideBytes) {
        readAside(bytes);
        return;
    }
    const ReleaseCatalogue catalogue = ReleaseCatalogue::parse(bytes);
    takeCatalogue(catalogue, catalogue.isUsable() ? ReleaseChoices::from(catalogue.entries())
                                                  : ReleaseChoices());
}

void UpdateDownload::readAside(const QByteArray& bytes)
{
    if (!readerThread) {
        readerThread = new QThread(this);
        auto* reader = new CatalogueReader;
        reader->moveToThread(readerThread);
        connect(readerThread, &QThread::finished, reader, &QObject::deleteLater);
        connect(this, &UpdateDownload::readRequested, reader, &CatalogueReader::read);
        connect(reader, &CatalogueReader::done, this, [this](const ReleaseCatalogue& catalogue,
                                                             const ReleaseChoices& choices) {
            readingAside = false;
            takeCatalogue(catalogue, choices);
        });
        readerThread->start();
    }
    readingAside = true;
    emit readRequested(bytes);
}

void UpdateDownload::takeCatalogue(const ReleaseCatalogue& catalogue, const ReleaseChoices& choices)
{
    if (!catalogue.isUsable()) {
        qCInfo(lcDownload) << "DW: The release catalogue is unusable:" << catalogue.problem();
        reason = QCoreApplication::translate("DownloadFailureText", "The release server's list of updates is unusable (%1).")
                     .arg(catalogue.problem());
        emit catalogueUnavailable(reason);
        endWaitingDownload();
        return;
    }
    entriesRead = catalogue.entries();
    choicesRead = choices;
    releasesPrefix = ReleaseLocation::releaseUrl(serverBase, QString());
    // A hand-on of an earlier catalogue still under way ends here: from now on only this
    // catalogue's entries are handed on, from its first.
    nextEntry = 0;
    handOnEntries(++handOnNumber);
}

void UpdateDownload::handOnEntries(quint64 handOn)
{
    if (handOn != handOnNumber || nextEntry < 0)
        return;
    const bool atOnce = entriesRead.size() <= kEntriesAtOnce;
    QElapsedTimer slice;
    slice.start();
    int handedOn = 0;
    while (nextEntry < entriesRead.size()) {
        if (!atOnce && handedOn > 0 && (handedOn >= kSliceEntries || slice.hasExpired(kSliceMs))) {
            // The rest in the next turn, after the events that waited meanwhile.
            QMetaObject::invokeMethod(this, [this, handOn] { handOnEntries(handOn); },
                                      Qt::QueuedConnection);
            return;
        }
        // Through the const at(): the list shares its entries with the catalogue's, and a
        // non-const access would copy all of them first.
        takeEntry(std::as_const(entriesRead).at(nextEntry++));
        ++handedOn;
        emit releasesJsonFetched();
        emit latestVersionFetched(version);
        // A slot took a newer catalogue meanwhile: that hand-on runs on its own.
        if (handOn != handOnNumber)
            return;
    }
    finishHandOn();
}

void UpdateDownload::takeEntry(const ReleaseEntry& entry)
{
    name = entry.fileName;
    version = entry.version;
    entryVersion = entry.version;
    totalSize = entry.totalFileSize;
    expectedSize = entry.expectedSize();
    checksum = entry.sha256;
    checksumUnreadable = entry.checksumUnreadable;
    url = releasesPrefix % UpdateFileName::encodeForUrl(name);
}

void UpdateDownload::finishHandOn()
{
    nextEntry = -1;
    if (chosenWhileHandingOn) {
        const ReleaseEntry chosen = *chosenWhileHandingOn;
        chosenWhileHandingOn.reset();
        choose(chosen);
    }
    emit catalogueRead();
    if (downloadWhenCatalogued) {
        downloadWhenCatalogued = false;
        download();
    }
}

void UpdateDownload::endWaitingDownload()
{
    // A catalogue still being handed on is usable: the download waiting for it follows its
    // last entry whatever became of another request meanwhile.
    if (!downloadWhenCatalogued || handingOnCatalogue())
        return;
    downloadWhenCatalogued = false;
    emit noCatalogue(reason);
}

void UpdateDownload::logUpdateAvailable(const QString& version)
{
    qInfo() << "DW: Update available!";
    qInfo() << "DW: Update version: " << version;
}

QString UpdateDownload::localPathFor(const QString& fileName) const
{
    // Without a temporary folder (it vanished before start-up) the bare name would turn
    // into a path in the root folder; there is then no place for the download.
    if (folder.isEmpty())
        return QString();
    return folder + QLatin1Char('/') + fileName;
}

void UpdateDownload::download()
{
    fromComputer = false;
    retryTimer.stop();
    retriesDone = 0;
    highestProgress = -1;
    // A download folder that could not be made at start-up is tried again at each attempt.
    if (folder.isEmpty())
        folder = DownloadFolder::prepare();
    // The entry set in the middle of a hand-on is not the one on offer: the download follows
    // the last entry.
    if (handingOnCatalogue()) {
        downloadWhenCatalogued = true;
        return;
    }
    const QUrl fileUrl(url, QUrl::TolerantMode);
    if (!fileUrl.isValid() || url.isEmpty()) {
        // The catalogue is asked for once more; the download follows when it arrives, and a
        // catalogue that cannot be had ends the attempt with its reason. One on its way or
        // being read aside is waited for: a second request would let the earlier reply set
        // the entry again after this attempt has dropped it.
        downloadWhenCatalogued = true;
        if (!readingAside && !catalogueInFlight)
            fetchCatalogue();
        return;
    }

    if (!UpdateFileName::isSafe(name)) {
        qCWarning(lcDownload) << "DW: The catalogue's file name cannot be used as a local file name";
        // The entry is of no use: the next attempt ("Try again") asks for the catalogue anew.
        url.clear();
        emit unusableFileName(name);
        return;
    }
    if (checksumUnreadable) {
        qCWarning(lcDownload) << "DW: The catalogue's checksum for the update file cannot be read";
        // As with a file that fails its check: "Try again" reads the catalogue anew.
        url.clear();
        emit checkFailed(name, DownloadFailureText::checksumUnreadable());
        return;
    }
    if (expectedSize > UpdateFileCheck::kMaxBytes) {
        qCWarning(lcDownload) << "DW: The catalogue gives the update file" << expectedSize << "bytes; not downloaded";
        url.clear();
        emit checkFailed(name, DownloadFailureText::fileTooLarge(UpdateFileCheck::kMaxBytes >> 30));
        return;
    }
    if (!roomFor(expectedSize)) {
        reason = DownloadFailureText::folderFull();
        emit checkFailed(name, reason);
        return;
    }

    probe.start(network, fileUrl, localPathFor(name), expectation());
}

bool UpdateDownload::roomFor(qint64 bytes) const
{
    if (bytes <= 0 || folder.isEmpty())
        return true;
    // A copy kept from before counts as room already taken, and so does a partial one.
    const qint64 kept = qMax(QFileInfo(localPathFor(name)).size(),
                             QFileInfo(UpdateReceiver::partialPathFor(localPathFor(name))).size());
    const QStorageInfo volume(folder);
    const qint64 free = volume.isValid() ? volume.bytesAvailable() : -1;
    if (free < 0 || free >= bytes - kept)
        return true;
    qCWarning(lcDownload) << "DW: The download folder has" << free << "bytes free, the update file needs" << bytes;
    return false;
}

void UpdateDownload::cancel()
{
    downloadWhenCatalogued = false;
    retryTimer.stop();
    probe.cancel();
    updateReceiver.cancel();
}

void UpdateDownload::choose(const ReleaseEntry& entry)
{
    if (handingOnCatalogue()) {
        chosenWhileHandingOn = entry;
        return;
    }
    name = entry.fileName;
    entryVersion = entry.version;
    totalSize = entry.totalFileSize;
    expectedSize = entry.expectedSize();
    checksum = entry.sha256;
    checksumUnreadable = entry.checksumUnreadable;
    url = ReleaseLocation::releaseUrl(serverBase, name);
}

void UpdateDownload::useLocalFile(const QString& localPath)
{
    cancel();
    path = localPath;
    fromComputer = true;
    const QString fileName = QFileInfo(localPath).fileName();
    emit downloadFinished(true, path, fileName);
    emit setDeviceToTransferMode(true);
}

UpdateFileCheck UpdateDownload::expectation() const
{
    UpdateFileCheck check;
    check.size = expectedSize;
    check.sha256 = checksum;
    return check;
}

void UpdateDownload::onProbed(UpdateProbe::Outcome outcome, const QUrl& fileUrl)
{
    if (outcome != UpdateProbe::Outcome::SizeUnknown)
        path = localPathFor(name);
    if (outcome == UpdateProbe::Outcome::LocalCopyValid) {
        emit downloadFinished(true, path, name);
        emit setDeviceToTransferMode(true);
        return;
    }
    retryUrl = fileUrl;
    updateReceiver.start(network, fileUrl, name, localPathFor(name), expectation());
}

void UpdateDownload::retry()
{
    qCInfo(lcDownload) << "DW: Asking for the update file again, try" << retriesDone << "of" << retryCount;
    updateReceiver.start(network, retryUrl, name, localPathFor(name), expectation());
}

void UpdateDownload::onFailed(UpdateReceiver::Failure failure, const QString& failedName,
                              const QString& why)
{
    reason = why;
    const bool brokeOff = failure == UpdateReceiver::Failure::Dropped
                          || failure == UpdateReceiver::Failure::Incomplete;
    if (brokeOff && retriesDone < retryCount) {
        const int wait = retryDelayMs(retryFirstDelayMs, retriesDone++);
        qCWarning(lcDownload) << "DW:" << why << "- trying again in" << wait << "ms";
        retryTimer.start(wait);
        return;
    }
    if (brokeOff && updateReceiver.partialKept())
        reason = DownloadFailureText::continuesLater(why);
    if (failure == UpdateReceiver::Failure::WriteFailed)
        emit writeFailed(failedName, why);
    else if (failure == UpdateReceiver::Failure::Mismatch) {
        // The catalogue's size or checksum may be what is wrong: "Try again" reads it anew.
        url.clear();
        emit checkFailed(failedName, why);
    }
    else
        emit transferFailed(failedName, reason);
}
