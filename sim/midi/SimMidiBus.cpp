#include "SimMidiBus.h"

#include "SequencerOpenProblem.h"
#include "SimMidiBackend.h"
#include "SimMidiDelivery.h"
#include "SimMidiInput.h"
#include "SimMidiInstrument.h"
#include "SimUsbIdentityLookup.h"

#include <QMetaObject>

#include <cerrno>

SimMidiBus::SimMidiBus(QObject* parent)
    : QObject(parent)
{
    delivery = new SimMidiDelivery;
    delivery->moveToThread(&deliveryThread);
    deliveryThread.setObjectName(QStringLiteral("sim MIDI input"));
    deliveryThread.start();
}

SimMidiBus::~SimMidiBus()
{
    // Deleted on its own thread after any delivery in flight, when the thread finishes.
    delivery->deleteLater();
    delivery = nullptr;
    deliveryThread.quit();
    deliveryThread.wait();
    for (SimMidiInput* input : std::as_const(inputs))
        input->busGone();
}

std::shared_ptr<MidiBackend> SimMidiBus::backend()
{
    return std::make_shared<SimMidiBackend>(this);
}

std::shared_ptr<UsbIdentityLookup> SimMidiBus::usbLookup()
{
    return std::make_shared<SimUsbIdentityLookup>(this);
}

int SimMidiBus::attachDevice(const QString& name, const UsbIds& ids, bool programInput,
                             bool programOutput, SimMidiInstrument* owner)
{
    const int device = ++lastDevice;
    const int client = nextClient++;
    const QString portName = QStringLiteral("%1:%1 MIDI 1 %2:0").arg(name).arg(client);
    for (bool direction : {true, false}) {
        if ((direction && !programInput) || (!direction && !programOutput))
            continue;
        Port port;
        port.id = ++lastPortId;
        port.device = device;
        port.name = portName;
        port.programInput = direction;
        port.ids = ids;
        port.owner = owner;
        ports.append(port);
    }
    Q_EMIT portsChanged();
    return device;
}

void SimMidiBus::detachDevice(int device)
{
    const auto removed = ports.removeIf([device](const Port& p) { return p.device == device; });
    if (removed > 0)
        Q_EMIT portsChanged();
}

QStringList SimMidiBus::inputPortNames() const
{
    QStringList names;
    for (const Port& p : ports) {
        if (p.programInput)
            names << p.name;
    }
    return names;
}

QStringList SimMidiBus::outputPortNames() const
{
    QStringList names;
    for (const Port& p : ports) {
        if (!p.programInput)
            names << p.name;
    }
    return names;
}

void SimMidiBus::setMidiServiceAvailable(bool available)
{
    setMidiServiceProblem(available ? MidiProblem::Kind::None : MidiProblem::Kind::ServiceMissing);
}

void SimMidiBus::setMidiServiceProblem(MidiProblem::Kind kind)
{
    // The words the real service gives for each (SequencerOpenProblem's).
    switch (kind) {
    case MidiProblem::Kind::None:
        serviceProblem = {};
        return;
    case MidiProblem::Kind::ServiceMissing:
        serviceProblem = SequencerOpenProblem::fromErrno(ENOENT);
        return;
    case MidiProblem::Kind::PermissionDenied:
        serviceProblem = SequencerOpenProblem::fromErrno(EACCES);
        return;
    case MidiProblem::Kind::PortInUse:
    case MidiProblem::Kind::LibraryError:
        break;
    }
    serviceProblem = SequencerOpenProblem::fromErrno(EIO);
}

void SimMidiBus::setPortsInUse(bool inUse)
{
    portsHeld = inUse;
}

void SimMidiBus::failNextSends(int count)
{
    sendFaults = count;
}

void SimMidiBus::failNextPortOpens(int count)
{
    openFaults = count;
}

void SimMidiBus::setUnreadablePortName(const QString& name)
{
    unreadableName = name;
}

void SimMidiBus::failSendsOf(const QByteArray& message)
{
    failingMessage = message;
}

bool SimMidiBus::takeSendFault(const std::vector<unsigned char>& message)
{
    const bool chosen = !failingMessage.isEmpty()
        && QByteArray(reinterpret_cast<const char*>(message.data()), qsizetype(message.size()))
            == failingMessage;
    if (!chosen && sendFaults <= 0)
        return false;
    if (!chosen)
        --sendFaults;
    ++failedSends;
    Q_EMIT programSendFailed();
    return true;
}

bool SimMidiBus::takeOpenFault()
{
    if (openFaults <= 0)
        return false;
    --openFaults;
    return true;
}

const SimMidiBus::Port* SimMidiBus::port(int id) const
{
    for (const Port& p : ports) {
        if (p.id == id)
            return &p;
    }
    return nullptr;
}

const SimMidiBus::Port* SimMidiBus::portAt(bool programInput, unsigned int index) const
{
    unsigned int i = 0;
    for (const Port& p : ports) {
        if (p.programInput != programInput)
            continue;
        if (i == index)
            return &p;
        ++i;
    }
    return nullptr;
}

unsigned int SimMidiBus::portCount(bool programInput) const
{
    unsigned int count = 0;
    for (const Port& p : ports) {
        if (p.programInput == programInput)
            ++count;
    }
    return count;
}

void SimMidiBus::registerInput(SimMidiInput* input)
{
    inputs.append(input);
}

void SimMidiBus::unregisterInput(SimMidiInput* input)
{
    inputs.removeAll(input);
}

void SimMidiBus::onDeliveryThread(const std::function<void(SimMidiDelivery*)>& f)
{
    if (!delivery)
        return;
    if (QThread::currentThread() == &deliveryThread) {
        f(delivery);
        return;
    }
    QMetaObject::invokeMethod(delivery, [this, &f] { f(delivery); }, Qt::BlockingQueuedConnection);
}

bool SimMidiBus::sendToProgram(int device, const QByteArray& message)
{
    if (!delivery || message.isEmpty())
        return false;
    const std::vector<unsigned char> bytes(message.begin(), message.end());
    bool taken = false;
    for (const Port& p : std::as_const(ports)) {
        if (p.device != device || !p.programInput)
            continue;
        for (SimMidiInput* input : std::as_const(inputs)) {
            unsigned long long session = 0;
            if (!input->acceptsFrom(p.id, bytes, &session))
                continue;
            taken = true;
            const int inputId = input->id();
            QMetaObject::invokeMethod(
                delivery,
                [d = delivery, inputId, session, bytes] { d->deliver(inputId, session, bytes); },
                Qt::QueuedConnection);
        }
    }
    return taken;
}

void SimMidiBus::programSentTo(int portId, const std::vector<unsigned char>& message)
{
    const Port* p = port(portId);
    if (!p)
        return;
    const QByteArray bytes(reinterpret_cast<const char*>(message.data()),
                           static_cast<qsizetype>(message.size()));
    Q_EMIT programSent(p->name, bytes);
    // The device reads the message after the send has returned, as a real one would; one
    // unplugged in between (even if plugged in again since) never reads it.
    if (p->owner) {
        QPointer<SimMidiInstrument> owner = p->owner;
        const int device = p->device;
        QMetaObject::invokeMethod(
            owner.data(), [owner, device, bytes] {
                if (owner && owner->device == device)
                    owner->receiveFromProgram(bytes);
            },
            Qt::QueuedConnection);
    }
}

void SimMidiBus::programSendDropped(const std::vector<unsigned char>& message)
{
    ++droppedSends;
    Q_EMIT programSendWasDropped(QByteArray(reinterpret_cast<const char*>(message.data()),
                                            static_cast<qsizetype>(message.size())));
}
