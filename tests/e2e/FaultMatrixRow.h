#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QMetaObject>

#include <memory>

#include "ProxyFault.h"

class EndToEndRig;

// One fault of the fault matrix, on a rig of its own: before() sets the fault up and starts
// the program, the hooks strike at their stage, clear() takes the fault away again (for the
// way back).
class FaultMatrixRow
{
public:
    enum class Fault {
        Catalogue404, Catalogue500, CatalogueGarbage, CatalogueEmpty, CatalogueObject,
        CatalogueCutOff, CatalogueBadName, ServerUntrusted,
        File404, File500, File403, FileWrongLength, FileEndsEarly, FileReset, FileStalls,
        FileRedirectHttp, FileShortLength, ChecksumMismatch, ChecksumUnreadable, SizeMismatch,
        CurlMissing, CurlFails, CurlStalls, CurlRescues,
        DownloadFolderUnusable, DownloadVanishes, DownloadDiskFull,
        VolumeReadOnly, VolumeNeverMounts, VolumeMountsTooLate, VolumeMountsLate, VolumeBusy,
        VolumeStaleFile, VolumeNotReady, VolumeFull, VolumeRefusesWrites,
        InstrumentSilent, InstrumentRefuses,
        UnplugBeforeStart, UnplugDuringDownload, UnplugDuringCurl, UnplugDuringVolumeWait,
        UnplugDuringCopy, UnplugDuringFinalWait, RejoinsLate, UnplugOnFailureScreen,
        UpdateModeSendFails, KeepsOldFirmware,
        StrangerUpdateVolume, TwoOwnUpdateVolumes,
        ProxyAsksForPassword, ProxyRefuses,
    };

    // Whether a simulated volume can refuse writes here (SimWriteBarrier).
    static bool canRefuseWrites();

    FaultMatrixRow(Fault fault, EndToEndRig& rig);
    ~FaultMatrixRow();

    // Sets the fault up, starts the server and the program, plugs the instrument in.
    bool before(bool withWindow);
    // The update screen is open, "Start Update" not yet pressed.
    void onUpdateScreen();
    // The final screen was reached.
    void atEnd();
    // Takes the fault away.
    void clear();
    // Volumes and download folders of a limited size (tmpfs) can be made: the process runs
    // as root.
    static bool canLimitVolumes();
    // The instrument was unplugged by the fault (and is to be plugged in again).
    bool unplugged() const { return pulled; }

private:
    void pull();
    QByteArray catalogueWith(const char* key, const QJsonValue& value) const;

    Fault fault;
    EndToEndRig& rig;
    QByteArray savedPath;
    QString smallDisk; // a tmpfs mounted for the row, unmounted with it
    QString strangerRoot; // a drive of the user's with the update volume's label
    bool active = true;
    bool pulled = false;
    QList<QMetaObject::Connection> hooks;
    bool volumeAwaited = false; // the link reported the instrument switched to update mode
    std::unique_ptr<ProxyFault> proxy; // the proxy rows' proxy in front of the server
};
