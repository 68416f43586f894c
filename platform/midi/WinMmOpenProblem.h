#pragma once

#include "MidiProblem.h"

#include <string>

// What the Windows multimedia API's answer to an open of a MIDI device means for the program,
// asked after the MIDI library's own open failed (its message carries no code). Pure:
// standard C++ only, built and tested everywhere.
namespace WinMmOpenProblem {

// The MMRESULT codes this looks at (mmsystem.h).
constexpr unsigned int kNoError = 0;      // MMSYSERR_NOERROR
constexpr unsigned int kAllocated = 4;    // MMSYSERR_ALLOCATED: another program holds it

// The problem for the code of an open of the device (libraryMessage: what the MIDI library
// said about its own open): held by another program is PortInUse; any other code is the
// library's (LibraryError, naming the code). A device that opens now (kNoError) leaves the
// library's failure as it was: LibraryError with its message.
MidiProblem fromResult(unsigned int result, const std::string& libraryMessage);

} // namespace WinMmOpenProblem
