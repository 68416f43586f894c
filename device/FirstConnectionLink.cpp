#include "FirstConnectionLink.h"

#include "InstrumentPorts.h"
#include "SysExMessages.h"

FirstConnectionLink::FirstConnectionLink(InstrumentPorts& ports, const DeviceTimings& timings,
                                         QObject* parent)
    : LinkPolicy(parent)
    , ports(ports)
    , presencePollMs(timings.presencePollMs)
{
    connect(&poll, &QTimer::timeout, this, &FirstConnectionLink::check);
}

bool FirstConnectionLink::start()
{
    const bool made = ports.create();
    // Without a MIDI service the poll looks for it at every tick.
    poll.start(presencePollMs);
    return made;
}

bool FirstConnectionLink::check()
{
    // The MIDI service could not be used: tried again at every look.
    if (!ports.available() && !ports.create())
        return false;

    // A port count or name that cannot be read ends the look: nothing is opened and nothing
    // is reported, so a passing fault never reads as an unplugged instrument.
    const InstrumentPorts::Scan scan = ports.find();
    if (scan.unreadable)
        return connected;
    if (connected) {
        if (scan.complete())
            return true;
        // Unplugged: reported once; the next connection is a fresh one.
        ports.closeOutput();
        ports.closeInput();
        connected = false;
        recovered = false;
        Q_EMIT deviceFound(false);
        return false;
    }
    if (!scan.complete()) {
        Q_EMIT deviceFound(false); // at every look while the instrument is absent
        return false;
    }

    // A port that cannot be opened ends the look the same way, with both ports closed again.
    if (!ports.open(scan))
        return false;
    connected = true;
    if (!recovered)
        send(SysEx::MIDI_SYSEX_VERSION_REQUEST);
    Q_EMIT deviceFound(true);
    return true;
}

bool FirstConnectionLink::send(const std::vector<unsigned char>& message)
{
    return ports.sendWithRecovery(message, [this] { recover(); });
}

void FirstConnectionLink::recover()
{
    recovered = true;
    connected = false;
    // The callback stays registered: the reopened input delivers to it again.
    ports.closeOutput();
    ports.closeInput();
    check();
}

void FirstConnectionLink::finishUpdate()
{
    // A send that needed a recovery which did not find the instrument went nowhere.
    const bool sent = send(SysEx::MIDI_SYSEX_UPDATE_FINISH) && isConnected();
    Q_EMIT updateTransferDone();
    // The watch goes on either way: the instrument reboots to apply the update, and its
    // return (a loss, then a fresh connection) asks for the firmware it came back with.
    startPoll();
    if (!sent) {
        Q_EMIT updateFinishFailed(
            tr("The update file is on Tavlo's volume, but Tavlo could not be told to apply it: "
               "it did not answer. Unplug Tavlo and plug it in again, then press Try again."));
    }
}
