#pragma once

#include <QLoggingCategory>

// The MIDI libraries' own messages (the ALSA library's, RtMidi's errors and warnings) go into
// the session log under the device link's category, never to standard error by themselves.
Q_DECLARE_LOGGING_CATEGORY(lcMidiLibrary)
