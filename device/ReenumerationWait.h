#pragma once

#include "DeviceTimings.h"

#include <QObject>
#include <QTimer>

#include <optional>
#include <vector>

class InstrumentPorts;
class SysExReceiver;

// The full edition's wait for the instrument to come back on USB after a mode switch, and the
// resends of the pending message until the instrument acknowledges it. A state machine: every
// transition is made in handle(). One timer belongs to the state (each state arms it afresh
// on entry, so no step of a state left behind can run), the acknowledgment time-out runs
// beside it from the first send of the first reconnection until the wait ends.
//
//   Idle --start--> Delay --timer--> Polling --timer, ports open--> FirstSendDelay
//   FirstSendDelay --timer--> Sending (first send)      Sending --timer--> Sending (resend)
//   Sending --third send--> Grace --timer--> Idle (finished; unacknowledged unless acked)
//   Sending --acknowledged--> Idle (finished)
//   Sending --send fails--> RetryDelay --timer--> Polling    (the fifth failure: Exhausted)
//   Polling --poll limit--> Idle (finished, failed)
//   any but Idle --acknowledgment time-out, not acknowledged--> Idle (finished, unacknowledged)
//   any --start--> Delay (the wait starts over)
class ReenumerationWait : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Idle,           // no wait
        Delay,          // the instrument leaves the bus; nothing is looked at yet
        Polling,        // looking for the instrument's ports
        FirstSendDelay, // the ports are open again; the instrument settles
        Sending,        // the pending message goes out, up to sendsPerReconnection times
        Grace,          // all sends made; a late acknowledgment still counts
        RetryDelay,     // a send failed; the MIDI objects were made anew
        Exhausted,      // sends failed too often; only the acknowledgment time-out ends it
    };
    Q_ENUM(State)

    enum class Event { Start, StateTimer, AckTimeout };

    ReenumerationWait(InstrumentPorts& ports, SysExReceiver& receiver, const DeviceTimings& timings,
                      QObject* parent = nullptr);

    // Starts the wait for message; a wait already running is replaced.
    void start(const std::vector<unsigned char>& message);

    State state() const { return current; }
    int polls() const { return pollCount; }
    int sends() const { return sendCount; }
    // Sends of this wait that went out, over all its reconnections.
    int delivered() const { return deliveredCount; }
    int reconnectAttempts() const { return attempts; }

Q_SIGNALS:
    void stateChanged(ReenumerationWait::State state);
    void portsOpened();  // the instrument was found and its ports opened
    void portsClosed();  // after a failed send: ports closed, MIDI objects made anew
    // The wait ended without an acknowledgment of a transfer message (emitted before finished).
    void transferStartUnacknowledged();
    void transferEndUnacknowledged();
    void finished(bool success);

private:
    void handle(Event event);
    State pollOnce();
    State sendOnce();
    State finish(bool success, bool acknowledged);
    void enter(State next);
    int timerFor(State state) const;

    InstrumentPorts& ports;
    SysExReceiver& receiver;
    const DeviceTimings timings;
    QTimer stateTimer;
    QTimer ackTimer;
    State current = State::Idle;
    std::vector<unsigned char> pending;
    int pollCount = 0;
    int sendCount = 0;
    int deliveredCount = 0;
    int attempts = 0;
    std::optional<bool> outcome; // set by finish(), reported by enter()
};
