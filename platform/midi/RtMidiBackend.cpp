#include "RtMidiBackend.h"

#include "RtMidiInputPort.h"
#include "RtMidiOutputPort.h"

#if defined(__linux__)
#include "AlsaSequencerProbe.h"
#endif

RtMidiBackend::RtMidiBackend(RtMidi::Api api)
    : api(api)
{
}

std::unique_ptr<MidiInput> RtMidiBackend::createInput()
{
    problem = serviceProblem();
    if (problem.isProblem())
        return nullptr;
    std::unique_ptr<MidiInput> input = RtMidiInputPort::create(api, &problem);
    if (!input && !problem.isProblem())
        problem.kind = MidiProblem::Kind::LibraryError;
    return input;
}

std::unique_ptr<MidiOutput> RtMidiBackend::createOutput()
{
    problem = serviceProblem();
    if (problem.isProblem())
        return nullptr;
    std::unique_ptr<MidiOutput> output = RtMidiOutputPort::create(api, &problem);
    if (!output && !problem.isProblem())
        problem.kind = MidiProblem::Kind::LibraryError;
    return output;
}

MidiProblem RtMidiBackend::serviceProblem() const
{
#if defined(__linux__)
    if (api == RtMidi::LINUX_ALSA)
        return AlsaSequencerProbe::probe();
#endif
    return {};
}

RtMidi::Api RtMidiBackend::defaultApi()
{
#if defined(__linux__)
    return RtMidi::LINUX_ALSA;
#else
    return RtMidi::UNSPECIFIED;
#endif
}
