#pragma once

#include <QList>
#include <QString>

// The result of one of the computer's checks: which check, how it came out, and one sentence
// of what was found (with what to do about a problem).
struct CheckResult
{
    enum class Check {
        MidiSystem,     // can the MIDI objects be made
        MidiPorts,      // the ports seen, and which are the instrument's
        Instrument,     // the instrument's answer: its firmware version
        ReleaseServer,  // the catalogue read through the program's network access
        DownloadFolder, // writable, with room for the update
        Volumes,        // the instrument's volumes mounted now
    };
    enum class Outcome {
        Ok,      // works; the text says what was found
        Note,    // nothing wrong with the computer, but something to know (no instrument)
        Problem, // stands in the way; the text says what to do
        NotRun,  // could not run (another check's problem, or the instrument held elsewhere)
    };

    Check check = Check::MidiSystem;
    Outcome outcome = Outcome::NotRun;
    QString text;

    bool operator==(const CheckResult& other) const
    {
        return check == other.check && outcome == other.outcome && text == other.text;
    }
};

// Every check in the order the report shows them.
inline QList<CheckResult::Check> allChecks()
{
    using C = CheckResult::Check;
    return {C::MidiSystem, C::MidiPorts, C::Instrument, C::ReleaseServer, C::DownloadFolder,
            C::Volumes};
}
