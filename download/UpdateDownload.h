#pragma once

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QList>
#include <QThread>
#include <QTimer>
#include <QObject>
#include <QString>
#include <QUrl>

#include <optional>

#include "ReleaseCatalogue.h"
#include "ReleaseChoices.h"
#include "ProxyChoice.h"
#include "ReleaseEntry.h"
#include "UpdateProbe.h"
#include "UpdateReceiver.h"

// What both editions do with the release server: read the catalogue (its last entry is the
// update on offer) and download the update file it offers into the user's own download
// folder (DownloadFolder), checked against the catalogue's size and SHA-256.
//
// download() refuses a file name that cannot be used locally (unusableFileName()), probes
// the file, reuses a local copy of the announced size, or receives the file. A success ends
// with downloadFinished(true, ...) and setDeviceToTransferMode(true); a failed transfer or
// write is only reported through transferFailed()/writeFailed(): what follows is the
// edition's choice.
class UpdateDownload : public QObject
{
    Q_OBJECT

public:
    explicit UpdateDownload(const QUrl& serverBase, QObject* parent = nullptr);
    ~UpdateDownload() override;

    // Requests the release catalogue once; the reply goes to handleCatalogueReply().
    void fetchCatalogue();
    void handleCatalogueReply(QNetworkReply* reply);
    void download();
    // Ends a probe or download under way without a report (the instrument went away).
    void cancel();
    // Makes this catalogue entry the one download() fetches, instead of the catalogue's last
    // entry; latestVersion() stays the catalogue's. A file name that cannot be used is
    // refused by download() as for the catalogue's own offer.
    // No entry is chosen: the next download() reads the catalogue first (at start, and after a
    // failed check or an unusable file name).
    bool awaitsCatalogue() const { return url.isEmpty(); }
    // While a catalogue's entries are being handed on, a choice takes effect after its last
    // entry (before catalogueRead), so that the hand-on does not overwrite it.
    void choose(const ReleaseEntry& entry);
    // A catalogue's entries are being handed on (releasesJsonFetched and latestVersionFetched
    // once per entry), a slice per event-loop turn; catalogueRead has not come yet. The entry
    // set meanwhile is not the one on offer: download() waits for the last.
    bool handingOnCatalogue() const { return nextEntry >= 0; }
    // Hands a file the user already has to the instrument as if it had just been downloaded:
    // downloadFinished(true, path, its name) and setDeviceToTransferMode(true). The caller
    // checks the file first (LocalUpdateFile).
    void useLocalFile(const QString& localPath);
    // Every entry of the last usable catalogue, in catalogue order, and its version list.
    QList<ReleaseEntry> catalogueEntries() const { return entriesRead; }
    const ReleaseChoices& catalogueChoices() const { return choicesRead; }
    // Catalogues larger than this are read on a thread of their own, so that the window
    // stays responsive; smaller ones at once, as they arrive.
    static constexpr qint64 kReadAsideBytes = 256 * 1024;
    // A catalogue whose announced length (Content-Length) or body passes this is refused
    // while it arrives (catalogueUnavailable): its request is aborted, nothing of it is read.
    static constexpr qint64 kMaxCatalogueBytes = 8 * 1024 * 1024;
    // A catalogue of up to this many entries is handed on at once, as it is read. A longer one
    // is handed on in slices of at most kSliceEntries entries and about kSliceMs each, one per
    // event-loop turn, so that the window's thread gets back to its events in between.
    static constexpr int kEntriesAtOnce = 64;
    static constexpr int kSliceEntries = 256;
    static constexpr int kSliceMs = 8;
    // No progress for this long ends a download.
    void setStallTimeoutMs(int ms)
    {
        updateReceiver.setStallTimeoutMs(ms);
        catalogueStallMs = ms;
    }
    void setCatalogueTimeoutMs(int ms) { catalogueTimeoutMs = ms; }
    // After a dropped connection or a stall the file is asked for again up to count times,
    // each continuing what arrived, the first after firstDelayMs and each further one after
    // twice the wait before; only then is the failure reported.
    void setRetries(int count, int firstDelayMs)
    {
        retryCount = count;
        retryFirstDelayMs = firstDelayMs;
    }
    // The wait before retry number `retry` (0: the first).
    static int retryDelayMs(int firstDelayMs, int retry) { return firstDelayMs << qBound(0, retry, 16); }

    // Relays the signals both editions' Downloader publish as they are to the same-named
    // signals of the facade, in the order they are emitted here.
    template <class Facade>
    void relaySignalsTo(Facade* facade)
    {
        connect(this, &UpdateDownload::releasesJsonFetched, facade, &Facade::releasesJsonFetched);
        connect(this, &UpdateDownload::latestVersionFetched, facade,
                &Facade::latestVersionFetched);
        connect(this, &UpdateDownload::downloadingProgressBar, facade,
                &Facade::downloadingProgressBar);
        connect(this, &UpdateDownload::downloadFinished, facade, &Facade::downloadFinished);
        connect(this, &UpdateDownload::setDeviceToTransferMode, facade,
                &Facade::setDeviceToTransferMode);
    }

    // The update availability log: "DW: Update available!" and the version just read.
    static void logUpdateAvailable(const QString& version);

    // The proxy this object's requests to address take (the same for the curl fallback).
    ProxyChoice proxyFor(const QUrl& address);

    UpdateReceiver& receiver() { return updateReceiver; }
    const UpdateReceiver& receiver() const { return updateReceiver; }
    // Where the update file of this name lies locally; empty without a download folder.
    QString localPathFor(const QString& name) const;

    QString downloadUrl() const { return url; }
    QString fileName() const { return name; }
    QString latestVersion() const { return version; }
    // The version of the entry download() fetches (the catalogue's last or the one chosen);
    // empty after useLocalFile().
    QString fileVersion() const { return fromComputer ? QString() : entryVersion; }
    QString totalFileSize() const { return totalSize; }
    QString downloadDir() const { return folder; }
    QString filePath() const { return path; }
    QString sha256() const { return checksum; }
    qint64 expectedFileSize() const { return expectedSize; }
    // The sentence that says why the last catalogue request or download failed.
    QString failureReason() const { return reason; }

signals:
    // Once per catalogue entry, after the state has taken that entry's values.
    void releasesJsonFetched();
    void latestVersionFetched(QString version);
    void downloadingProgressBar(qlonglong progress);
    void downloadFinished(bool success, QString updateFilePath, QString updateFileName);
    void setDeviceToTransferMode(bool success);

    void unusableFileName(QString name);
    // The GET failed, stalled or its body did not have the announced length, after the
    // retries; the file is not in place (a partial that can be continued may be kept: then
    // reason says so). reason says why in plain words.
    void transferFailed(QString name, QString reason);
    // The body arrived but could not be written.
    void writeFailed(QString name, QString reason);
    // The file arrived but its size or checksum is not the catalogue's; it was deleted.
    void checkFailed(QString name, QString reason);
    // A usable catalogue was read (after releasesJsonFetched for its last entry).
    void catalogueRead();
    // To the catalogue reader's thread.
    void readRequested(const QByteArray& bytes);
    // The catalogue could not be had, was too large or holds no usable entry.
    void catalogueUnavailable(QString reason);
    // download() was asked for with no usable catalogue entry, and the catalogue asked for
    // again then could not be had either.
    void noCatalogue(QString reason);
    void networkError(QNetworkReply* reply, QNetworkReply::NetworkError code);

private:
    void onProbed(UpdateProbe::Outcome outcome, const QUrl& fileUrl);
    void onFailed(UpdateReceiver::Failure failure, const QString& failedName,
                  const QString& why);
    void retry();
    UpdateFileCheck expectation() const;
    void takeCatalogue(const ReleaseCatalogue& catalogue, const ReleaseChoices& choices);
    void handOnEntries(quint64 handOn);
    void takeEntry(const ReleaseEntry& entry);
    void finishHandOn();
    void refuseWhenTooLarge(QNetworkReply* reply);
    void readAside(const QByteArray& bytes);
    void endWaitingDownload();
    // Whether the download folder has room for a file of this many bytes (true when unknown).
    bool roomFor(qint64 bytes) const;

    QUrl serverBase;
    QString url;
    QString name;
    QString version;
    QString entryVersion;
    bool fromComputer = false;
    QString totalSize;
    QString folder;
    QString path;
    QString checksum;
    bool checksumUnreadable = false; // the entry gives a checksum that is none
    qint64 expectedSize = -1;
    QString reason;
    bool downloadWhenCatalogued = false;
    QList<ReleaseEntry> entriesRead;
    ReleaseChoices choicesRead;
    // The thread that reads large catalogues, made when the first one arrives.
    QThread* readerThread = nullptr;
    bool readingAside = false;
    // A catalogue request is on its way.
    bool catalogueInFlight = false;
    int catalogueStallMs = 30000;
    int catalogueTimeoutMs = 120000;
    int retryCount = 3;
    int retryFirstDelayMs = 1000;
    int retriesDone = 0;
    qint64 highestProgress = -1; // the most shown in this download

    QUrl retryUrl;
    QTimer retryTimer;
    // The entry of entriesRead handed on next; -1 when none is waiting. Each usable catalogue
    // starts a new hand-on: a slice still queued for an earlier one finds another number here
    // and ends without a signal.
    int nextEntry = -1;
    quint64 handOnNumber = 0;
    // releaseUrl() is this prefix and the encoded name; made once per catalogue.
    QString releasesPrefix;
    // What choose() was given while a hand-on ran; it takes effect after the last entry.
    std::optional<ReleaseEntry> chosenWhileHandingOn;

    // Children of this object, so that its open requests can be found. The access manager
    // is declared before the parts, so destroyed after them: a reply that ends while it is
    // torn down finds no part left to call.
    QNetworkAccessManager network;
    UpdateProbe probe;
    UpdateReceiver updateReceiver;
};
