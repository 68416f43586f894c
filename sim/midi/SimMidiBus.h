#pragma once

#include "MidiInput.h"
#include "MidiProblem.h"
#include "UsbIdentityLookup.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>

#include <functional>
#include <memory>
#include <vector>

class MidiBackend;
class SimMidiDelivery;
class SimMidiInput;
class SimMidiInstrument;

// The simulated MIDI service and USB bus: devices attach and detach with a USB identity behind
// their ports, the program reaches them through the same seams as the real system (backend()
// and usbLookup()), and messages to the program are delivered on a thread of the bus's own,
// like the real input callback. Lives on the main thread; its state is touched there only.
class SimMidiBus : public QObject
{
    Q_OBJECT

public:
    // One port as the program sees it.
    struct Port
    {
        int id = 0;
        int device = 0;
        QString name;
        bool programInput = false; // true: the program reads from it; false: writes to it
        UsbIds ids;
        QPointer<SimMidiInstrument> owner;
    };

    explicit SimMidiBus(QObject* parent = nullptr);
    ~SimMidiBus() override;

    // The seams handed to the program under test.
    std::shared_ptr<MidiBackend> backend();
    std::shared_ptr<UsbIdentityLookup> usbLookup();

    // Attaches a USB device with an input and/or an output port for the program. Each
    // attachment gets a fresh sequencer client number, as after a real re-enumeration; the
    // ports are named "<name>:<name> MIDI 1 <client>:0". Returns the device's handle.
    int attachDevice(const QString& name, const UsbIds& ids, bool programInput, bool programOutput,
                     SimMidiInstrument* owner = nullptr);
    void detachDevice(int device);
    QStringList inputPortNames() const;
    QStringList outputPortNames() const;

    // Faults on request.
    void setMidiServiceAvailable(bool available); // false: no MIDI object can be made
    // The MIDI service off in a chosen way (ServiceMissing, PermissionDenied, LibraryError:
    // no MIDI object can be made, and the backend says why, as the real one would), or on
    // again (None).
    void setMidiServiceProblem(MidiProblem::Kind kind);
    // Another program holds every attached device's ports: their opens fail with PortInUse
    // until it is set back.
    void setPortsInUse(bool inUse);
    void failNextSends(int count);                // the next sends fail
    // Every send of this message fails (on any port, before the program's resend too) until
    // it is set again; an empty message ends that.
    void failSendsOf(const QByteArray& message);
    void failNextPortOpens(int count);            // the next port opens fail
    void setUnreadablePortName(const QString& name); // reading this name fails

    // What the program did.
    int droppedSendCount() const { return droppedSends; }
    int failedSendCount() const { return failedSends; }
    int midiObjectsCreated() const { return objectsCreated; }

    // Delivers a message from a device to every program input open on its input port, on the
    // delivery thread. Returns whether any open input took it.
    bool sendToProgram(int device, const QByteArray& message);

    // --- used by the simulated ports ---
    const Port* port(int id) const;
    const Port* portAt(bool programInput, unsigned int index) const;
    unsigned int portCount(bool programInput) const;
    bool takeSendFault(const std::vector<unsigned char>& message);
    bool takeOpenFault();
    bool portNameUnreadable(const QString& name) const { return name == unreadableName; }
    bool midiServiceAvailable() const { return !serviceProblem.isProblem(); }
    MidiProblem midiServiceProblem() const { return serviceProblem; }
    bool portsInUse() const { return portsHeld; }
    void noteMidiObjectCreated() { ++objectsCreated; }
    void registerInput(SimMidiInput* input);
    void unregisterInput(SimMidiInput* input);
    int newInputId() { return ++lastInputId; }
    // Runs f on the delivery thread and waits for it.
    void onDeliveryThread(const std::function<void(SimMidiDelivery*)>& f);
    void programSentTo(int portId, const std::vector<unsigned char>& message);
    void programSendDropped(const std::vector<unsigned char>& message);

Q_SIGNALS:
    // The program sent a message on an open, attached port.
    void programSent(QString portName, QByteArray message);
    // The program sent a message on a closed port; the MIDI service dropped it.
    void programSendWasDropped(QByteArray message);
    // A send failed because of failNextSends() or failSendsOf().
    void programSendFailed();
    void portsChanged();

private:
    QThread deliveryThread;
    SimMidiDelivery* delivery = nullptr;
    QList<Port> ports;
    QList<SimMidiInput*> inputs;
    int lastPortId = 0;
    int lastDevice = 0;
    int nextClient = 24;
    int lastInputId = 0;
    MidiProblem serviceProblem;
    bool portsHeld = false;
    int sendFaults = 0;
    QByteArray failingMessage;
    int openFaults = 0;
    QString unreadableName;
    int droppedSends = 0;
    int failedSends = 0;
    int objectsCreated = 0;
};
