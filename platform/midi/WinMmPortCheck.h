#pragma once

// Asks the Windows multimedia API itself whether a MIDI device opens: opened with no callback
// and closed at once. Plain Win32 (winmm); built on Windows only.
namespace WinMmPortCheck {

// The MMRESULT of midiInOpen / midiOutOpen on the device id (the MIDI library's port number).
unsigned int inputOpenResult(unsigned int deviceId);
unsigned int outputOpenResult(unsigned int deviceId);

} // namespace WinMmPortCheck
