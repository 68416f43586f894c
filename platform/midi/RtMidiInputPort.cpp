#include "RtMidiInputPort.h"

#include "RtMidiCall.h"

using RtMidiCall::succeeded;
using RtMidiCall::valueOf;

std::unique_ptr<RtMidiInputPort> RtMidiInputPort::create(RtMidi::Api api)
{
    std::unique_ptr<RtMidiInputPort> port;
    succeeded([&] { port.reset(new RtMidiInputPort(api)); });
    return port;
}

RtMidiInputPort::RtMidiInputPort(RtMidi::Api api)
    : input(api, "RtMidi Input Client", 100)
{
}

std::optional<unsigned int> RtMidiInputPort::getPortCount()
{
    return valueOf([this] { return input.getPortCount(); });
}

std::optional<std::string> RtMidiInputPort::getPortName(unsigned int portNumber)
{
    return valueOf([&] { return input.getPortName(portNumber); });
}

bool RtMidiInputPort::openPort(unsigned int portNumber, const std::string& portName)
{
    return succeeded([&] { input.openPort(portNumber, portName); });
}

bool RtMidiInputPort::closePort()
{
    return succeeded([this] { input.closePort(); });
}

bool RtMidiInputPort::setCallback(Callback callback, void* userData)
{
    return succeeded([&] { input.setCallback(callback, userData); });
}

bool RtMidiInputPort::cancelCallback()
{
    return succeeded([this] { input.cancelCallback(); });
}

bool RtMidiInputPort::ignoreTypes(bool midiSysex, bool midiTime, bool midiSense)
{
    return succeeded([&] { input.ignoreTypes(midiSysex, midiTime, midiSense); });
}
