#pragma once

#include "MidiOutput.h"

#include <RtMidi.h>

#include <memory>

// The MIDI library's output behind the MidiOutput seam. The library's errors end here and
// come back as results.
class RtMidiOutputPort : public MidiOutput
{
public:
    // Empty when the system has no MIDI service for this API.
    static std::unique_ptr<RtMidiOutputPort> create(RtMidi::Api api);

    std::optional<unsigned int> getPortCount() override;
    std::optional<std::string> getPortName(unsigned int portNumber) override;
    bool openPort(unsigned int portNumber, const std::string& portName) override;
    bool closePort() override;
    bool sendMessage(const std::vector<unsigned char>& message) override;

private:
    explicit RtMidiOutputPort(RtMidi::Api api); // throws RtMidiError, caught by create()

    RtMidiOut output;
};
