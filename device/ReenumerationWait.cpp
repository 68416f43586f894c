#include "ReenumerationWait.h"

#include "InstrumentPorts.h"
#include "SysExMessages.h"
#include "SysExReceiver.h"

ReenumerationWait::ReenumerationWait(InstrumentPorts& ports, SysExReceiver& receiver,
                                     const DeviceTimings& timings, QObject* parent)
    : QObject(parent)
    , ports(ports)
    , receiver(receiver)
    , timings(timings)
{
    ackTimer.setSingleShot(true);
    connect(&stateTimer, &QTimer::timeout, this, [this] { handle(Event::StateTimer); });
    connect(&ackTimer, &QTimer::timeout, this, [this] { handle(Event::AckTimeout); });
}

void ReenumerationWait::start(const std::vector<unsigned char>& message)
{
    pending = message;
    handle(Event::Start);
}

void ReenumerationWait::handle(Event event)
{
    if (event == Event::Start) {
        ackTimer.stop();
        receiver.clearAcknowledgment();
        pollCount = 0;
        sendCount = 0;
        deliveredCount = 0;
        attempts = 0;
        enter(State::Delay);
        return;
    }
    if (event == Event::AckTimeout) {
        // An acknowledgment that came in time lets the wait end on its own.
        if (current != State::Idle && !receiver.acknowledgmentSeen())
            enter(finish(true, false));
        return;
    }

    switch (current) {
    case State::Idle:
    case State::Exhausted:
        return; // no state timer runs here
    case State::Delay:
        pollCount = 0;
        enter(State::Polling);
        return;
    case State::Polling:
        enter(pollOnce());
        return;
    case State::FirstSendDelay:
        if (attempts == 0)
            ackTimer.start(timings.ackTimeoutMs);
        enter(sendOnce());
        return;
    case State::Sending:
        enter(sendOnce());
        return;
    case State::Grace:
        enter(finish(true, receiver.acknowledgmentSeen()));
        return;
    case State::RetryDelay:
        enter(State::Polling);
        return;
    }
}

ReenumerationWait::State ReenumerationWait::pollOnce()
{
    ++pollCount;
    if (pollCount > timings.reconnectPollLimit)
        return finish(false, false); // the instrument did not come back
    const InstrumentPorts::Scan scan = ports.find();
    if (!scan.complete() || !ports.open(scan))
        return State::Polling; // the count goes on, so the poll limit still ends the wait
    receiver.clearAcknowledgment();
    sendCount = 0;
    Q_EMIT portsOpened();
    return State::FirstSendDelay;
}

ReenumerationWait::State ReenumerationWait::sendOnce()
{
    if (receiver.acknowledgmentSeen())
        return finish(true, true);

    ++sendCount;
    if (!ports.send(pending)) {
        ++attempts;
        if (attempts > timings.maxReconnectAttempts)
            return State::Exhausted;
        ports.closeAll();
        ports.recreate();
        sendCount = 0;
        pollCount = 0;
        Q_EMIT portsClosed();
        return State::RetryDelay;
    }
    ++deliveredCount;
    return sendCount >= timings.sendsPerReconnection ? State::Grace : State::Sending;
}

ReenumerationWait::State ReenumerationWait::finish(bool success, bool acknowledged)
{
    ackTimer.stop();
    if (success && !acknowledged && pending.size() == SysEx::TRANSFER_MESSAGE_LENGTH) {
        // The window moves on as if the instrument had acknowledged.
        const unsigned char command = pending[SysEx::TRANSFER_COMMAND_OFFSET];
        if (command == SysEx::TRANSFER_COMMAND_START)
            Q_EMIT transferStartUnacknowledged();
        else if (command == SysEx::TRANSFER_COMMAND_END)
            Q_EMIT transferEndUnacknowledged();
    }
    outcome = success;
    return State::Idle;
}

void ReenumerationWait::enter(State next)
{
    // The poll keeps its rhythm while it goes on: its timer repeats instead of being armed
    // afresh after each look, so the time a look takes does not stretch the poll.
    const bool pollGoesOn = next == State::Polling && current == State::Polling
        && stateTimer.isActive();
    current = next;
    const int ms = timerFor(next);
    if (ms < 0) {
        stateTimer.stop();
    } else if (!pollGoesOn) {
        stateTimer.setSingleShot(next != State::Polling);
        stateTimer.start(ms);
    }
    Q_EMIT stateChanged(next);
    if (next == State::Idle && outcome) {
        const bool success = *outcome;
        outcome.reset();
        Q_EMIT finished(success); // last: a listener may start the next wait from here
    }
}

int ReenumerationWait::timerFor(State state) const
{
    switch (state) {
    case State::Delay: return timings.reconnectDelayMs;
    case State::Polling: return timings.reconnectPollMs;
    case State::FirstSendDelay: return timings.firstSendDelayMs;
    case State::Sending: return timings.resendIntervalMs;
    case State::Grace: return timings.graceTimeMs;
    case State::RetryDelay: return timings.retryDelayMs;
    case State::Idle:
    case State::Exhausted: return -1;
    }
    return -1;
}
