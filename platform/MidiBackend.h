#pragma once

#include <memory>

class MidiInput;
class MidiOutput;

// Makes the MIDI input and output objects. Creation may throw RtMidiError (for example when
// the system has no MIDI service); the caller decides what that means.
class MidiBackend
{
public:
    virtual ~MidiBackend() = default;

    virtual std::unique_ptr<MidiInput> createInput() = 0;
    virtual std::unique_ptr<MidiOutput> createOutput() = 0;
};
