#pragma once

#include "DeviceTimings.h"

#include <QObject>
#include <QTimer>

#include <vector>

class InstrumentPorts;

// The full edition's link: the presence poll watches the instrument the whole time, reports
// each connection and each loss once, and asks a freshly connected instrument for its version.
// Its state is whether it counts the instrument as connected, whether the connection is a
// reconnection (which asks no version), and whether the last report said found: a wait that
// ends with the instrument gone has closed the ports without a report, and the next look
// reports the loss.
class WatchedLink : public QObject
{
    Q_OBJECT

public:
    WatchedLink(InstrumentPorts& ports, const DeviceTimings& timings, QObject* parent = nullptr);

    // Makes the MIDI objects and starts the presence poll; without a MIDI service the link
    // stays inert (false).
    bool start();
    // One look of the presence poll. True while the instrument is connected.
    bool check();
    // Sends, with one recovery of the link and one resend when the send fails.
    void send(const std::vector<unsigned char>& message);

    void startPoll();
    // Also drops a version request still due: the instrument is about to leave the bus.
    void stopPoll();
    bool polling() const { return poll.isActive(); }
    bool connected() const { return isConnected; }

    // The re-enumeration wait takes the link over: the ports are closed, the MIDI objects made
    // anew, and the next connection is a reconnection.
    void beginWait();
    void waitOpenedPorts() { isConnected = true; }
    void waitClosedPorts() { isConnected = false; }
    void waitGaveUp() { reconnecting = false; }

Q_SIGNALS:
    void deviceFound(bool found);

private:
    void recover();
    void requestVersion();
    void lose();

    InstrumentPorts& ports;
    const int versionRequestDelayMs;
    const int presencePollMs;
    QTimer poll;
    // The version request of the present connection; a connection lost before it is due
    // takes it along.
    QTimer versionRequest;
    bool isConnected = false;
    bool reportedFound = false;
    bool reconnecting = false;
};
