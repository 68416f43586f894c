#include "SimulatedStorage.h"

#include "RecordingFolderOpener.h"
#include "SimFolderCopy.h"
#include "SimWriteBarrier.h"
#include "SimVolumeDismounter.h"
#include "SimVolumeList.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#include <unistd.h>
#endif

namespace {
constexpr int kVanishPollMs = 5;

bool makeTmpfs(const QString& root, qint64 capacity, QString& error)
{
#ifdef Q_OS_LINUX
    if (::geteuid() != 0) {
        error = QStringLiteral("A simulated volume with a capacity needs root rights (tmpfs mount).");
        return false;
    }
    const QByteArray options = "size=" + QByteArray::number(qMax<qint64>(capacity, 1)) + ",mode=0777";
    if (::mount("tavlosim", QFile::encodeName(root).constData(), "tmpfs", 0, options.constData()) != 0) {
        error = QStringLiteral("Could not mount a tmpfs on %1: %2").arg(root, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    return true;
#else
    Q_UNUSED(root);
    Q_UNUSED(capacity);
    error = QStringLiteral("A simulated volume with a capacity needs Linux (tmpfs).");
    return false;
#endif
}

void detachTmpfs(const QString& root)
{
#ifdef Q_OS_LINUX
    ::umount2(QFile::encodeName(root).constData(), MNT_DETACH);
#else
    Q_UNUSED(root);
#endif
}
} // namespace

SimulatedStorage::SimulatedStorage(QObject* parent)
    : QObject(parent)
    , table(base.filePath(QStringLiteral("mounts")))
{
    QDir().mkpath(table.directory());
    QDir().mkpath(base.filePath(QStringLiteral("volumes")));
    volumes = std::make_shared<SimVolumeList>(table);
    simDismounter = std::make_shared<SimVolumeDismounter>(table);
    recorder = std::make_shared<RecordingFolderOpener>();

    // Both are emitted on the storage worker thread; the queued connections bring them here.
    connect(simDismounter.get(), &SimVolumeDismounter::dismounted, this,
            &SimulatedStorage::onProgramDismounted, Qt::QueuedConnection);
    connect(recorder.get(), &RecordingFolderOpener::folderOpened, this,
            [this](const QUrl& url) {
                opened.append(url);
                emit folderOpened(url);
            },
            Qt::QueuedConnection);

    vanishPoll.setInterval(kVanishPollMs);
    connect(&vanishPoll, &QTimer::timeout, this, &SimulatedStorage::checkVanishing);
}

SimulatedStorage::~SimulatedStorage()
{
    for (Volume& volume : all) {
        if (volume.mounted)
            table.remove(volume.entry.id);
        liftBarrier(volume);
        if (volume.tmpfs)
            detachTmpfs(volume.entry.rootPath);
    }
}

SimVolumeOptions SimulatedStorage::transferVolumeOptions()
{
    SimVolumeOptions options;
    options.folders = {QStringLiteral("projects"), QStringLiteral("instrument_definitions"),
                       QStringLiteral("MIDI_Clips"), QStringLiteral("grooves")};
    return options;
}

std::shared_ptr<VolumeDismounter> SimulatedStorage::dismounter() const
{
    return simDismounter;
}

std::shared_ptr<FolderOpener> SimulatedStorage::folderOpener() const
{
    return recorder;
}

bool SimulatedStorage::mount(const QString& label, int delayMs, const SimVolumeOptions& options)
{
    error.clear();
    if (!base.isValid())
        return failMount(label, QStringLiteral("No temporary directory for the simulated volumes."));
    if (neverMounts)
        return true;
    const int delay = qMax(0, delayMs) + qMax(0, extraDelayMs);
    if (delay == 0)
        return mountNow(label, options);

    const quint64 ticket = nextTicket++;
    pending.append({ticket, label});
    QTimer::singleShot(delay, this, [this, ticket, label, options] {
        for (qsizetype i = 0; i < pending.size(); ++i) {
            if (pending.at(i).ticket == ticket) {
                pending.removeAt(i);
                mountNow(label, options);
                return;
            }
        }
    });
    return true;
}

bool SimulatedStorage::mountNow(const QString& label, const SimVolumeOptions& options)
{
    Volume volume;
    volume.options = options;
    volume.entry.id = QStringLiteral("%1").arg(nextId++, 8, 10, QLatin1Char('0'));
    volume.entry.label = label;
    volume.entry.ready = options.ready;
    volume.entry.readOnly = options.readOnly;
    volume.entry.busy = options.busy;
    volume.entry.usbFound = options.usb.found;
    volume.entry.vendorId = options.usb.vendorId;
    volume.entry.productId = options.usb.productId;
    const bool lasting = !options.contentFolder.isEmpty();
    if (lasting && !QFileInfo(options.contentFolder).isDir())
        return failMount(label, QStringLiteral("The instrument's storage folder %1 is missing.").arg(options.contentFolder));
    // The lasting storage without a capacity is the volume itself.
    const QString root = lasting && options.capacityBytes < 0
                             ? options.contentFolder
                             : base.filePath(QStringLiteral("volumes/") + volume.entry.id);
    volume.entry.rootPath = root;
    if (!QDir().mkpath(root))
        return failMount(label, QStringLiteral("Could not create the volume directory %1.").arg(root));
    if (options.capacityBytes >= 0) {
        QString why;
        if (!makeTmpfs(root, options.capacityBytes, why))
            return failMount(label, why);
        volume.tmpfs = true;
        if (lasting && !SimFolderCopy::copyTree(options.contentFolder, root, &why)) {
            detachTmpfs(root);
            return failMount(label, QStringLiteral("The instrument's storage does not fit on its volume: %1").arg(why));
        }
    }
    const QDir dir(root);
    for (const QString& folder : options.folders)
        dir.mkpath(folder);
    for (auto it = options.files.cbegin(); it != options.files.cend(); ++it) {
        QFile file(dir.filePath(it.key()));
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size()) {
            if (volume.tmpfs)
                detachTmpfs(root);
            return failMount(label, QStringLiteral("Could not place %1 on the volume.").arg(it.key()));
        }
    }
    if (options.refusesWrites) {
        QString why;
        if (volume.tmpfs || !SimWriteBarrier::set(root, true, &why))
            return failMount(label, QStringLiteral("The volume cannot refuse writes: %1").arg(why));
        volume.barrier = true;
    }
    if (!table.write(volume.entry)) {
        liftBarrier(volume);
        if (volume.tmpfs)
            detachTmpfs(root);
        return failMount(label, QStringLiteral("Could not write the mount table entry %1.json in %2.")
                                    .arg(volume.entry.id, table.directory()));
    }
    volume.mounted = true;
    all.append(volume);
    if (options.vanishWhenFull && volume.tmpfs && !vanishPoll.isActive())
        vanishPoll.start();
    emit volumeMounted(label, root);
    return true;
}

bool SimulatedStorage::failMount(const QString& label, const QString& message)
{
    error = message;
    emit mountFailed(label, message);
    return false;
}

void SimulatedStorage::unmount(const QString& label)
{
    pending.erase(std::remove_if(pending.begin(), pending.end(),
                                 [&](const PendingMount& p) { return p.label == label; }),
                  pending.end());
    for (Volume& volume : all) {
        // A stranger with the label is not the instrument's and does not leave with it.
        if (volume.mounted && volume.entry.label == label
            && InstrumentUsbIdentity::matches(volume.options.usb)) {
            table.remove(volume.entry.id);
            volume.mounted = false;
            liftBarrier(volume);
            keepContent(volume);
            emit volumeRemoved(label, volume.entry.rootPath);
        }
    }
}

bool SimulatedStorage::isMounted(const QString& label) const
{
    for (const Volume& volume : all) {
        if (volume.mounted && volume.entry.label == label && InstrumentUsbIdentity::matches(volume.options.usb))
            return true;
    }
    return false;
}

QString SimulatedStorage::rootPath(const QString& label) const
{
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        if (it->entry.label == label && InstrumentUsbIdentity::matches(it->options.usb))
            return it->entry.rootPath;
    }
    return {};
}

QString SimulatedStorage::strangerRootPath(const QString& label) const
{
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        if (it->entry.label == label && !InstrumentUsbIdentity::matches(it->options.usb))
            return it->entry.rootPath;
    }
    return {};
}

SimVolumeOptions SimulatedStorage::strangerVolumeOptions(const QString& vendorId, const QString& productId)
{
    SimVolumeOptions options;
    options.usb = {};
    options.usb.found = !vendorId.isEmpty();
    options.usb.vendorId = vendorId;
    options.usb.productId = productId;
    return options;
}

void SimulatedStorage::setNeverMounts(bool never)
{
    neverMounts = never;
}

void SimulatedStorage::setExtraMountDelay(int delayMs)
{
    extraDelayMs = qMax(0, delayMs);
}

bool SimulatedStorage::updateEntries(const QString& label,
                                     const std::function<void(SimMountTable::Entry&)>& change)
{
    bool any = false;
    for (Volume& volume : all) {
        if (!volume.mounted || volume.entry.label != label)
            continue;
        change(volume.entry);
        if (!table.write(volume.entry))
            return false;
        any = true;
    }
    return any;
}

bool SimulatedStorage::setReady(const QString& label, bool ready)
{
    return updateEntries(label, [ready](SimMountTable::Entry& e) { e.ready = ready; });
}

bool SimulatedStorage::setReadOnly(const QString& label, bool readOnly)
{
    return updateEntries(label, [readOnly](SimMountTable::Entry& e) { e.readOnly = readOnly; });
}

bool SimulatedStorage::setBusy(const QString& label, bool busy)
{
    return updateEntries(label, [busy](SimMountTable::Entry& e) { e.busy = busy; });
}

void SimulatedStorage::onProgramDismounted(const QString& id, const QString& label,
                                           const QString& rootPath)
{
    for (Volume& volume : all) {
        if (volume.entry.id == id && volume.mounted) {
            volume.mounted = false;
            // A state change written here after the worker's unlink may have put the entry
            // back; the volume is gone, so make sure of it.
            table.remove(id);
            liftBarrier(volume);
            keepContent(volume);
            emit volumeDismounted(label, rootPath);
            return;
        }
    }
}

void SimulatedStorage::checkVanishing()
{
    bool watching = false;
    for (Volume& volume : all) {
        if (!volume.mounted || !volume.tmpfs || !volume.options.vanishWhenFull)
            continue;
        QStorageInfo info(volume.entry.rootPath);
        if (info.bytesAvailable() > 0) {
            watching = true;
            continue;
        }
        table.remove(volume.entry.id);
        volume.mounted = false;
        keepContent(volume);
        detachTmpfs(volume.entry.rootPath);
        volume.tmpfs = false;
        emit volumeRemoved(volume.entry.label, volume.entry.rootPath);
    }
    if (!watching)
        vanishPoll.stop();
}

void SimulatedStorage::keepContent(const Volume& volume)
{
    // Without a capacity the computer wrote into the lasting folder itself.
    if (!volume.tmpfs || volume.options.contentFolder.isEmpty())
        return;
    QString why;
    if (!SimFolderCopy::replaceContent(volume.options.contentFolder, volume.entry.rootPath, &why)) {
        error = QStringLiteral("The instrument did not keep what its volume %1 held: %2").arg(volume.entry.label, why);
        qWarning().noquote() << error;
    }
}

void SimulatedStorage::liftBarrier(Volume& volume)
{
    if (volume.barrier && SimWriteBarrier::set(volume.entry.rootPath, false))
        volume.barrier = false;
}

bool SimulatedStorage::canRefuseWrites() const
{
    return base.isValid() && SimWriteBarrier::supportedUnder(base.path());
}
