#pragma once

#include "MidiBackend.h"

#include <QPointer>

class SimMidiBus;

// Makes program-side MIDI objects on the simulated bus; none while its MIDI service is off,
// and then says why as the real backend would.
class SimMidiBackend : public MidiBackend
{
public:
    explicit SimMidiBackend(SimMidiBus* bus);

    std::unique_ptr<MidiInput> createInput() override;
    std::unique_ptr<MidiOutput> createOutput() override;
    // Why the service is off (SimMidiBus::setMidiServiceProblem); None while it is on.
    MidiProblem lastProblem() const override;

private:
    QPointer<SimMidiBus> bus;
};
