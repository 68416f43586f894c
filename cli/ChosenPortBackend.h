#pragma once

#include "MidiBackend.h"

#include <QString>

#include <memory>

// The MIDI service as the link sees it after "--port NAME": only the ports whose name is the
// chosen one (InstrumentScan::portMatches, so that the numbers a port gets anew after each
// re-enumeration do not matter) are shown, so the link finds, opens and talks to that
// instrument alone, through its own unchanged search.
class ChosenPortBackend : public MidiBackend
{
public:
    ChosenPortBackend(std::shared_ptr<MidiBackend> backend, QString portName);

    std::unique_ptr<MidiInput> createInput() override;
    std::unique_ptr<MidiOutput> createOutput() override;
    // The chosen ports' objects say what the real ones say.
    MidiProblem lastProblem() const override;

private:
    std::shared_ptr<MidiBackend> backend;
    QString portName;
};
