#include "RtMidiBackend.h"

#include "RtMidiInputPort.h"
#include "RtMidiOutputPort.h"

RtMidiBackend::RtMidiBackend(RtMidi::Api api)
    : api(api)
{
}

std::unique_ptr<MidiInput> RtMidiBackend::createInput()
{
    return RtMidiInputPort::create(api);
}

std::unique_ptr<MidiOutput> RtMidiBackend::createOutput()
{
    return RtMidiOutputPort::create(api);
}

RtMidi::Api RtMidiBackend::defaultApi()
{
#if defined(__linux__)
    return RtMidi::LINUX_ALSA;
#else
    return RtMidi::UNSPECIFIED;
#endif
}
