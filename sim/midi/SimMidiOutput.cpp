#include "SimMidiOutput.h"

#include "SimMidiBus.h"

SimMidiOutput::SimMidiOutput(SimMidiBus* bus)
    : bus(bus)
{
    if (bus)
        bus->noteMidiObjectCreated();
}

std::optional<unsigned int> SimMidiOutput::getPortCount()
{
    return bus ? bus->portCount(false) : 0;
}

std::optional<std::string> SimMidiOutput::getPortName(unsigned int portNumber)
{
    const SimMidiBus::Port* port = bus ? bus->portAt(false, portNumber) : nullptr;
    if (!port)
        return std::string();
    if (bus->portNameUnreadable(port->name))
        return std::nullopt;
    return port->name.toStdString();
}

bool SimMidiOutput::openPort(unsigned int portNumber, const std::string& portName)
{
    Q_UNUSED(portName);
    if (openPortId != 0)
        return true; // already open: a warning only
    openProblem = {MidiProblem::Kind::LibraryError, "the simulated port did not open"};
    if (!bus || bus->takeOpenFault())
        return false; // the service is gone, or the open fails on request
    const SimMidiBus::Port* port = bus->portAt(false, portNumber);
    if (!port)
        return false; // invalid port number
    if (bus->portsInUse()) {
        openProblem = {MidiProblem::Kind::PortInUse, "held by another program"};
        return false;
    }
    openProblem = {};
    openPortId = port->id;
    return true;
}

bool SimMidiOutput::closePort()
{
    openPortId = 0;
    return true;
}

bool SimMidiOutput::sendMessage(const std::vector<unsigned char>& message)
{
    if (!bus || message.empty())
        return false; // the message is empty or the service is gone
    if (bus->takeSendFault(message))
        return false; // fails on request
    if (openPortId == 0) {
        bus->programSendDropped(message);
        return true;
    }
    if (!bus->port(openPortId))
        return false; // the device of the output port has gone
    bus->programSentTo(openPortId, message);
    return true;
}
