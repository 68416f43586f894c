#include "RtMidiOutputPort.h"

#include "RtMidiOpenProblem.h"

using RtMidiCall::succeeded;
using RtMidiCall::valueOf;

std::unique_ptr<RtMidiOutputPort> RtMidiOutputPort::create(RtMidi::Api api, MidiProblem* problem)
{
    std::unique_ptr<RtMidiOutputPort> port;
    RtMidiCall::Errors errors;
    if (!succeeded(errors, [&] { port.reset(new RtMidiOutputPort(api)); }) && problem)
        *problem = {MidiProblem::Kind::LibraryError, errors.message};
    return port;
}

RtMidiOutputPort::RtMidiOutputPort(RtMidi::Api api)
    : output(api, "RtMidi Output Client")
{
    // From here on the library reports its errors to the callback instead of throwing.
    output.setErrorCallback(&RtMidiCall::onError, &errors);
}

std::optional<unsigned int> RtMidiOutputPort::getPortCount()
{
    return valueOf(errors, [this] { return output.getPortCount(); });
}

std::optional<std::string> RtMidiOutputPort::getPortName(unsigned int portNumber)
{
    return valueOf(errors, [&] { return output.getPortName(portNumber); });
}

bool RtMidiOutputPort::openPort(unsigned int portNumber, const std::string& portName)
{
    const bool opened = succeeded(errors, [&] { output.openPort(portNumber, portName); });
    openProblem = opened ? MidiProblem{}
                         : RtMidiOpenProblem::afterFailedOpen(false, portNumber, errors.message);
    return opened;
}

bool RtMidiOutputPort::closePort()
{
    return succeeded(errors, [this] { output.closePort(); });
}

bool RtMidiOutputPort::sendMessage(const std::vector<unsigned char>& message)
{
    // The library reads the first byte of the vector: an empty message is refused here.
    if (message.empty())
        return false;
    return succeeded(errors, [&] { output.sendMessage(&message); });
}
