#pragma once

#include "MidiProblem.h"

#include <string>

// Why the MIDI library could not open a port, for the adapters: on Windows the library's
// message carries no code, so the multimedia API is asked itself (WinMmPortCheck,
// WinMmOpenProblem: another program holding the port is PortInUse); elsewhere the library's
// words are the detail of a LibraryError.
namespace RtMidiOpenProblem {

MidiProblem afterFailedOpen(bool input, unsigned int portNumber, const std::string& libraryMessage);

} // namespace RtMidiOpenProblem
