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
    return std::make_unique<SimMidiInput>(bus.data());
}

std::unique_ptr<MidiOutput> SimMidiBackend::createOutput()
{
    return std::make_unique<SimMidiOutput>(bus.data());
}
