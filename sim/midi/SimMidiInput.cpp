#include "SimMidiInput.h"

#include "SimMidiBus.h"
#include "SimMidiDelivery.h"

#include <RtMidi.h>

SimMidiInput::SimMidiInput(SimMidiBus* bus)
    : bus(bus)
{
    if (!bus || !bus->midiServiceAvailable())
        throw RtMidiError("simulated MIDI service unavailable", RtMidiError::DRIVER_ERROR);
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

unsigned int SimMidiInput::getPortCount()
{
    return bus ? bus->portCount(true) : 0;
}

std::string SimMidiInput::getPortName(unsigned int portNumber)
{
    const SimMidiBus::Port* port = bus ? bus->portAt(true, portNumber) : nullptr;
    if (!port)
        return {}; // the library warns and gives an empty name
    if (bus->portNameUnreadable(port->name))
        throw RtMidiError("simulated port name unreadable", RtMidiError::DRIVER_ERROR);
    return port->name.toStdString();
}

void SimMidiInput::openPort(unsigned int portNumber, const std::string& portName)
{
    Q_UNUSED(portName);
    if (openPortId != 0)
        return; // a valid connection already exists: a warning only
    if (!bus)
        throw RtMidiError("simulated MIDI service gone", RtMidiError::DRIVER_ERROR);
    if (bus->takeOpenFault())
        throw RtMidiError("simulated input open failure", RtMidiError::DRIVER_ERROR);
    const SimMidiBus::Port* port = bus->portAt(true, portNumber);
    if (!port)
        throw RtMidiError("invalid input port number", RtMidiError::INVALID_PARAMETER);
    openPortId = port->id;
    const unsigned long long s = ++session;
    const int id = inputId;
    bus->onDeliveryThread([id, s](SimMidiDelivery* d) { d->setOpenSession(id, s); });
}

void SimMidiInput::closePort()
{
    if (openPortId == 0)
        return;
    openPortId = 0;
    if (!bus)
        return;
    const int id = inputId;
    bus->onDeliveryThread([id](SimMidiDelivery* d) { d->setOpenSession(id, 0); });
}

void SimMidiInput::setCallback(Callback callback, void* userData)
{
    if (callbackSet)
        return; // a callback is already set: a warning only
    if (!callback)
        throw RtMidiError("callback function value is invalid", RtMidiError::WARNING);
    callbackSet = true;
    if (!bus)
        return;
    const int id = inputId;
    bus->onDeliveryThread([id, callback, userData](SimMidiDelivery* d) {
        d->setCallback(id, callback, userData);
    });
}

void SimMidiInput::cancelCallback()
{
    if (!callbackSet)
        return; // no callback set: a warning only
    callbackSet = false;
    if (!bus)
        return;
    const int id = inputId;
    bus->onDeliveryThread([id](SimMidiDelivery* d) { d->setCallback(id, nullptr, nullptr); });
}

void SimMidiInput::ignoreTypes(bool midiSysex, bool midiTime, bool midiSense)
{
    ignoreSysex = midiSysex;
    ignoreTime = midiTime;
    ignoreSense = midiSense;
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
