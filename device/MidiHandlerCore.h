#pragma once

#include "InstrumentPorts.h"
#include "SysExReceiver.h"
#include "UsbIdentityLookup.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class LinkPolicy;
class MidiBackend;

// What both editions' MidiHandler do: the receiver of the instrument's messages, its ports,
// and the steps of the update path, acting through the edition's link (LinkPolicy) for what
// differs. Lives on the main thread; only the receiver runs on the MIDI input thread, and
// what it hears is passed on there (DirectConnection all the way to the MidiHandler).
class MidiHandlerCore : public QObject
{
    Q_OBJECT

public:
    // transferMessages: whether the instrument's transfer acknowledgments mean anything
    // (SysExReceiver).
    MidiHandlerCore(std::shared_ptr<MidiBackend> backend, std::shared_ptr<UsbIdentityLookup> usb,
                    bool transferMessages, QObject* parent = nullptr);
    ~MidiHandlerCore() override;

    // For the edition's link, which is made over them.
    InstrumentPorts& ports() { return instrumentPorts; }
    SysExReceiver& receiver() { return sysExReceiver; }

    // Acts through link from now on and starts it: without a MIDI service the presence poll
    // looks for the service at every tick (midiProblem() says why it cannot be used), and
    // every operation that needs the MIDI objects finds them missing and does nothing. link
    // must outlive the core's use of it.
    void start(LinkPolicy& link);
    // One look of the presence poll.
    bool check();
    // The update file is at hand: the instrument is switched to update mode
    // (deviceSetToTransferMode), or told why it could not be (updateModeFailed).
    void fileDownloaded(bool success);
    // Whether the instrument waits in update mode already (an interrupted update): then the
    // next fileDownloaded() sends no update-mode message and goes on to the volume at once.
    void setInUpdateMode(bool already) { alreadyInUpdateMode = already; }
    // The hand-over's result: the instrument is told to apply the update, or (after a failed
    // hand-over) expected on the bus beside its volume, where an absence is an unplug again.
    void transferComplete(bool success);

    UsbIds lookUpUsbIds(const QString& portName) const;
    // Why the MIDI service, or the instrument's ports, cannot be used now (Kind None: nothing
    // stands in the way), and the sentence the user is shown for it (empty for None).
    MidiProblem midiProblem() const { return instrumentPorts.problem(); }
    QString midiProblemText() const;
    bool acknowledgmentSeen() const { return sysExReceiver.acknowledgmentSeen(); }
    // The MIDI input callback with a core as user data; nothing without one.
    static void midiCallback(double timeStamp, std::vector<unsigned char>* message,
                             MidiHandlerCore* core);

    // Relays the signals both editions' MidiHandler publish to the same-named signals of the
    // facade, directly: the version report arrives on the MIDI input thread.
    template <class Facade>
    void relaySignalsTo(Facade* facade)
    {
        connect(this, &MidiHandlerCore::deviceFound, facade, &Facade::deviceFound,
                Qt::DirectConnection);
        connect(this, &MidiHandlerCore::deviceSetToTransferMode, facade,
                &Facade::deviceSetToTransferMode, Qt::DirectConnection);
        connect(this, &MidiHandlerCore::updateModeFailed, facade, &Facade::updateModeFailed,
                Qt::DirectConnection);
        connect(this, &MidiHandlerCore::updateTransferDone, facade, &Facade::updateTransferDone,
                Qt::DirectConnection);
        connect(this, &MidiHandlerCore::updateFinishFailed, facade, &Facade::updateFinishFailed,
                Qt::DirectConnection);
        connect(this, &MidiHandlerCore::tavloReceivedVersion, facade,
                &Facade::tavloReceivedVersion, Qt::DirectConnection);
        connect(this, &MidiHandlerCore::midiProblemChanged, facade, &Facade::midiProblemChanged,
                Qt::DirectConnection);
    }

Q_SIGNALS:
    void deviceFound(bool found);
    void deviceSetToTransferMode();
    // The update-mode message did not reach the instrument: why and what to do.
    void updateModeFailed(QString reason);
    void updateTransferDone();
    void updateFinishFailed(QString reason);
    void tavloReceivedVersion(QString version);
    // midiProblem() changed: the sentence for the new one (empty: the problem is gone).
    void midiProblemChanged(QString text);

private:
    // In this order: the ports (and with them the input callback) go before the receiver.
    SysExReceiver sysExReceiver;
    InstrumentPorts instrumentPorts;
    LinkPolicy* link = nullptr;
    bool alreadyInUpdateMode = false;
};
