#pragma once

#include "MidiProblem.h"

// Opens the ALSA sequencer for a moment, before any MIDI library object is made, to say why
// it cannot be used (SequencerOpenProblem). The ALSA library's own messages go into the
// session log (MidiLibraryLog) instead of standard error from the first probe on.
namespace AlsaSequencerProbe {

// Kind None when the sequencer opens.
MidiProblem probe();
// Routes the ALSA library's messages into the session log (idempotent).
void routeLibraryMessages();

} // namespace AlsaSequencerProbe
