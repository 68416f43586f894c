#pragma once

#include <string>
#include <vector>

// One MIDI input as the device link uses it. Implementations report failures by throwing
// RtMidiError, exactly as the MIDI library does, so callers handle one error type.
class MidiInput
{
public:
    // The MIDI library's input callback form: time stamp, message bytes, user data.
    using Callback = void (*)(double timeStamp, std::vector<unsigned char>* message,
                              void* userData);

    virtual ~MidiInput() = default;

    virtual unsigned int getPortCount() = 0;
    virtual std::string getPortName(unsigned int portNumber) = 0;
    virtual void openPort(unsigned int portNumber, const std::string& portName) = 0;
    virtual void closePort() = 0;
    virtual void setCallback(Callback callback, void* userData) = 0;
    virtual void cancelCallback() = 0;
    virtual void ignoreTypes(bool midiSysex, bool midiTime, bool midiSense) = 0;
};
