#pragma once

#include "MidiProblem.h"

#include <QString>

// The sentence shown for a MIDI problem, with what to do about it: under the connection
// instructions, by "tavlo list" and in the computer check. Empty for Kind None. The detail
// is shown as plain text.
namespace MidiProblemText {

QString sentence(const MidiProblem& problem);

} // namespace MidiProblemText
