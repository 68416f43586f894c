#pragma once

#include "app/full/FileManagerBridge.h"
#include "TransferFlow.h"

#include "Timings.h"

#include <QObject>
#include <QString>

class CliInstruments;
class CliOutput;
class FullEditionWiring;

// "tavlo transfer" on the full edition's transfer flow (the one the window binds to): the
// flow's start, its open state (the instrument's volume is looked for and shown, then Enter
// is awaited), its done and its end. It ends by emitting finished() once, with the exit
// code and the problem to show (empty when none).
//
// A stop (Ctrl-C) is carried out at the next point where the instrument can be returned to
// normal: while entering transfer mode it waits for the volume and then leaves at once; in
// transfer mode it leaves; while leaving it lets the leaving end. A transfer that was stopped
// ends with the interrupted exit code.
class CliTransfer : public QObject
{
    Q_OBJECT

public:
    CliTransfer(CliInstruments& instruments, FullEditionWiring& wiring, const Timings& timings,
                CliOutput& output, QObject* parent = nullptr);

    // Sends the transfer-start message when the instrument's firmware offers transfer mode.
    void start(const QString& firmware);
    // Ejects the transfer volume and returns the instrument to normal ("--done", Enter).
    void leave();
    // Ctrl-C during one of the steps above.
    void requestStop();

    bool stopped() const { return stopRequested; }

Q_SIGNALS:
    void finished(int code, const QString& problem);

private:
    void onReenumerated(bool success);
    void onFlowState(TransferFlow::State state);
    void showVolume();
    void waitForEnter();
    void end(int code, const QString& problem = QString());

    CliInstruments& instruments;
    FullEditionWiring& wiring;
    Timings timings;
    CliOutput& out;
    TransferFlow& flow;
    // What "DONE" calls in the window: the eject of the transfer volume.
    FileManagerBridge bridge;
    bool shown = false;
    bool ended = false;
    bool stopRequested = false;
    int volumeLooks = 0;
};
