#pragma once

#include "MidiProblem.h"

#include <memory>

class MidiInput;
class MidiOutput;

// Makes the MIDI input and output objects. Never throws: without a MIDI service (or when the
// system refuses an object for another reason) the result is empty, and the caller decides
// what that means.
class MidiBackend
{
public:
    virtual ~MidiBackend() = default;

    virtual std::unique_ptr<MidiInput> createInput() = 0;
    virtual std::unique_ptr<MidiOutput> createOutput() = 0;

    // Why the last create came back empty (Kind None after one that succeeded).
    virtual MidiProblem lastProblem() const { return {}; }
};
