#pragma once

#include "DeviceTimings.h"
#include "MidiHandlerCore.h"
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
// The full edition's declarations over MidiHandlerCore, whose link is the WatchedLink (the
// presence watched for the whole run, the re-enumeration wait after every mode switch).
class MidiHandler : public QObject
{
    Q_OBJECT
    // The sentence for why the MIDI service or the instrument's ports cannot be used; empty
    // while nothing stands in the way. The presence poll goes on meanwhile.
    Q_PROPERTY(QString midiProblemText READ midiProblemText NOTIFY midiProblemChanged)

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
    UsbIds lookUpUsbIds(const QString& portName) { return core.lookUpUsbIds(portName); }

    MidiProblem midiProblem() const { return core.midiProblem(); }
    QString midiProblemText() const { return core.midiProblemText(); }

    // Whether a transfer acknowledgment has arrived since the flag was last cleared.
    bool acknowledgmentSeen() const { return core.acknowledgmentSeen(); }

Q_SIGNALS:
    void deviceReenumerationFinished(bool success);
    void deviceFound(bool deviceFound);
    void deviceSetToTransferMode();
    // The update-mode message could not be sent: why and what to do. Nothing else follows.
    void updateModeFailed(QString reason);
    void updateTransferDone();
    // The final wait after the copy ended without the update-finish message having gone out
    // (the instrument did not come back, or every send failed): why and what to do.
    void updateFinishFailed(QString reason);
    void transferSysExReceived();
    void transferSysExEndReceived();
    void tavloReceivedVersion(QString version);
    // midiProblem() changed: the sentence for the new one (empty: the problem is gone).
    void midiProblemChanged(QString text);

private Q_SLOTS:
    bool checkForTavloHost() { return core.check(); }

public Q_SLOTS:
    void transferComplete(bool success) { core.transferComplete(success); }
    void fileDownloaded(bool success) { core.fileDownloaded(success); }
    // The instrument waits in update mode already: no update-mode message before the copy.
    void setInUpdateMode(bool already) { core.setInUpdateMode(already); }
    void onEjectCompleted(bool success) { link.transferVolumeEjected(success); }

public:
    Q_INVOKABLE void sendTransferSysEx() { link.sendTransferStart(); }

private:
    // In this order: the link goes before the ports and the receiver it was made over.
    MidiHandlerCore core;
    WatchedLink link;
};
