#pragma once

#include "CheckResult.h"
#include "DiagnosisTimings.h"

#include <QDateTime>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QVariantList>

#include <memory>

class FolderSpace;
class MidiBackend;
class Presence;
struct Platform;
class ServerProbe;
class UsbIdentityLookup;
class VolumeList;

// "Check this computer": the six checks of what the program needs from this computer, run
// one after another where they are quick and side by side where they wait, each within its
// time limit (DiagnosisTimings). The window binds to it ("computerCheck"), "tavlo doctor"
// prints it, the support file takes its last report.
//
// The instrument is never asked on ports of its own: its answer is what the device link (the
// Presence it feeds) knows, waited for when its ports are there but the version has not come
// yet. The download folder's and the volumes' checks run on the storage thread, where the
// volume list is used.
class ComputerCheck : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool running READ running NOTIFY changed)
    // The last report as plain text (empty before the first check ends).
    Q_PROPERTY(QString report READ report NOTIFY changed)
    // The last report's lines: {name, status, outcome ("ok", "note", "problem", "not_run"), text}.
    Q_PROPERTY(QVariantList lines READ lines NOTIFY changed)

public:
    struct Sources
    {
        std::shared_ptr<MidiBackend> midi;
        std::shared_ptr<UsbIdentityLookup> usb;
        std::shared_ptr<VolumeList> volumes;
        std::shared_ptr<FolderSpace> space;  // null: the plain one
        QObject* storage = nullptr;          // its thread runs the folder and volume checks
        Presence* presence = nullptr;        // the link's view of the instrument
        QString heldBy;                      // set: another program holds the instrument
        QUrl server;
        QString downloadFolder;
    };

    // The sources from the platform's seams (the download folder: the platform's, else this
    // system's), with the storage object and the link's Presence of a wiring.
    static Sources fromPlatform(const Platform& platform, QObject* storage, Presence* presence,
                                const QUrl& server);

    ComputerCheck(const Sources& sources, const DiagnosisTimings& timings, QObject* parent = nullptr);
    ~ComputerCheck() override;

    // Runs every check anew; a check already running goes on.
    Q_INVOKABLE void start();

    bool running() const { return isRunning; }
    QList<CheckResult> results() const { return last; }
    QDateTime madeAt() const { return lastMadeAt; }
    QString report() const;
    QVariantList lines() const;

Q_SIGNALS:
    void changed();
    void finished();

private:
    void checkMidi();
    void checkInstrument();
    void instrumentAnswered();
    void onServerChecked(qint64 updateBytes);
    void startLocal(int which, qint64 updateBytes);
    void set(const CheckResult& result);
    void finishIfDone();

    Sources sources;
    DiagnosisTimings timings;
    ServerProbe* probe = nullptr;
    // Guards the hand-back from the storage thread against this object's end.
    std::shared_ptr<QMutex> handBackLock = std::make_shared<QMutex>();
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    int run = 0;
    bool isRunning = false;
    bool instrumentPortsSeen = false;
    QMap<CheckResult::Check, CheckResult> current;
    QTimer instrumentWait;
    QTimer folderWait;
    QTimer volumesWait;
    QList<CheckResult> last;
    QDateTime lastMadeAt;
};
