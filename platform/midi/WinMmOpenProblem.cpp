#include "WinMmOpenProblem.h"

namespace {

// The names of the codes an open of a MIDI device gives (mmsystem.h).
const char* nameOf(unsigned int result)
{
    switch (result) {
    case 1:
        return "MMSYSERR_ERROR";
    case 2:
        return "MMSYSERR_BADDEVICEID";
    case 4:
        return "MMSYSERR_ALLOCATED";
    case 6:
        return "MMSYSERR_NODRIVER";
    case 7:
        return "MMSYSERR_NOMEM";
    case 11:
        return "MMSYSERR_INVALPARAM";
    case 64:
        return "MIDIERR_NODEVICE";
    default:
        break;
    }
    return nullptr;
}

} // namespace

MidiProblem WinMmOpenProblem::fromResult(unsigned int result, const std::string& libraryMessage)
{
    MidiProblem problem;
    if (result == kAllocated) {
        problem.kind = MidiProblem::Kind::PortInUse;
        problem.detail = "MMSYSERR_ALLOCATED";
        return problem;
    }
    problem.kind = MidiProblem::Kind::LibraryError;
    if (result == kNoError) {
        problem.detail = libraryMessage;
        return problem;
    }
    const char* name = nameOf(result);
    problem.detail = "MMRESULT " + std::to_string(result);
    if (name)
        problem.detail += std::string(" (") + name + ")";
    return problem;
}
