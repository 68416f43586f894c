#include "SequencerOpenProblem.h"

#include <cerrno>
#include <string>

namespace {

// The system's words for the errors an open of the device gives most, fixed in English (the
// C library's own follow the user's language, and the detail goes into the session log too).
std::string wordsFor(int error)
{
    switch (error) {
    case ENOENT:
        return "no such file or directory";
    case ENODEV:
        return "no such device";
    case EACCES:
    case EPERM:
        return "permission denied";
    case EBUSY:
        return "device or resource busy";
    case ENOMEM:
        return "out of memory";
    case EMFILE:
    case ENFILE:
        return "too many open files";
    default:
        break;
    }
    return "error " + std::to_string(error);
}

} // namespace

MidiProblem SequencerOpenProblem::fromErrno(int error)
{
    MidiProblem problem;
    if (error == 0)
        return problem;
    switch (error) {
    case ENOENT:
    case ENODEV:
        problem.kind = MidiProblem::Kind::ServiceMissing;
        break;
    case EACCES:
    case EPERM:
        problem.kind = MidiProblem::Kind::PermissionDenied;
        break;
    default:
        problem.kind = MidiProblem::Kind::LibraryError;
        break;
    }
    problem.detail = std::string(kDevicePath) + ": " + wordsFor(error);
    return problem;
}
