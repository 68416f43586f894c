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

class CliOutput;
class CliTransfer;
struct Platform;

// One command of the "tavlo" program, carried out by the full edition's objects (the same
// link, Downloader and FileManager the window drives, made by the full edition's first
// wiring phase; nothing is published, no window is loaded). run() returns the exit code.
//
// Its state says which step the command is in before the update starts; from the start on,
// the update is the full edition's update flow (the one the window binds to), whose
// transitions and progress it prints. Ctrl-C (the interrupt flag, looked at every pollMs)
// stops at the next point where the instrument is in a mode the user can leave: before the
// update-mode message nothing has changed; once the update file is being handed to the
// instrument, the hand-over and the finish message are carried out, because an instrument
// left in update mode could not be used until switched off and on. The transfer command is
// CliTransfer's, on the transfer flow.
class CliSession : public QObject
{
    Q_OBJECT

public:
    enum class State {
        FindingInstrument, // waiting for the link to find the instrument and its version
        ReadingCatalogue,  // waiting for the release catalogue
        Updating,          // the update flow runs (UpdateFlow::State says where)
        Transferring,      // "tavlo transfer": the steps are CliTransfer's
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
    void onCatalogueRead();
    void startUpdate();
    void onFlowState(UpdateFlow::State state);
    void onFlowChanged();
    void onUpdateFailed();
    void onReenumerated(bool success);
    void onConfirmation(UpdateConfirmation::State state);
    void onInterruptPoll();
    void finish(int code, const QString& problem = QString());

    CliOptions options;
    Timings timings;
    CliOutput& out;
    const std::atomic<bool>& interrupted;
    std::unique_ptr<FullEditionWiring> wiring;
    std::unique_ptr<CliTransfer> transfer;
    CliInstruments instruments;
    QEventLoop loop;
    QTimer deadline;
    QTimer poll;
    State current = State::FindingInstrument;
    QString firmware;
    QString latest;
    bool catalogueRead = false;
    bool verificationFailed = false;
    QString lastNote;
    bool stopNoted = false;
    bool stopRequested = false;
    // The update is handed over: the command waits for the instrument's return.
    bool applying = false;
    bool waitNoted = false;
    QString handOverProblem;
    bool modeSwitched = false; // the update-mode message went out
    int exitCode = 0;
};
