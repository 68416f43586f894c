#pragma once

#include "MidiProblem.h"

#include <optional>
#include <string>
#include <vector>

// One MIDI output as the device link uses it. Never throws: every failure of the MIDI service
// comes back as the result (false, or no value). A message sent on a closed port is dropped
// by the service, which is not a failure.
class MidiOutput
{
public:
    virtual ~MidiOutput() = default;

    virtual std::optional<unsigned int> getPortCount() = 0;
    virtual std::optional<std::string> getPortName(unsigned int portNumber) = 0;
    virtual bool openPort(unsigned int portNumber, const std::string& portName) = 0;
    virtual bool closePort() = 0;
    // Why the last openPort failed (Kind None after one that succeeded): PortInUse when
    // another program holds the port.
    virtual MidiProblem lastProblem() const { return {}; }
    // false: the message did not go out (an empty message never does).
    virtual bool sendMessage(const std::vector<unsigned char>& message) = 0;
};
