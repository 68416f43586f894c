#pragma once

#include <string>

// Why the MIDI service, or one of its ports, cannot be used: a value the backend hands up
// instead of text on standard error. Kind None means nothing stands in the way.
struct MidiProblem
{
    enum class Kind {
        None,
        ServiceMissing,   // the system's MIDI service is not there (no sequencer device...)
        PermissionDenied, // the service is there, but this user may not open it
        PortInUse,        // the port exists, but another program holds it
        LibraryError,     // the MIDI library failed for another reason
    };

    Kind kind = Kind::None;
    // The system's or the library's own words (a device path, an errno text, a code), plain
    // text for the session log and for the sentence shown to the user; may be empty.
    std::string detail;

    bool isProblem() const { return kind != Kind::None; }
    bool operator==(const MidiProblem& other) const
    {
        return kind == other.kind && detail == other.detail;
    }
    bool operator!=(const MidiProblem& other) const { return !(*this == other); }
};
