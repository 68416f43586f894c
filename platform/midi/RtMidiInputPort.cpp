#include "RtMidiInputPort.h"

RtMidiInputPort::RtMidiInputPort(RtMidi::Api api)
    : input(api, "RtMidi Input Client", 100)
{
}

unsigned int RtMidiInputPort::getPortCount()
{
    return input.getPortCount();
}

std::string RtMidiInputPort::getPortName(unsigned int portNumber)
{
    return input.getPortName(portNumber);
}

void RtMidiInputPort::openPort(unsigned int portNumber, const std::string& portName)
{
    input.openPort(portNumber, portName);
}

void RtMidiInputPort::closePort()
{
    input.closePort();
}

void RtMidiInputPort::setCallback(Callback callback, void* userData)
{
    input.setCallback(callback, userData);
}

void RtMidiInputPort::cancelCallback()
{
    input.cancelCallback();
}

void RtMidiInputPort::ignoreTypes(bool midiSysex, bool midiTime, bool midiSense)
{
    input.ignoreTypes(midiSysex, midiTime, midiSense);
}
