#pragma once

#include "MidiBackend.h"

#include <QPointer>

class SimMidiBus;

// Makes program-side MIDI objects on the simulated bus; none while its MIDI service is off.
class SimMidiBackend : public MidiBackend
{
public:
    explicit SimMidiBackend(SimMidiBus* bus);

    std::unique_ptr<MidiInput> createInput() override;
    std::unique_ptr<MidiOutput> createOutput() override;

private:
    QPointer<SimMidiBus> bus;
};
