#include "RtMidiCall.h"

#include "MidiLibraryLog.h"

void RtMidiCall::onError(RtMidiError::Type type, const std::string& errorText, void* userData)
{
    const bool warning = type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING;
    if (warning) {
        qCInfo(lcMidiLibrary, "MIDI library: %s", errorText.c_str());
        return;
    }
    qCWarning(lcMidiLibrary, "MIDI library error %d: %s", int(type), errorText.c_str());
    if (auto* errors = static_cast<Errors*>(userData)) {
        errors->failed = true;
        errors->message = errorText;
    }
}
