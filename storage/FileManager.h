#pragma once

#include <QObject>
#include <QString>

#include <memory>

class FolderOpener;
class VolumeDismounter;
class VolumeList;

// The instrument's storage, handled on the storage worker thread: finds the instrument's
// volume by its label, copies the downloaded update file onto it as "tvxxfer.tvq", ejects
// the volume and opens its folders in the desktop's file browser.
//
// Created without a parent and moved to its own worker thread before any connection is
// made; every slot, the retry timer and the blocking copy run there. All traffic goes
// through queued signals, and the fields are touched on the worker thread only.
//
// Built with TAVLO_UPDATE_ONLY it is the update-only edition's FileManager: no eject and no
// folder opening; the update volume stays mounted after the rename, and the copy progress
// travels as text ("40%").
class FileManager : public QObject
{
    Q_OBJECT

public:
    static const char* const kUpdateVolumeLabel;  // "tavloupd"
    static const char* const kTransferFileName;   // "tvxxfer.tvq"
    static constexpr int kRetryIntervalMs = 3000;
    static constexpr int kMaxRetries = 5;

    // The update-only edition neither ejects nor opens folders and leaves the last two seams
    // unused; both editions take the same seams so that one wiring serves both.
    FileManager(std::shared_ptr<VolumeList> volumes, std::shared_ptr<VolumeDismounter> dismounter,
                std::shared_ptr<FolderOpener> folders, QObject* parent = nullptr);

    // True when a valid, ready, writable volume carries exactly this label (case-sensitive).
    bool isDeviceMounted(const QString& deviceName);
    // Root path of the first such volume in the system's order; empty when there is none.
    QString findDeviceMountPath(const QString& deviceName);

    // One attempt of the update hand-over: look for the update volume (retrying every
    // 3000 ms, at most 5 times, while it is missing), copy, rename, eject, report. The
    // update-only edition looks the volume up once more instead of ejecting it.
    void attemptUpdateTransfer();
    // Copies sourcePath into the root of the volume under its own file name, in 4096-byte
    // chunks with one copyProgress per chunk, and makes sure the data reached the volume.
    bool copyFileToDevice(const QString& deviceName, const QString& sourcePath);
    // Renames root/fromName to root/toName; fails when toName exists already.
    bool renameFileOnDevice(const QString& deviceName, const QString& fromName, const QString& toName);
#ifndef TAVLO_UPDATE_ONLY
    // Dismounts the labelled volume; false when it is missing or the system refuses.
    bool ejectDevice(const QString& deviceName);
#else
    // The copy progress text: copied * 100 / total (64-bit, not clamped) followed by "%".
    static QString progressText(qint64 copied, qint64 total);
#endif

    // For tests and diagnostics; call on the worker thread (e.g. via a blocking queued call).
    int currentRetryCount() const { return retryCount; }
    QString storedUpdateFilePath() const { return updateFilePath; }
    QString storedUpdateFileName() const { return updateFileName; }

signals:
    void fileTransferComplete(bool success);
#ifdef TAVLO_UPDATE_ONLY
    void copyProgress(QString percentage);
#else
    void copyProgress(int percentage);
    void ejectCompleted(bool success);
#endif

public slots:
    void onDownloadFinished(bool success, QString updateFilePath, QString updateFileName);
    void onDeviceSetToTransferMode();
#ifndef TAVLO_UPDATE_ONLY
    void ejectDeviceAndEmit(QString deviceName);
    void openFolderOnDevice(QString deviceName, QString relativePath);
#endif

private:
    bool removeStaleTransferFile(const QString& deviceName);

    std::shared_ptr<VolumeList> volumes;
#ifndef TAVLO_UPDATE_ONLY
    std::shared_ptr<VolumeDismounter> dismounter;
    std::shared_ptr<FolderOpener> folders;
#endif

    QString updateFilePath;
    QString updateFileName;
    int retryCount = 0;
};
