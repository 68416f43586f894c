#pragma once

#include "DeviceTimings.h"

#include <QObject>
#include <QTimer>

#include <vector>

class InstrumentPorts;

// The update-only edition's link: the presence poll reports the instrument's absence at every
// look and stops at the first connection, which asks for the version at once. A failed send
// recovers the link once; from then on the link counts as reconnecting for good, so no later
// connection asks for the version again. A passing fault of the MIDI service (a name or a
// count that cannot be read, a port that does not open) ends a look quietly.
class FirstConnectionLink : public QObject
{
    Q_OBJECT

public:
    FirstConnectionLink(InstrumentPorts& ports, const DeviceTimings& timings,
                        QObject* parent = nullptr);

    // Makes the MIDI objects and starts the presence poll; without a MIDI service the link
    // stays inert (false). The input's filtering is switched off when its port opens.
    bool start();
    // One look; true when it connected.
    bool check();
    // Sends at once, with one recovery of the link and one resend when the send fails.
    void send(const std::vector<unsigned char>& message);

    bool polling() const { return poll.isActive(); }
    bool reconnecting() const { return recovered; }

Q_SIGNALS:
    void deviceFound(bool found);

private:
    void recover();

    InstrumentPorts& ports;
    const int presencePollMs;
    QTimer poll;
    bool recovered = false; // set by recover, never cleared
};
