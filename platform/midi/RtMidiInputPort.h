#pragma once

#include "MidiInput.h"
#include "RtMidiCall.h"

#include <RtMidi.h>

#include <memory>

// The MIDI library's input behind the MidiInput seam. The library's errors end here: they go
// into the session log through the object's error callback and come back as results.
class RtMidiInputPort : public MidiInput
{
public:
    // Empty when the system has no MIDI service for this API; problem (when given) then says
    // what the library said.
    static std::unique_ptr<RtMidiInputPort> create(RtMidi::Api api, MidiProblem* problem = nullptr);

    std::optional<unsigned int> getPortCount() override;
    std::optional<std::string> getPortName(unsigned int portNumber) override;
    bool openPort(unsigned int portNumber, const std::string& portName) override;
    bool closePort() override;
    MidiProblem lastProblem() const override { return openProblem; }
    bool setCallback(Callback callback, void* userData) override;
    bool cancelCallback() override;
    bool ignoreTypes(bool midiSysex, bool midiTime, bool midiSense) override;

private:
    explicit RtMidiInputPort(RtMidi::Api api); // throws RtMidiError, caught by create()

    // Before the input: the input's destructor may still report into it.
    RtMidiCall::Errors errors;
    RtMidiIn input;
    MidiProblem openProblem;
};
