#pragma once

#include "MidiProblem.h"

// What a failed open of the ALSA sequencer device means for the program. Pure: standard C++
// only, built and tested everywhere.
namespace SequencerOpenProblem {

// The sequencer device the ALSA library opens.
constexpr const char* kDevicePath = "/dev/snd/seq";

// The problem for the errno of a failed open (positive, as errno holds it; 0: no problem):
// no device file or no such device means the sequencer is not loaded (ServiceMissing), a
// refused open that this user may not use it (PermissionDenied), anything else is the
// library's (LibraryError). The detail names the device and says what the system said.
MidiProblem fromErrno(int error);

} // namespace SequencerOpenProblem
