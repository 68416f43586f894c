#include "FileManager.h"

#include "ChunkCopier.h"
#include "FileSync.h"

#include <FolderOpener.h>
#include <VolumeDismounter.h>
#include <VolumeList.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

const char* const FileManager::kUpdateVolumeLabel = "tavloupd";
const char* const FileManager::kTransferFileName = "tvxxfer.tvq";

FileManager::FileManager(std::shared_ptr<VolumeList> volumes,
                         std::shared_ptr<VolumeDismounter> dismounter,
                         std::shared_ptr<FolderOpener> folders, QObject* parent)
    : QObject(parent)
    , volumes(std::move(volumes))
#ifndef TAVLO_UPDATE_ONLY
    , dismounter(std::move(dismounter))
    , folders(std::move(folders))
{
}
#else
{
    Q_UNUSED(dismounter);
    Q_UNUSED(folders);
}
#endif

bool FileManager::isDeviceMounted(const QString& deviceName)
{
    return !findDeviceMountPath(deviceName).isEmpty();
}

QString FileManager::findDeviceMountPath(const QString& deviceName)
{
    if (!volumes)
        return {};
    const QList<VolumeInfo> mounted = volumes->mountedVolumes();
    for (const VolumeInfo& volume : mounted) {
        if (!volume.valid || !volume.ready || volume.readOnly)
            continue;
        // An empty root cannot be worked on and would read as "not present" to callers.
        if (volume.displayName == deviceName && !volume.rootPath.isEmpty())
            return volume.rootPath;
    }
    return {};
}

void FileManager::onDownloadFinished(bool success, QString updateFilePath, QString updateFileName)
{
    if (!success)
        return;
    this->updateFilePath = updateFilePath;
    this->updateFileName = updateFileName;
}

void FileManager::onDeviceSetToTransferMode()
{
    attemptUpdateTransfer();
}

void FileManager::attemptUpdateTransfer()
{
    const QString label = QString::fromLatin1(kUpdateVolumeLabel);
    if (!isDeviceMounted(label)) {
        if (retryCount < kMaxRetries) {
            QTimer::singleShot(kRetryIntervalMs, this, [this] { attemptUpdateTransfer(); });
            ++retryCount;
            return;
        }
        emit fileTransferComplete(false);
        return;
    }

    retryCount = 0;
    const QString transferName = QString::fromLatin1(kTransferFileName);
    bool ok = copyFileToDevice(label, updateFilePath);
    // A download that already carries the hand-over name is in place after the copy.
    const bool alreadyInPlace = QFileInfo(updateFilePath).fileName() == transferName
                                && updateFileName == transferName;
    if (ok && !alreadyInPlace) {
        ok = removeStaleTransferFile(label)
             && renameFileOnDevice(label, updateFileName, transferName);
    }
#ifdef TAVLO_UPDATE_ONLY
    // The volume stays mounted; the instrument learns from the update-finish message that the
    // file is in place. A volume gone right after the rename counts as a failed hand-over.
    if (ok)
        ok = !findDeviceMountPath(label).isEmpty();
#else
    if (ok)
        ok = ejectDevice(label);
#endif
    emit fileTransferComplete(ok);
}

bool FileManager::removeStaleTransferFile(const QString& deviceName)
{
    // A "tvxxfer.tvq" left by an earlier failed attempt would make the rename fail on every
    // later try; the fresh copy is complete at this point, so the old one can go.
    const QString root = findDeviceMountPath(deviceName);
    if (root.isEmpty())
        return false;
    const QString stale = QDir(root).filePath(QString::fromLatin1(kTransferFileName));
    const QFileInfo info(stale);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (info.isDir())
        return false;
    return QFile::remove(stale);
}

bool FileManager::copyFileToDevice(const QString& deviceName, const QString& sourcePath)
{
    const QString root = findDeviceMountPath(deviceName);
    if (root.isEmpty())
        return false;

    QFile source(sourcePath);
    if (sourcePath.isEmpty() || !source.open(QIODevice::ReadOnly))
        return false;

    const QString fileName = QFileInfo(sourcePath).fileName();
    QFile destination(QDir(root).filePath(fileName));
    // Buffered: QFile hands the 4096-byte chunks to the system in 16 KiB writes, a quarter of
    // the system calls. A write the system refuses makes the chunk that filled the buffer
    // fail; whatever is left in the buffer is checked by the flush after the loop.
    if (!destination.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;

    const qint64 total = source.size();
#ifdef TAVLO_UPDATE_ONLY
    const bool copied = ChunkCopier::copyCounting(
        source, destination, [this, total](qint64 done) { emit copyProgress(progressText(done, total)); });
#else
    const bool copied = ChunkCopier::copy(source, destination, total,
                                          [this](int percentage) { emit copyProgress(percentage); });
#endif
    if (!copied)
        return false;

    // The data must be on the volume before it is renamed and the volume is ejected.
    if (!destination.flush())
        return false;
    if (!FileSync::syncDescriptor(destination.handle()))
        return false;
    destination.close();
    return destination.error() == QFileDevice::NoError;
}

bool FileManager::renameFileOnDevice(const QString& deviceName, const QString& fromName,
                                     const QString& toName)
{
    const QString root = findDeviceMountPath(deviceName);
    if (root.isEmpty())
        return false;
    const QDir dir(root);
    return QFile::rename(dir.filePath(fromName), dir.filePath(toName));
}

#ifdef TAVLO_UPDATE_ONLY

QString FileManager::progressText(qint64 copied, qint64 total)
{
    // A chunk has been read whenever this runs, so the total is not 0 then; a file that was
    // empty when its size was taken but grew since would divide by 0.
    if (total <= 0)
        return QStringLiteral("0%");
    return QString::number(copied * 100 / total) + QLatin1Char('%');
}

#else

bool FileManager::ejectDevice(const QString& deviceName)
{
    const QString root = findDeviceMountPath(deviceName);
    if (root.isEmpty() || !dismounter)
        return false;
    return dismounter->dismount(root);
}

void FileManager::ejectDeviceAndEmit(QString deviceName)
{
    emit ejectCompleted(ejectDevice(deviceName));
}

void FileManager::openFolderOnDevice(QString deviceName, QString relativePath)
{
    const QString root = findDeviceMountPath(deviceName);
    if (root.isEmpty() || !folders)
        return;
    const QString path = QDir(root).filePath(relativePath);
    folders->openFolder(QUrl::fromLocalFile(path));
}

#endif
