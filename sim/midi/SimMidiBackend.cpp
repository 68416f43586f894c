#include "SimMidiBackend.h"

#include "SimMidiBus.h"
#include "SimMidiInput.h"
#include "SimMidiOutput.h"

SimMidiBackend::SimMidiBackend(SimMidiBus* bus)
    : bus(bus)
{
}

std::unique_ptr<MidiInput> SimMidiBackend::createInput()
{
    if (!bus || !bus->midiServiceAvailable())
        return nullptr;
    return std::make_unique<SimMidiInput>(bus.data());
}

std::unique_ptr<MidiOutput> SimMidiBackend::createOutput()
{
    if (!bus || !bus->midiServiceAvailable())
        return nullptr;
    return std::make_unique<SimMidiOutput>(bus.data());
}

MidiProblem SimMidiBackend::lastProblem() const
{
    if (!bus)
        return {MidiProblem::Kind::ServiceMissing, "the simulated MIDI service is gone"};
    return bus->midiServiceProblem();
}
