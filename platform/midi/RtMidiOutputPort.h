#pragma once

#include "MidiOutput.h"
#include "RtMidiCall.h"

#include <RtMidi.h>

#include <memory>

// The MIDI library's output behind the MidiOutput seam. The library's errors end here: they
// go into the session log through the object's error callback and come back as results.
class RtMidiOutputPort : public MidiOutput
{
public:
    // Empty when the system has no MIDI service for this API; problem (when given) then says
    // what the library said.
    static std::unique_ptr<RtMidiOutputPort> create(RtMidi::Api api, MidiProblem* problem = nullptr);

    std::optional<unsigned int> getPortCount() override;
    std::optional<std::string> getPortName(unsigned int portNumber) override;
    bool openPort(unsigned int portNumber, const std::string& portName) override;
    bool closePort() override;
    MidiProblem lastProblem() const override { return openProblem; }
    bool sendMessage(const std::vector<unsigned char>& message) override;

private:
    explicit RtMidiOutputPort(RtMidi::Api api); // throws RtMidiError, caught by create()

    // Before the output: the output's destructor may still report into it.
    RtMidiCall::Errors errors;
    RtMidiOut output;
    MidiProblem openProblem;
};
