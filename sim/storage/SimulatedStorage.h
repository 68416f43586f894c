#pragma once

#include "SimMountTable.h"
#include "SimVolumeOptions.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

class FolderOpener;
class RecordingFolderOpener;
class SimVolumeDismounter;
class VolumeDismounter;
class VolumeList;

// The simulated instrument's storage as the computer sees it: volumes that mount and unmount
// on request or after a delay, each backed by a fresh temporary directory (or by the
// instrument's lasting storage folder, see SimVolumeOptions::contentFolder), with label, ready
// and read-only states, and faults on request.
//
// Lives on the main thread. The storage worker reaches it only through the seams it hands
// out: volumeList() and dismounter() work on a mount table kept in the file system (see
// SimMountTable), and folderOpener() records requests; what the worker does comes back here
// as queued signals. No lock is used.
class SimulatedStorage : public QObject
{
    Q_OBJECT

public:
    explicit SimulatedStorage(QObject* parent = nullptr);
    ~SimulatedStorage() override;

    // The folders of the transfer-mode volume: "projects", "instrument_definitions",
    // "MIDI_Clips" and "grooves".
    static SimVolumeOptions transferVolumeOptions();

    // Mounts a volume with this label after delayMs (0: at once). Returns false, with
    // lastError(), when the volume cannot be made (e.g. a capacity without root rights); a
    // mount that fails, at once or after its delay, also emits mountFailed.
    // A second volume with a label that is mounted already is allowed and listed after it.
    bool mount(const QString& label, int delayMs = 0, const SimVolumeOptions& options = {});
    // A stranger: a user's own drive, on no USB device (vendorId empty) or another one. It
    // carries whatever label it is mounted with; unmount() leaves it.
    // Whether a volume can refuse writes here (SimVolumeOptions::refusesWrites): the temporary
    // folder's file system takes Linux's immutable flag and this process may set it.
    bool canRefuseWrites() const;
    static SimVolumeOptions strangerVolumeOptions(const QString& vendorId = {},
                                                  const QString& productId = {});
    // Takes every volume of the instrument with this label away, as when the instrument
    // leaves the bus (strangers stay), and cancels pending mounts of the label. Emits
    // volumeRemoved for each mounted one.
    void unmount(const QString& label);

    // Both look at the instrument's volumes only (a stranger is the user's, not the
    // instrument's, and the instrument never stages from or mounts over it).
    bool isMounted(const QString& label) const;
    // The directory of the most recent volume of the instrument with this label, also after it
    // was dismounted (its files stay readable until the simulation ends; a volume of the
    // lasting storage without a capacity is that storage's folder, which later sessions change).
    QString rootPath(const QString& label) const;
    // The same for the most recent stranger with this label.
    QString strangerRootPath(const QString& label) const;
    QString lastError() const { return error; }
    // The directory of the mount table (for tests that break it).
    QString mountTableDirectory() const { return table.directory(); }

    // Faults and states.
    void setNeverMounts(bool never);        // mount requests are accepted and ignored
    void setExtraMountDelay(int delayMs);   // every mount comes this much later
    bool setReady(const QString& label, bool ready);
    bool setReadOnly(const QString& label, bool readOnly);
    bool setBusy(const QString& label, bool busy); // dismount refused while busy

    // The seams for the FileManager (used on its worker thread).
    std::shared_ptr<VolumeList> volumeList() const { return volumes; }
    std::shared_ptr<VolumeDismounter> dismounter() const;
    std::shared_ptr<FolderOpener> folderOpener() const;

    // The folders the program asked to show, in order (main thread).
    QList<QUrl> openedFolders() const { return opened; }

signals:
    void volumeMounted(QString label, QString rootPath);
    // A mount could not be done (at once or when its delay was over): the volume does not
    // appear. The message says why in a sentence.
    void mountFailed(QString label, QString message);
    // The program dismounted the volume (its eject); the files left there stay readable.
    void volumeDismounted(QString label, QString rootPath);
    // The simulation took the volume away (unmount, or vanished when full).
    void volumeRemoved(QString label, QString rootPath);
    void folderOpened(QUrl url);

private:
    struct Volume
    {
        SimMountTable::Entry entry;
        SimVolumeOptions options;
        bool mounted = false;
        bool tmpfs = false;
        bool barrier = false; // SimWriteBarrier set on the root
    };
    struct PendingMount
    {
        quint64 ticket;
        QString label;
    };

    bool mountNow(const QString& label, const SimVolumeOptions& options);
    bool failMount(const QString& label, const QString& message);
    void onProgramDismounted(const QString& id, const QString& label, const QString& rootPath);
    void checkVanishing();
    // A volume of the lasting storage on a tmpfs is going: its content goes back into the
    // lasting folder.
    void keepContent(const Volume& volume);
    void liftBarrier(Volume& volume);
    bool updateEntries(const QString& label, const std::function<void(SimMountTable::Entry&)>& change);

    QTemporaryDir base;
    SimMountTable table;
    std::shared_ptr<VolumeList> volumes;
    std::shared_ptr<SimVolumeDismounter> simDismounter;
    std::shared_ptr<RecordingFolderOpener> recorder;

    QList<Volume> all; // every volume made, mounted or not, in mount order
    QList<PendingMount> pending;
    quint64 nextTicket = 1;
    quint64 nextId = 1;
    bool neverMounts = false;
    int extraDelayMs = 0;
    QString error;
    QList<QUrl> opened;
    QTimer vanishPoll;
};
