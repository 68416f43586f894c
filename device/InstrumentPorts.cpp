#include "InstrumentPorts.h"
#include "DeviceLog.h"

#include "InstrumentUsbIdentity.h"

#include "MidiBackend.h"
#include "MidiInput.h"
#include "MidiOutput.h"
#include "SysExReceiver.h"
#include "UsbNameMatching.h"

#include <utility>

namespace {

// Names under which the ports are opened.
const std::string kInputPortName = "RtMidi Input";
const std::string kOutputPortName = "RtMidi Output";

// The first port of one direction that is the instrument; -1 when none is.
template<typename Port, typename IsInstrument>
int firstInstrumentPort(Port& port, bool* unreadable, const IsInstrument& isInstrument)
{
    const std::optional<unsigned int> count = port.getPortCount();
    if (!count)
        *unreadable = true;
    for (unsigned int i = 0; i < count.value_or(0); ++i) {
        const std::optional<std::string> name = port.getPortName(i);
        if (!name) {
            *unreadable = true;
            continue;
        }
        if (isInstrument(*name))
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

InstrumentPorts::InstrumentPorts(std::shared_ptr<MidiBackend> backend,
                                 std::shared_ptr<UsbIdentityLookup> usb, SysExReceiver* receiver)
    : backend(std::move(backend))
    , usb(std::move(usb))
    , receiver(receiver)
{
}

InstrumentPorts::~InstrumentPorts()
{
    // No callback may reach a receiver that goes next; deleting the input closes its port and
    // stops its callback before the output goes.
    cancelCallback();
    drop();
}

bool InstrumentPorts::create()
{
    if (backend) {
        midiIn = backend->createInput();
        if (midiIn)
            midiOut = backend->createOutput();
    }
    if (!available()) {
        drop();
        MidiProblem why = backend ? backend->lastProblem() : MidiProblem{};
        if (!why.isProblem())
            why.kind = MidiProblem::Kind::LibraryError;
        setProblem(why);
        return false;
    }
    // The service is there again; a port's problem stays until its ports open or go.
    if (current.kind != MidiProblem::Kind::PortInUse)
        setProblem({});
    return true;
}

void InstrumentPorts::setProblemListener(std::function<void(const MidiProblem&)> listener)
{
    problemListener = std::move(listener);
}

void InstrumentPorts::setProblem(const MidiProblem& problem)
{
    if (problem == current)
        return;
    current = problem;
    if (problem.isProblem())
        qCWarning(lcDevice, "MIDI problem: %s (%s)", DeviceLog::problemKindName(problem.kind),
                  problem.detail.empty() ? "no detail" : problem.detail.c_str());
    else
        qCInfo(lcDevice, "MIDI problem gone");
    if (problemListener)
        problemListener(current);
}

void InstrumentPorts::recreate()
{
    drop();
    if (create())
        switchFilteringOff();
}

void InstrumentPorts::drop()
{
    midiIn.reset();
    midiOut.reset();
}

void InstrumentPorts::switchFilteringOff()
{
    if (midiIn)
        midiIn->ignoreTypes(false, false, false);
}

bool InstrumentPorts::isInstrument(const std::string& portName) const
{
    const UsbIds ids = lookUpUsbIds(QString::fromStdString(portName));
    return isInstrumentIdentity(ids);
}

InstrumentPorts::Scan InstrumentPorts::find()
{
    Scan scan;
    if (!available())
        return scan;
    auto matches = [this](const std::string& name) { return isInstrument(name); };
    scan.input = firstInstrumentPort(*midiIn, &scan.unreadable, matches);
    scan.output = firstInstrumentPort(*midiOut, &scan.unreadable, matches);
    // The instrument's ports are gone: nothing holds them any more as far as it matters.
    if (current.kind == MidiProblem::Kind::PortInUse && scan.input < 0 && scan.output < 0
        && !scan.unreadable)
        setProblem({});
    return scan;
}

bool InstrumentPorts::open(const Scan& scan)
{
    if (!available() || !scan.complete())
        return false;
    MidiProblem why;
    bool opened = midiIn->openPort(static_cast<unsigned int>(scan.input), kInputPortName);
    if (!opened) {
        why = midiIn->lastProblem();
    } else if (!midiIn->setCallback(&SysExReceiver::midiCallback, receiver)
               || !midiIn->ignoreTypes(false, false, false)) {
        opened = false;
        why = {MidiProblem::Kind::LibraryError, "the input's callback could not be set"};
    } else if (!midiOut->openPort(static_cast<unsigned int>(scan.output), kOutputPortName)) {
        opened = false;
        why = midiOut->lastProblem();
    }
    if (!opened && !why.isProblem())
        why.kind = MidiProblem::Kind::LibraryError;
    setProblem(why);
    qCInfo(lcDevice, "Instrument ports %s: input \"%s\", output \"%s\"",
           opened ? "opened" : "could not be opened",
           midiIn->getPortName(unsigned(scan.input)).value_or("?").c_str(),
           midiOut->getPortName(unsigned(scan.output)).value_or("?").c_str());
    if (!opened) {
        // Leave nothing half open: an input left open here would stay bound to a port that
        // may carry another number by the next attempt.
        cancelCallback();
        closeInput();
        closeOutput();
    }
    return opened;
}

void InstrumentPorts::cancelCallback()
{
    if (midiIn)
        midiIn->cancelCallback();
}

void InstrumentPorts::closeInput()
{
    if (midiIn)
        midiIn->closePort();
}

void InstrumentPorts::closeOutput()
{
    if (midiOut)
        midiOut->closePort();
}

void InstrumentPorts::closeAll()
{
    cancelCallback();
    closeOutput();
    closeInput();
}

bool InstrumentPorts::send(const std::vector<unsigned char>& message)
{
    const bool sent = midiOut && midiOut->sendMessage(message);
    qCDebug(lcDevice, "SysEx %s: %s", sent ? "sent" : "NOT sent", qPrintable(DeviceLog::hex(message)));
    return sent;
}

bool InstrumentPorts::sendWithRecovery(const std::vector<unsigned char>& message,
                                       const std::function<void()>& recover)
{
    if (!midiOut)
        return false;
    if (send(message))
        return true;
    recover();
    return send(message);
}

bool InstrumentPorts::isInstrumentIdentity(const UsbIds& ids)
{
    return InstrumentUsbIdentity::matches(ids);
}

UsbIds InstrumentPorts::lookUpUsbIds(const QString& portName) const
{
    if (!usb)
        return {};
    return usb->lookUp(portName);
}

QString InstrumentPorts::normalizedDeviceName(const QString& name)
{
    return QString::fromStdWString(UsbNameMatching::normalizedDeviceName(name.toStdWString()));
}
