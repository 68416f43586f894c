#pragma once

#include "MidiBackend.h"

#include <RtMidi.h>

// Makes the MIDI library's input and output. On Linux the ALSA sequencer is asked for
// explicitly; elsewhere the library picks the system's MIDI service. An object the system
// refuses comes back empty.
class RtMidiBackend : public MidiBackend
{
public:
    explicit RtMidiBackend(RtMidi::Api api = defaultApi());

    std::unique_ptr<MidiInput> createInput() override;
    std::unique_ptr<MidiOutput> createOutput() override;

    static RtMidi::Api defaultApi();

private:
    RtMidi::Api api;
};
