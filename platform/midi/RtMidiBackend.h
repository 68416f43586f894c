#pragma once

#include "MidiBackend.h"

#include <RtMidi.h>

// Makes the MIDI library's input and output. On Linux the ALSA sequencer is asked for
// explicitly, and opened for a moment first (AlsaSequencerProbe): when it cannot be, no
// library object is made (the library would only print its failure) and lastProblem() says
// why. Elsewhere the library picks the system's MIDI service. An object the system refuses
// comes back empty.
class RtMidiBackend : public MidiBackend
{
public:
    explicit RtMidiBackend(RtMidi::Api api = defaultApi());

    std::unique_ptr<MidiInput> createInput() override;
    std::unique_ptr<MidiOutput> createOutput() override;
    MidiProblem lastProblem() const override { return problem; }

    static RtMidi::Api defaultApi();

private:
    // Why the system's MIDI service cannot be used before an object is made; None when it can.
    MidiProblem serviceProblem() const;

    RtMidi::Api api;
    MidiProblem problem;
};
