#include "SimMidiOutput.h"

#include "SimMidiBus.h"

#include <RtMidi.h>

SimMidiOutput::SimMidiOutput(SimMidiBus* bus)
    : bus(bus)
{
    if (!bus || !bus->midiServiceAvailable())
        throw RtMidiError("simulated MIDI service unavailable", RtMidiError::DRIVER_ERROR);
    bus->noteMidiObjectCreated();
}

unsigned int SimMidiOutput::getPortCount()
{
    return bus ? bus->portCount(false) : 0;
}

std::string SimMidiOutput::getPortName(unsigned int portNumber)
{
    const SimMidiBus::Port* port = bus ? bus->portAt(false, portNumber) : nullptr;
    if (!port)
        return {};
    if (bus->portNameUnreadable(port->name))
        throw RtMidiError("simulated port name unreadable", RtMidiError::DRIVER_ERROR);
    return port->name.toStdString();
}

void SimMidiOutput::openPort(unsigned int portNumber, const std::string& portName)
{
    Q_UNUSED(portName);
    if (openPortId != 0)
        return;
    if (!bus)
        throw RtMidiError("simulated MIDI service gone", RtMidiError::DRIVER_ERROR);
    if (bus->takeOpenFault())
        throw RtMidiError("simulated output open failure", RtMidiError::DRIVER_ERROR);
    const SimMidiBus::Port* port = bus->portAt(false, portNumber);
    if (!port)
        throw RtMidiError("invalid output port number", RtMidiError::INVALID_PARAMETER);
    openPortId = port->id;
}

void SimMidiOutput::closePort()
{
    openPortId = 0;
}

void SimMidiOutput::sendMessage(const std::vector<unsigned char>* message)
{
    if (!bus || !message || message->empty())
        throw RtMidiError("message is empty or the service is gone", RtMidiError::WARNING);
    if (bus->takeSendFault())
        throw RtMidiError("simulated send failure", RtMidiError::DRIVER_ERROR);
    if (openPortId == 0) {
        bus->programSendDropped(*message);
        return;
    }
    if (!bus->port(openPortId))
        throw RtMidiError("the device of the output port has gone", RtMidiError::DRIVER_ERROR);
    bus->programSentTo(openPortId, *message);
}
