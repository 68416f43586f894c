#pragma once

#include "MidiOutput.h"

#include <QPointer>

class SimMidiBus;

// A program-side MIDI output on the simulated bus. A send on a closed port is dropped, as the
// MIDI library drops it; a send on a port whose device has left the bus fails. Made only
// while the simulated MIDI service is available (SimMidiBackend sees to that).
class SimMidiOutput : public MidiOutput
{
public:
    explicit SimMidiOutput(SimMidiBus* bus);

    std::optional<unsigned int> getPortCount() override;
    std::optional<std::string> getPortName(unsigned int portNumber) override;
    bool openPort(unsigned int portNumber, const std::string& portName) override;
    bool closePort() override;
    MidiProblem lastProblem() const override { return openProblem; }
    bool sendMessage(const std::vector<unsigned char>& message) override;

private:
    QPointer<SimMidiBus> bus;
    MidiProblem openProblem;
    int openPortId = 0; // 0: closed
};
