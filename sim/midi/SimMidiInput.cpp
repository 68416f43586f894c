#include "SimMidiInput.h"

#include "SimMidiBus.h"
#include "SimMidiDelivery.h"

SimMidiInput::SimMidiInput(SimMidiBus* bus)
    : bus(bus)
{
    if (!bus)
        return;
    inputId = bus->newInputId();
    bus->registerInput(this);
    bus->noteMidiObjectCreated();
}

SimMidiInput::~SimMidiInput()
{
    if (!bus)
        return;
    bus->unregisterInput(this);
    const int id = inputId;
    bus->onDeliveryThread([id](SimMidiDelivery* d) { d->forget(id); });
}

std::optional<unsigned int> SimMidiInput::getPortCount()
{
    return bus ? bus->portCount(true) : 0;
}

std::optional<std::string> SimMidiInput::getPortName(unsigned int portNumber)
{
    const SimMidiBus::Port* port = bus ? bus->portAt(true, portNumber) : nullptr;
    if (!port)
        return std::string(); // the library warns and gives an empty name
    if (bus->portNameUnreadable(port->name))
        return std::nullopt;
    return port->name.toStdString();
}

bool SimMidiInput::openPort(unsigned int portNumber, const std::string& portName)
{
    Q_UNUSED(portName);
    if (openPortId != 0)
        return true; // a valid connection already exists: a warning only
    openProblem = {MidiProblem::Kind::LibraryError, "the simulated port did not open"};
    if (!bus || bus->takeOpenFault())
        return false; // the service is gone, or the open fails on request
    const SimMidiBus::Port* port = bus->portAt(true, portNumber);
    if (!port)
        return false; // invalid port number
    if (bus->portsInUse()) {
        openProblem = {MidiProblem::Kind::PortInUse, "held by another program"};
        return false;
    }
    openProblem = {};
    openPortId = port->id;
    const unsigned long long s = ++session;
    const int id = inputId;
    bus->onDeliveryThread([id, s](SimMidiDelivery* d) { d->setOpenSession(id, s); });
    return true;
}

bool SimMidiInput::closePort()
{
    if (openPortId == 0)
        return true;
    openPortId = 0;
    if (!bus)
        return true;
    const int id = inputId;
    bus->onDeliveryThread([id](SimMidiDelivery* d) { d->setOpenSession(id, 0); });
    return true;
}

bool SimMidiInput::setCallback(Callback callback, void* userData)
{
    if (callbackSet)
        return true; // a callback is already set: a warning only
    if (!callback)
        return false; // the callback function value is invalid
    callbackSet = true;
    if (!bus)
        return true;
    const int id = inputId;
    bus->onDeliveryThread([id, callback, userData](SimMidiDelivery* d) {
        d->setCallback(id, callback, userData);
    });
    return true;
}

bool SimMidiInput::cancelCallback()
{
    if (!callbackSet)
        return true; // no callback set: a warning only
    callbackSet = false;
    if (!bus)
        return true;
    const int id = inputId;
    bus->onDeliveryThread([id](SimMidiDelivery* d) { d->setCallback(id, nullptr, nullptr); });
    return true;
}

bool SimMidiInput::ignoreTypes(bool midiSysex, bool midiTime, bool midiSense)
{
    ignoreSysex = midiSysex;
    ignoreTime = midiTime;
    ignoreSense = midiSense;
    return true;
}

bool SimMidiInput::acceptsFrom(int portId, const std::vector<unsigned char>& message,
                               unsigned long long* sessionOut) const
{
    if (openPortId == 0 || openPortId != portId || message.empty())
        return false;
    const unsigned char status = message[0];
    if (ignoreSysex && status == 0xF0)
        return false;
    if (ignoreTime && (status == 0xF8 || status == 0xF1))
        return false;
    if (ignoreSense && status == 0xFE)
        return false;
    *sessionOut = session;
    return true;
}
