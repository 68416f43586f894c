#include "WatchedLink.h"

#include "InstrumentPorts.h"
#include "SysExMessages.h"

WatchedLink::WatchedLink(InstrumentPorts& ports, const DeviceTimings& timings, QObject* parent)
    : QObject(parent)
    , ports(ports)
    , versionRequestDelayMs(timings.versionRequestDelayMs)
    , presencePollMs(timings.presencePollMs)
{
    connect(&poll, &QTimer::timeout, this, &WatchedLink::check);
    versionRequest.setSingleShot(true);
    connect(&versionRequest, &QTimer::timeout, this, &WatchedLink::requestVersion);
}

bool WatchedLink::start()
{
    if (!ports.create())
        return false;
    ports.switchFilteringOff();
    startPoll();
    return true;
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
    if (!ports.available())
        return false;

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

void WatchedLink::send(const std::vector<unsigned char>& message)
{
    ports.sendWithRecovery(message, [this] { recover(); });
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

void WatchedLink::beginWait()
{
    ports.closeAll();
    ports.recreate();
    versionRequest.stop();
    reconnecting = true;
    isConnected = false;
}
