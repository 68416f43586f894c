#include "RtMidiInputPort.h"

#include "RtMidiOpenProblem.h"

using RtMidiCall::succeeded;
using RtMidiCall::valueOf;

std::unique_ptr<RtMidiInputPort> RtMidiInputPort::create(RtMidi::Api api, MidiProblem* problem)
{
    std::unique_ptr<RtMidiInputPort> port;
    RtMidiCall::Errors errors;
    if (!succeeded(errors, [&] { port.reset(new RtMidiInputPort(api)); }) && problem)
        *problem = {MidiProblem::Kind::LibraryError, errors.message};
    return port;
}

RtMidiInputPort::RtMidiInputPort(RtMidi::Api api)
    : input(api, "RtMidi Input Client", 100)
{
    // From here on the library reports its errors to the callback instead of throwing.
    input.setErrorCallback(&RtMidiCall::onError, &errors);
}

std::optional<unsigned int> RtMidiInputPort::getPortCount()
{
    return valueOf(errors, [this] { return input.getPortCount(); });
}

std::optional<std::string> RtMidiInputPort::getPortName(unsigned int portNumber)
{
    return valueOf(errors, [&] { return input.getPortName(portNumber); });
}

bool RtMidiInputPort::openPort(unsigned int portNumber, const std::string& portName)
{
    const bool opened = succeeded(errors, [&] { input.openPort(portNumber, portName); });
    openProblem = opened ? MidiProblem{}
                         : RtMidiOpenProblem::afterFailedOpen(true, portNumber, errors.message);
    return opened;
}

bool RtMidiInputPort::closePort()
{
    return succeeded(errors, [this] { input.closePort(); });
}

bool RtMidiInputPort::setCallback(Callback callback, void* userData)
{
    return succeeded(errors, [&] { input.setCallback(callback, userData); });
}

bool RtMidiInputPort::cancelCallback()
{
    return succeeded(errors, [this] { input.cancelCallback(); });
}

bool RtMidiInputPort::ignoreTypes(bool midiSysex, bool midiTime, bool midiSense)
{
    return succeeded(errors, [&] { input.ignoreTypes(midiSysex, midiTime, midiSense); });
}
