#include "RtMidiOutputPort.h"

#include "RtMidiCall.h"

using RtMidiCall::succeeded;
using RtMidiCall::valueOf;

std::unique_ptr<RtMidiOutputPort> RtMidiOutputPort::create(RtMidi::Api api)
{
    std::unique_ptr<RtMidiOutputPort> port;
    succeeded([&] { port.reset(new RtMidiOutputPort(api)); });
    return port;
}

RtMidiOutputPort::RtMidiOutputPort(RtMidi::Api api)
    : output(api, "RtMidi Output Client")
{
}

std::optional<unsigned int> RtMidiOutputPort::getPortCount()
{
    return valueOf([this] { return output.getPortCount(); });
}

std::optional<std::string> RtMidiOutputPort::getPortName(unsigned int portNumber)
{
    return valueOf([&] { return output.getPortName(portNumber); });
}

bool RtMidiOutputPort::openPort(unsigned int portNumber, const std::string& portName)
{
    return succeeded([&] { output.openPort(portNumber, portName); });
}

bool RtMidiOutputPort::closePort()
{
    return succeeded([this] { output.closePort(); });
}

bool RtMidiOutputPort::sendMessage(const std::vector<unsigned char>& message)
{
    // The library reads the first byte of the vector: an empty message is refused here.
    if (message.empty())
        return false;
    return succeeded([&] { output.sendMessage(&message); });
}
