#pragma once

#include "DeviceTimings.h"
#include "LinkPolicy.h"

#include <QObject>
#include <QTimer>

#include <vector>

class InstrumentPorts;

// The update-only edition's link: the presence poll reports the instrument's absence at every
// look until it connects, which asks for the version at once. From then on the poll only
// watches: it reports nothing while the instrument stays, and reports its loss once (an
// unplug), after which the next connection starts afresh and asks for the version again.
// The owner stops the watch while the instrument leaves the bus on purpose (the update mode)
// and starts it again when it is expected back. A failed send recovers the link once; from
// then on, until a loss, no reconnection asks for the version again. A passing fault of the
// MIDI service (a name or a count that cannot be read, a port that does not open) ends a
// look quietly. The update-finish message goes out at once, once: there is no wait for the
// instrument to come back, only the watch, which sees it reboot.
class FirstConnectionLink : public LinkPolicy
{
    Q_OBJECT

public:
    FirstConnectionLink(InstrumentPorts& ports, const DeviceTimings& timings,
                        QObject* parent = nullptr);

    // The input's filtering is switched off when its port opens.
    bool start() override;
    // One look; true when it connected.
    bool check() override;
    // Sends at once, with one recovery of the link and one resend when the send fails; true
    // when the message went out.
    bool send(const std::vector<unsigned char>& message) override;
    bool instrumentConnected() const override { return connected; }

    void startPoll() override { poll.start(presencePollMs); }
    void stopPoll() override { poll.stop(); }
    // The file is in place on the still mounted volume: the message goes out at once, once,
    // and the watch starts again (the return after the reboot asks for the version). When
    // it did not go out (or went nowhere), updateFinishFailed says why.
    void finishUpdate() override;
    bool polling() const { return poll.isActive(); }
    bool reconnecting() const { return recovered; }
    // Whether the instrument counts as connected (a recovery that did not find it clears it).
    bool isConnected() const { return connected; }

private:
    void recover();

    InstrumentPorts& ports;
    const int presencePollMs;
    QTimer poll;
    bool recovered = false; // set by recover, cleared by a loss
    bool connected = false;
};
