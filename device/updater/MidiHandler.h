#pragma once

#include "DeviceTimings.h"
#include "FirstConnectionLink.h"
#include "MidiHandlerCore.h"
#include "UsbIdentityLookup.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class MidiBackend;

// The link to the instrument over USB-MIDI: finds its ports by the USB identity behind them
// and speaks its SysEx messages. Lives on the main thread; only midiCallback runs on the MIDI
// input thread.
//
// The update-only edition's declarations over MidiHandlerCore, whose link is the
// FirstConnectionLink: no transfer messages and no wait for the instrument to come back; the
// presence poll stops at the first connection, and the mode switches go out at once.
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
    // input thread and only emits signals.
    static void midiCallback(double timeStamp, std::vector<unsigned char>* message, void* userData);

    // A name compared with the friendly name of the USB device behind a port.
    static QString normalizedDeviceName(const QString& name);

    // Whether a device stands behind the port, and its vendor and product IDs.
    UsbIds lookUpUsbIds(const QString& portName) { return core.lookUpUsbIds(portName); }

    MidiProblem midiProblem() const { return core.midiProblem(); }
    QString midiProblemText() const { return core.midiProblemText(); }

Q_SIGNALS:
    void deviceFound(bool deviceFound);
    void deviceSetToTransferMode();
    // The update-mode message could not be sent: why and what to do. Nothing else follows.
    void updateModeFailed(QString reason);
    void updateTransferDone();
    // The update-finish message could not be sent after the copy: why and what to do.
    void updateFinishFailed(QString reason);
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

private:
    // In this order: the link goes before the ports and the receiver it was made over.
    MidiHandlerCore core;
    FirstConnectionLink link;
};
