#include "RtMidiOpenProblem.h"

#if defined(_WIN32)
#include "WinMmOpenProblem.h"
#include "WinMmPortCheck.h"
#endif

MidiProblem RtMidiOpenProblem::afterFailedOpen(bool input, unsigned int portNumber,
                                               const std::string& libraryMessage)
{
#if defined(_WIN32)
    const unsigned int result = input ? WinMmPortCheck::inputOpenResult(portNumber)
                                      : WinMmPortCheck::outputOpenResult(portNumber);
    return WinMmOpenProblem::fromResult(result, libraryMessage);
#else
    (void)input;
    (void)portNumber;
    return {MidiProblem::Kind::LibraryError, libraryMessage};
#endif
}
