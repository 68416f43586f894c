#pragma once

#include <string>
#include <vector>

// One MIDI output as the device link uses it. Failures are thrown as RtMidiError.
class MidiOutput
{
public:
    virtual ~MidiOutput() = default;

    virtual unsigned int getPortCount() = 0;
    virtual std::string getPortName(unsigned int portNumber) = 0;
    virtual void openPort(unsigned int portNumber, const std::string& portName) = 0;
    virtual void closePort() = 0;
    virtual void sendMessage(const std::vector<unsigned char>* message) = 0;
};
