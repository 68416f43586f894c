#include "RtMidiOutputPort.h"

RtMidiOutputPort::RtMidiOutputPort(RtMidi::Api api)
    : output(api, "RtMidi Output Client")
{
}

unsigned int RtMidiOutputPort::getPortCount()
{
    return output.getPortCount();
}

std::string RtMidiOutputPort::getPortName(unsigned int portNumber)
{
    return output.getPortName(portNumber);
}

void RtMidiOutputPort::openPort(unsigned int portNumber, const std::string& portName)
{
    output.openPort(portNumber, portName);
}

void RtMidiOutputPort::closePort()
{
    output.closePort();
}

void RtMidiOutputPort::sendMessage(const std::vector<unsigned char>* message)
{
    // The library reads the first byte of the vector; an empty message is a caller's error
    // that must not read out of bounds.
    if (message == nullptr || message->empty())
        throw RtMidiError("an empty MIDI message cannot be sent", RtMidiError::WARNING);
    output.sendMessage(message);
}
