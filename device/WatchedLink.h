#pragma once

#include "DeviceTimings.h"
#include "LinkPolicy.h"
#include "ReenumerationWait.h"

#include <QObject>
#include <QTimer>

#include <vector>

class InstrumentPorts;
class SysExReceiver;

// The full edition's link: the presence poll watches the instrument the whole time, reports
// each connection and each loss once, and asks a freshly connected instrument for its version.
// Its state is whether it counts the instrument as connected, whether the connection is a
// reconnection (which asks no version), and whether the last report said found: a wait that
// ends with the instrument gone has closed the ports without a report, and the next look
// reports the loss.
//
// Every message after which the instrument leaves the bus (the update finish, the transfer
// start, the transfer end) goes out through the re-enumeration wait, which takes the link over
// until the instrument is back; the poll starts again when the wait has ended.
class WatchedLink : public LinkPolicy
{
    Q_OBJECT

public:
    WatchedLink(InstrumentPorts& ports, SysExReceiver& receiver, const DeviceTimings& timings,
                QObject* parent = nullptr);

    bool start() override;
    bool check() override;
    bool send(const std::vector<unsigned char>& message) override;
    bool instrumentConnected() const override { return isConnected; }
    void startPoll() override;
    // Also drops a version request still due: the instrument is about to leave the bus.
    void stopPoll() override;
    bool polling() const { return poll.isActive(); }
    bool connected() const { return isConnected; }

    // The update-finish message goes out through the wait; updateFinishFailed when the wait
    // ends without the instrument back or without a send that went out. After a finish that
    // went out, the instrument is asked for its firmware (the update's confirmation).
    void finishUpdate() override;
    // The transfer start once at once, then through the wait.
    void sendTransferStart();
    // After the transfer volume's eject: the transfer end through the wait (a failed eject
    // changes nothing).
    void transferVolumeEjected(bool success);

Q_SIGNALS:
    // The re-enumeration wait has ended: the instrument is back (or given up).
    void reenumerationFinished(bool success);
    // The wait ended without an acknowledgment of a transfer message.
    void transferStartUnacknowledged();
    void transferEndUnacknowledged();

private:
    void recover();
    void requestVersion();
    void lose();
    // The wait takes the link over: the ports are closed, the MIDI objects made anew, and the
    // next connection is a reconnection. A wait started while another runs replaces it.
    void awaitReturn(const std::vector<unsigned char>& message);
    void onWaitFinished(bool success);

    InstrumentPorts& ports;
    const int versionRequestDelayMs;
    const int presencePollMs;
    QTimer poll;
    // The version request of the present connection; a connection lost before it is due
    // takes it along.
    QTimer versionRequest;
    ReenumerationWait wait;
    bool isConnected = false;
    bool reportedFound = false;
    bool reconnecting = false;
    // The running wait carries the update-finish message.
    bool finishPending = false;
};
