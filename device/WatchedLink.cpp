#include "WatchedLink.h"

#include "InstrumentPorts.h"
#include "SysExMessages.h"

WatchedLink::WatchedLink(InstrumentPorts& ports, SysExReceiver& receiver,
                         const DeviceTimings& timings, QObject* parent)
    : LinkPolicy(parent)
    , ports(ports)
    , versionRequestDelayMs(timings.versionRequestDelayMs)
    , presencePollMs(timings.presencePollMs)
    , wait(ports, receiver, timings)
{
    connect(&poll, &QTimer::timeout, this, &WatchedLink::check);
    versionRequest.setSingleShot(true);
    connect(&versionRequest, &QTimer::timeout, this, &WatchedLink::requestVersion);

    connect(&wait, &ReenumerationWait::portsOpened, this, [this] { isConnected = true; });
    connect(&wait, &ReenumerationWait::portsClosed, this, [this] { isConnected = false; });
    connect(&wait, &ReenumerationWait::transferStartUnacknowledged, this,
            &WatchedLink::transferStartUnacknowledged);
    connect(&wait, &ReenumerationWait::transferEndUnacknowledged, this,
            &WatchedLink::transferEndUnacknowledged);
    connect(&wait, &ReenumerationWait::finished, this, &WatchedLink::onWaitFinished);
}

bool WatchedLink::start()
{
    const bool made = ports.create();
    if (made)
        ports.switchFilteringOff();
    // Without a MIDI service the poll looks for it at every tick.
    startPoll();
    return made;
}

void WatchedLink::startPoll()
{
    poll.start(presencePollMs);
}

void WatchedLink::stopPoll()
{
    poll.stop();
    // The instrument is about to leave the bus (update or transfer mode, or the return after an
    // eject): a version request still due would go to closed ports and be taken for an unplug.
    versionRequest.stop();
}

void WatchedLink::lose()
{
    isConnected = false;
    reconnecting = false;
    reportedFound = false;
    versionRequest.stop();
    Q_EMIT deviceFound(false);
}

bool WatchedLink::check()
{
    if (!ports.available()) {
        // The MIDI service could not be used: tried again at every look.
        if (!ports.create())
            return false;
        ports.switchFilteringOff();
    }

    const InstrumentPorts::Scan scan = ports.find();
    if (!scan.complete()) {
        if (isConnected) {
            ports.closeAll();
            lose();
        } else if (reportedFound) {
            lose(); // the ports were closed while the instrument was reported found
        }
        return false;
    }
    if (isConnected)
        return true;

    if (!ports.open(scan))
        return false;
    if (!reconnecting)
        versionRequest.start(versionRequestDelayMs);
    isConnected = true;
    reportedFound = true;
    Q_EMIT deviceFound(true);
    return true;
}

bool WatchedLink::send(const std::vector<unsigned char>& message)
{
    return ports.sendWithRecovery(message, [this] { recover(); });
}

void WatchedLink::recover()
{
    ports.closeAll();
    reconnecting = true;
    check();

    // The instrument is still attached (the check found its ports while connected was set),
    // but its ports were just closed: open them again so that the message can go out once
    // more. If that fails, the link is reported lost so the presence poll starts afresh.
    if (isConnected) {
        if (ports.open(ports.find()))
            return;
        lose();
    }
}

void WatchedLink::requestVersion()
{
    send(SysEx::MIDI_SYSEX_VERSION_REQUEST);
}

void WatchedLink::finishUpdate()
{
    stopPoll();
    awaitReturn(SysEx::MIDI_SYSEX_UPDATE_FINISH);
    finishPending = true;
    Q_EMIT updateTransferDone();
}

void WatchedLink::sendTransferStart()
{
    send(SysEx::MIDI_SYSEX_TRANSFER_START);
    stopPoll();
    awaitReturn(SysEx::MIDI_SYSEX_TRANSFER_START);
}

void WatchedLink::transferVolumeEjected(bool success)
{
    if (!success)
        return;
    stopPoll();
    awaitReturn(SysEx::MIDI_SYSEX_TRANSFER_END);
}

void WatchedLink::awaitReturn(const std::vector<unsigned char>& message)
{
    finishPending = false;
    ports.closeAll();
    ports.recreate();
    versionRequest.stop();
    reconnecting = true;
    isConnected = false;
    wait.start(message);
}

void WatchedLink::onWaitFinished(bool success)
{
    if (!success)
        reconnecting = false;
    const bool finishNotSent = finishPending && (!success || wait.delivered() == 0);
    const bool finishSent = finishPending && !finishNotSent;
    finishPending = false;
    if (finishSent) {
        // The instrument applies the update and reboots, perhaps before the next look: its
        // firmware is asked for now, as after a fresh connection, and again after a reboot
        // the poll sees.
        reconnecting = false;
        versionRequest.start(versionRequestDelayMs);
    }
    Q_EMIT reenumerationFinished(success);
    if (finishNotSent) {
        Q_EMIT updateFinishFailed(
            tr("The update file is on Tavlo's volume, but Tavlo did not come back to be told to "
               "apply it. Unplug Tavlo and plug it in again, then press Try again."));
    }
    startPoll();
}
