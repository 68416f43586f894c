#pragma once

#include "Platform.h"
#include "SimMidiBus.h"
#include "SimMidiInstrument.h"
#include "SimLastingStorage.h"
#include "SimSleepGuard.h"
#include "SimulatedStorage.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// The whole simulated instrument: its MIDI side, its USB identity and its storage, behaving
// as the instrument does through both flows.
//
// Update: on the update-mode message it leaves the MIDI bus and, a little later, comes back
// with its update volume "tavloupd" mounted beside its MIDI ports. Once the computer has
// ejected that volume it takes the "tvxxfer.tvq" it finds there, leaves the bus and comes
// back, and waits for the update-finish message. An update-finish message that arrives while
// the volume is still mounted (the update-only edition does not eject) makes it take the file
// from the mounted volume. Then it applies the file (recording its bytes), reboots (off the
// bus for a while, the volume gone) and comes back reporting the new firmware version.
//
// Transfer: on the transfer-start message it leaves and comes back in transfer mode with its
// storage shown as the volume "TAVLO" (holding "projects", "instrument_definitions",
// "MIDI_Clips" and "grooves", filled as a used instrument's are), and acknowledges the resent
// request. When the computer ejects "TAVLO" it returns to normal (off the bus and back) and
// acknowledges the transfer end. Its storage lasts for the object's life: what the computer
// changed in one session is there in the next (see SimLastingStorage).
//
// Every delay can be set per run, and the parts are reachable for their own faults.
class SimInstrument : public QObject
{
    Q_OBJECT

public:
    struct Timings
    {
        int mountAfterLeavingMs = 1500;   // update mode: off the bus until the volume mounts
        int rejoinAfterEjectMs = 2500;    // back on the MIDI bus after the volume was ejected
        int applyAfterFinishMs = 2000;    // from the first update-finish message to the reboot
        int rebootMs = 3000;              // off the bus while applying the update
        int transferRoundTripMs = 2500;   // off the bus when switching to or from transfer mode
    };

    struct AppliedUpdate
    {
        QByteArray bytes;
        QByteArray sha256; // hex
        QString fromVersion;
        QString toVersion;
    };

    explicit SimInstrument(QObject* parent = nullptr);
    ~SimInstrument() override;

    // The seams to hand to the program under test.
    Platform platform();

    void setTimings(const Timings& timings) { this->timings = timings; }
    Timings currentTimings() const { return timings; }
    void setFirmwareVersion(const QString& version);
    QString firmwareVersion() const { return midiSide.firmwareVersion(); }
    // The version it reports after applying an update.
    void setVersionAfterUpdate(const QString& version) { nextVersion = version; }

    void plugIn();
    // Pulled from the computer: off the bus, its volumes gone, and (no power) back in normal
    // mode when it is plugged in again.
    void unplug();
    // Hears the update-mode message but stays in normal mode, on the bus, without a volume.
    void setRefusesUpdateMode(bool refuses) { refusesUpdateMode = refuses; }
    // How its update volume appears (e.g. a small capacity, which needs root).
    void setUpdateVolumeOptions(const SimVolumeOptions& options) { updateVolume = options; }

    // Its own storage, shown by every transfer session. The content it starts with (default:
    // Tiny; choosing again makes it afresh), a capacity for the transfer volume (-1: none; a
    // tmpfs, needs root) and the folder itself, to read or change between sessions.
    bool setStorageContent(SimTransferContent::Scale scale, bool unreadableFile = false)
    {
        return card.setContent(scale, unreadableFile);
    }
    void setTransferVolumeCapacity(qint64 bytes) { card.setCapacity(bytes); }
    QString storageFolder() { return card.folder(); }
    SimLastingStorage& lastingStorage() { return card; }

    QList<AppliedUpdate> appliedUpdates() const { return applied; }

    SimMidiBus& bus() { return midiBus; }
    SimMidiInstrument& midi() { return midiSide; }
    SimulatedStorage& storage() { return volumes; }
    // The computer's sleep, as the programs that drive this instrument ask for it.
    SimSleepGuard& sleepGuard() { return *sleep; }

    static const char* const kUpdateVolumeLabel;
    static const char* const kTransferVolumeLabel;
    static const char* const kUpdateFileName;

Q_SIGNALS:
    // One line for each thing the instrument does or sees, for logs.
    void event(const QString& line);
    void updateApplied(const QString& newVersion, qint64 size, const QByteArray& sha256);

private:
    void onUpdateMode();
    void onVolumeDismounted(const QString& label, const QString& rootPath);
    void onUpdateFinish();
    void onJoinedBus();
    void applyStagedUpdate();
    // Reads tvxxfer.tvq from the volume root into the staged file; false when there is none.
    bool stageUpdateFile(const QString& rootPath, const QString& where);

    SimMidiBus midiBus;
    SimMidiInstrument midiSide;
    SimulatedStorage volumes;
    SimLastingStorage card;
    Timings timings;
    QString nextVersion = QStringLiteral("1.6.0");
    bool haveStagedFile = false;
    QByteArray stagedFile;
    bool applyScheduled = false;
    bool refusesUpdateMode = false;
    SimVolumeOptions updateVolume;
    QList<AppliedUpdate> applied;
    // The programs that drive this instrument share its lock, as a user's programs do.
    QTemporaryDir lockFolder;
    std::shared_ptr<SimSleepGuard> sleep = std::make_shared<SimSleepGuard>();
};
