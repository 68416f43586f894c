#include "SimInstrument.h"

#include <InstrumentUsbIdentity.h>
#include <SimReadableFiles.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTimer>

const char* const SimInstrument::kUpdateVolumeLabel = "tavloupd";
const char* const SimInstrument::kTransferVolumeLabel = "TAVLO";
const char* const SimInstrument::kUpdateFileName = "tvxxfer.tvq";

namespace {
QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}
} // namespace

SimInstrument::SimInstrument(QObject* parent)
    : QObject(parent), midiSide(&midiBus, QStringLiteral("Tavlo"))
{
    midiSide.setUsbIds(InstrumentUsbIdentity::vendorId(), InstrumentUsbIdentity::productId());
    // The update flow is this object's: the instrument stays off the bus after the
    // update-mode message until its volume has been ejected.
    midiSide.setReactionEnabled(SimMidiInstrument::Reaction::LeaveOnUpdateMode, false);
    midiSide.setRejoinDelay(timings.transferRoundTripMs);

    connect(&midiSide, &SimMidiInstrument::messageReceived, this,
            [this](const QByteArray& m) { Q_EMIT event(QStringLiteral("instrument received ") + hex(m)); });
    connect(&midiSide, &SimMidiInstrument::updateModeReceived, this, &SimInstrument::onUpdateMode);
    connect(&midiSide, &SimMidiInstrument::updateFinishReceived, this,
            &SimInstrument::onUpdateFinish);
    connect(&midiSide, &SimMidiInstrument::joinedBus, this, &SimInstrument::onJoinedBus);
    connect(&midiSide, &SimMidiInstrument::leftBus, this,
            [this] { Q_EMIT event(QStringLiteral("instrument left the USB bus")); });
    connect(&volumes, &SimulatedStorage::volumeDismounted, this,
            &SimInstrument::onVolumeDismounted);
    connect(&volumes, &SimulatedStorage::volumeMounted, this,
            [this](const QString& label, const QString& root) {
                Q_EMIT event(QStringLiteral("volume \"%1\" mounted at %2").arg(label, root));
            });
    connect(&volumes, &SimulatedStorage::mountFailed, this,
            [this](const QString& label, const QString& message) {
                Q_EMIT event(QStringLiteral("volume \"%1\" could not be mounted: %2").arg(label, message));
            });
    connect(&volumes, &SimulatedStorage::folderOpened, this, [this](const QUrl& url) {
        Q_EMIT event(QStringLiteral("folder opened %1").arg(url.toLocalFile()));
    });
}

SimInstrument::~SimInstrument() = default;

Platform SimInstrument::platform()
{
    Platform p;
    p.midi = midiBus.backend();
    p.usb = midiBus.usbLookup();
    p.volumes = volumes.volumeList();
    p.dismount = volumes.dismounter();
    p.folders = volumes.folderOpener();
    p.files = std::make_shared<SimReadableFiles>();
    p.lockFolder = lockFolder.path();
    p.sleep = sleep;
    return p;
}

void SimInstrument::setFirmwareVersion(const QString& version)
{
    midiSide.setFirmwareVersion(version);
}

void SimInstrument::plugIn()
{
    midiSide.setRejoinDelay(timings.transferRoundTripMs);
    midiSide.joinBus();
}

void SimInstrument::unplug()
{
    midiSide.leaveBus();
    volumes.unmount(QString::fromLatin1(kUpdateVolumeLabel));
    volumes.unmount(QString::fromLatin1(kTransferVolumeLabel));
    midiSide.setMode(SimMidiInstrument::Mode::Normal);
    haveStagedFile = false;
    stagedFile.clear();
}

void SimInstrument::onUpdateMode()
{
    if (refusesUpdateMode) {
        Q_EMIT event(QStringLiteral("instrument refuses the update mode"));
        return;
    }
    Q_EMIT event(QStringLiteral("instrument switches to update mode"));
    midiSide.setMode(SimMidiInstrument::Mode::Update);
    midiSide.leaveBus();
    haveStagedFile = false;
    stagedFile.clear();
    applyScheduled = false;
    // It comes back as one device: the update volume and, beside it, its MIDI ports, on which
    // it hears the update-finish message also while the volume is still mounted.
    volumes.mount(QString::fromLatin1(kUpdateVolumeLabel), timings.mountAfterLeavingMs,
                  updateVolume);
    midiSide.joinBusAfter(timings.mountAfterLeavingMs);
}

bool SimInstrument::stageUpdateFile(const QString& rootPath, const QString& where)
{
    QFile file(QDir(rootPath).filePath(QString::fromLatin1(kUpdateFileName)));
    haveStagedFile = file.open(QIODevice::ReadOnly);
    stagedFile = haveStagedFile ? file.readAll() : QByteArray();
    Q_EMIT event(haveStagedFile
                     ? QStringLiteral("instrument found %1 (%2 bytes) %3")
                           .arg(QString::fromLatin1(kUpdateFileName))
                           .arg(stagedFile.size())
                           .arg(where)
                     : QStringLiteral("instrument found no %1 %2")
                           .arg(QString::fromLatin1(kUpdateFileName), where));
    return haveStagedFile;
}

void SimInstrument::onVolumeDismounted(const QString& label, const QString& rootPath)
{
    Q_EMIT event(QStringLiteral("volume \"%1\" ejected by the computer").arg(label));
    if (label == QLatin1String(kUpdateVolumeLabel)) {
        stageUpdateFile(rootPath, QStringLiteral("on its ejected volume"));
        // Re-enumerated without the volume: off the bus and back.
        midiSide.leaveBus();
        midiSide.joinBusAfter(timings.rejoinAfterEjectMs);
    } else if (label == QLatin1String(kTransferVolumeLabel)) {
        // Back to normal: off the bus and back, then the transfer end is acknowledged.
        midiSide.setMode(SimMidiInstrument::Mode::Normal);
        midiSide.leaveBus();
        midiSide.joinBusAfter(timings.transferRoundTripMs);
    }
}

void SimInstrument::onUpdateFinish()
{
    if (applyScheduled || midiSide.mode() != SimMidiInstrument::Mode::Update)
        return;
    // Told while its update volume is still mounted (nobody ejected it): the file is taken
    // from the mounted volume.
    const QString updateLabel = QString::fromLatin1(kUpdateVolumeLabel);
    if (!haveStagedFile && volumes.isMounted(updateLabel))
        stageUpdateFile(volumes.rootPath(updateLabel), QStringLiteral("on its mounted volume"));
    applyScheduled = true;
    // Stay on the bus long enough to hear the repeated messages, then reboot.
    QTimer::singleShot(timings.applyAfterFinishMs, this, &SimInstrument::applyStagedUpdate);
}

void SimInstrument::applyStagedUpdate()
{
    midiSide.setMode(SimMidiInstrument::Mode::Normal);
    midiSide.leaveBus();
    // The reboot takes a volume that is still mounted away with it.
    volumes.unmount(QString::fromLatin1(kUpdateVolumeLabel));
    if (haveStagedFile) {
        AppliedUpdate update;
        update.bytes = stagedFile;
        update.sha256 = QCryptographicHash::hash(stagedFile, QCryptographicHash::Sha256).toHex();
        update.fromVersion = midiSide.firmwareVersion();
        update.toVersion = nextVersion;
        applied.append(update);
        midiSide.setFirmwareVersion(nextVersion);
        Q_EMIT event(QStringLiteral("instrument applied %1: %2 bytes, sha256 %3, version %4 -> %5")
                         .arg(QString::fromLatin1(kUpdateFileName))
                         .arg(update.bytes.size())
                         .arg(QString::fromLatin1(update.sha256), update.fromVersion,
                              update.toVersion));
        Q_EMIT updateApplied(nextVersion, update.bytes.size(), update.sha256);
    } else {
        Q_EMIT event(QStringLiteral("instrument rebooted without an update file"));
    }
    haveStagedFile = false;
    stagedFile.clear();
    applyScheduled = false;
    midiSide.joinBusAfter(timings.rebootMs);
}

void SimInstrument::onJoinedBus()
{
    const auto mode = midiSide.mode();
    Q_EMIT event(QStringLiteral("instrument joined the USB bus in %1 mode")
                     .arg(mode == SimMidiInstrument::Mode::Transfer ? QStringLiteral("transfer")
                          : mode == SimMidiInstrument::Mode::Update ? QStringLiteral("update")
                                                                    : QStringLiteral("normal")));
    const QString transferLabel = QString::fromLatin1(kTransferVolumeLabel);
    if (mode == SimMidiInstrument::Mode::Transfer && !volumes.isMounted(transferLabel))
        volumes.mount(transferLabel, 0, card.volumeOptions());
}
