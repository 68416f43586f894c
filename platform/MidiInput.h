#pragma once

#include "MidiProblem.h"

#include <optional>
#include <string>
#include <vector>

// One MIDI input as the device link uses it. Never throws: every failure of the MIDI service
// comes back as the result (false, or no value). What the MIDI library only warns about
// (opening an open port, setting a second callback) is not a failure.
class MidiInput
{
public:
    // The MIDI library's input callback form: time stamp, message bytes, user data.
    using Callback = void (*)(double timeStamp, std::vector<unsigned char>* message,
                              void* userData);

    virtual ~MidiInput() = default;

    // No value: the count or the name could not be read.
    virtual std::optional<unsigned int> getPortCount() = 0;
    virtual std::optional<std::string> getPortName(unsigned int portNumber) = 0;
    // false: the port did not open (or the callback was not set, and so on).
    virtual bool openPort(unsigned int portNumber, const std::string& portName) = 0;
    virtual bool closePort() = 0;
    // Why the last openPort failed (Kind None after one that succeeded): PortInUse when
    // another program holds the port.
    virtual MidiProblem lastProblem() const { return {}; }
    virtual bool setCallback(Callback callback, void* userData) = 0;
    virtual bool cancelCallback() = 0;
    virtual bool ignoreTypes(bool midiSysex, bool midiTime, bool midiSense) = 0;
};
