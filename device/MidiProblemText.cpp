#include "MidiProblemText.h"

#include <QCoreApplication>

namespace {

// "(detail)" after the first clause, or nothing when the system gave no words.
QString inParentheses(const std::string& detail)
{
    const QString words = QString::fromStdString(detail).simplified();
    return words.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(words);
}

} // namespace

QString MidiProblemText::sentence(const MidiProblem& problem)
{
    const QString detail = inParentheses(problem.detail);
    switch (problem.kind) {
    case MidiProblem::Kind::None:
        return {};
    case MidiProblem::Kind::ServiceMissing:
        return QCoreApplication::translate("MidiProblemText", "This computer's MIDI system could not be opened%1. Load its sequencer "
                  "(on Linux: \"sudo modprobe snd-seq\"); Tavlo is found as soon as it is "
                  "there.")
            .arg(detail);
    case MidiProblem::Kind::PermissionDenied:
        return QCoreApplication::translate("MidiProblemText", "This computer's MIDI system could not be opened%1. Add your user to the "
                  "audio group, then log in again.")
            .arg(detail);
    case MidiProblem::Kind::PortInUse:
        return QCoreApplication::translate("MidiProblemText", "Tavlo is connected, but another program is using its MIDI port (a DAW or "
                  "another MIDI tool). Close it; Tavlo is found as soon as the port is free.");
    case MidiProblem::Kind::LibraryError:
        break;
    }
    return QCoreApplication::translate("MidiProblemText", "This computer's MIDI system reported an error%1. Reconnect Tavlo; if that does "
              "not help, restart the computer.")
        .arg(detail);
}
