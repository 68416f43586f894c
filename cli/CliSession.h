#pragma once

#include "CliOptions.h"
#include "app/full/FullEditionWiring.h"
#include "CliInstruments.h"
#include "Timings.h"

#include <QEventLoop>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <memory>

class CliBackup;
class CliOutput;
class CliRestore;
class CliTransfer;
class CliUpdate;
struct Platform;

// One command of the "tavlo" program, carried out by the full edition's objects (the same
// link, Downloader and FileManager the window drives, made by the full edition's first
// wiring phase; nothing is published, no window is loaded). run() returns the exit code.
//
// Its state says which step the command is in: finding the instrument and its version,
// reading the catalogue and choosing the version; the update itself is CliUpdate's, the
// transfer CliTransfer's, the backup CliBackup's, the restore CliRestore's, each on the full edition's flow the window binds to. Ctrl-C (the
// interrupt flag, looked at every pollMs) stops at once before the update or transfer has
// begun; after that the running command decides when the instrument can be left.
class CliSession : public QObject
{
    Q_OBJECT

public:
    enum class State {
        FindingInstrument, // waiting for the link to find the instrument and its version
        ReadingCatalogue,  // waiting for the release catalogue
        Updating,          // the update flow runs (UpdateFlow::State says where)
        Transferring,      // "tavlo transfer": the steps are CliTransfer's
        BackingUp,         // "tavlo backup": the steps are CliBackup's
        Restoring,         // "tavlo restore": the steps are CliRestore's
        Ended,
    };
    Q_ENUM(State)

    CliSession(const CliOptions& options, const Platform& platform, const QUrl& server,
               const Timings& timings, CliOutput& output, const std::atomic<bool>& interrupted);
    ~CliSession() override;

    int run();
    State state() const { return current; }

private:
    int finishNow(int code, const QString& problem);
    void onDeadline();
    void onInstrumentReady();
    // Ends the look for the instrument with kMidiSystem when the link meets a MIDI problem
    // that waiting does not mend.
    void onMidiProblem();
    void onCatalogueRead();
    void startUpdate();
    void onInterruptPoll();
    void finish(int code, const QString& problem = QString());

    CliOptions options;
    Timings timings;
    CliOutput& out;
    const std::atomic<bool>& interrupted;
    std::unique_ptr<FullEditionWiring> wiring;
    std::unique_ptr<CliBackup> backup;
    std::unique_ptr<CliUpdate> update;
    // Made for "tavlo transfer" only: it follows every state of the transfer flow, which the
    // backup and the restore go through as well.
    std::unique_ptr<CliTransfer> transfer;
    std::unique_ptr<CliRestore> restore;
    CliInstruments instruments;
    QEventLoop loop;
    QTimer deadline;
    QTimer poll;
    State current = State::FindingInstrument;
    QString firmware;
    QString latest;
    bool catalogueRead = false;
    bool stopRequested = false;
    int exitCode = 0;
};
