#pragma once

#include "Timings.h"

#include <QObject>
#include <QString>

class CliInstruments;
class CliOutput;
class FullEditionWiring;

// The steps of "tavlo transfer": the transfer-start message, waiting for the instrument's
// volume, waiting for Enter, ejecting the volume and the transfer end. It ends by emitting
// finished() once, with the exit code and the problem to show (empty when none).
//
// A stop (Ctrl-C) is carried out at the next point where the instrument can be returned to
// normal: while entering transfer mode it waits for the volume and then leaves at once; in
// transfer mode it leaves; while leaving it lets the leaving end. A transfer that was stopped
// ends with the interrupted exit code.
class CliTransfer : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Idle,       // not started
        Entering,   // the transfer-start message went out
        InTransfer, // the instrument shows its storage; waiting for Enter
        Leaving,    // the volume is ejected; the transfer end goes out
        Ended,
    };
    Q_ENUM(State)

    CliTransfer(CliInstruments& instruments, FullEditionWiring& wiring, const Timings& timings,
                CliOutput& output, QObject* parent = nullptr);

    // Sends the transfer-start message when the instrument's firmware offers transfer mode.
    void start(const QString& firmware);
    // Ejects the transfer volume and returns the instrument to normal ("--done", Enter).
    void leave();
    // Ctrl-C during one of the steps above.
    void requestStop();

    State state() const { return current; }
    bool stopped() const { return stopRequested; }

Q_SIGNALS:
    void finished(int code, const QString& problem);
    void ejectRequested(QString label);

private:
    void onReenumerated(bool success);
    void showVolume();
    void waitForEnter();
    void end(int code, const QString& problem = QString());

    CliInstruments& instruments;
    FullEditionWiring& wiring;
    Timings timings;
    CliOutput& out;
    State current = State::Idle;
    bool stopRequested = false;
    int volumeLooks = 0;
};
