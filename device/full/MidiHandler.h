#pragma once

#include "DeviceTimings.h"
#include "InstrumentPorts.h"
#include "ReenumerationWait.h"
#include "SysExReceiver.h"
#include "UsbIdentityLookup.h"
#include "WatchedLink.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class MidiBackend;

// The link to the instrument over USB-MIDI: finds its ports by the USB identity behind them,
// speaks its SysEx messages and carries it through its mode switches, during which it leaves
// the USB bus and comes back. Lives on the main thread; only midiCallback runs on the MIDI
// input thread.
//
// The full edition's facade over the device parts: the watched link, the receiver of the
// instrument's messages and the re-enumeration wait.
class MidiHandler : public QObject
{
    Q_OBJECT

public:
    MidiHandler(std::shared_ptr<MidiBackend> backend, std::shared_ptr<UsbIdentityLookup> usb,
                const DeviceTimings& timings, QObject* parent = nullptr);
    ~MidiHandler() override;

    // The MIDI input callback with the MidiHandler as user data. Runs on the MIDI library's
    // input thread; touches nothing but the acknowledgment flag.
    static void midiCallback(double timeStamp, std::vector<unsigned char>* message, void* userData);

    // A name compared with the friendly name of the USB device behind a port.
    static QString normalizedDeviceName(const QString& name);

    // Whether a device stands behind the port, and its vendor and product IDs.
    UsbIds lookUpUsbIds(const QString& portName);

    // Whether a transfer acknowledgment has arrived since the flag was last cleared.
    bool acknowledgmentSeen() const { return receiver.acknowledgmentSeen(); }

Q_SIGNALS:
    void deviceReenumerationFinished(bool success);
    void deviceFound(bool deviceFound);
    void deviceSetToTransferMode();
    void updateTransferDone();
    // The final wait after the copy ended without the update-finish message having gone out
    // (the instrument did not come back, or every send failed): why and what to do.
    void updateFinishFailed(QString reason);
    void transferSysExReceived();
    void transferSysExEndReceived();
    void tavloReceivedVersion(QString version);

private Q_SLOTS:
    bool checkForTavloHost();

public Q_SLOTS:
    void transferComplete(bool success);
    void fileDownloaded(bool success);
    void onEjectCompleted(bool success);

public:
    Q_INVOKABLE void sendTransferSysEx();

private:
    void reconnectAndResend(const std::vector<unsigned char>& message);
    void onWaitFinished(bool success);

    // In this order: the ports (and with them the input callback) go before the receiver.
    SysExReceiver receiver{true};
    InstrumentPorts ports;
    WatchedLink link;
    ReenumerationWait wait;
    // The running wait carries the update-finish message.
    bool finishPending = false;
};
