#include "MidiLibraryLog.h"

// The device link's category (DeviceLog names it the same): the session log takes every line.
Q_LOGGING_CATEGORY(lcMidiLibrary, "tavlo.device", QtWarningMsg)
