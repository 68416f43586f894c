#pragma once

#include "MidiInput.h"

#include <QPointer>

class SimMidiBus;

// A program-side MIDI input on the simulated bus. Behaves like the MIDI library's input:
// SysEx, timing and active sensing are filtered out until ignoreTypes says otherwise; a
// second callback or opening an open port only draws a warning; a bad port number fails.
// Made only while the simulated MIDI service is available (SimMidiBackend sees to that).
class SimMidiInput : public MidiInput
{
public:
    explicit SimMidiInput(SimMidiBus* bus);
    ~SimMidiInput() override;

    std::optional<unsigned int> getPortCount() override;
    std::optional<std::string> getPortName(unsigned int portNumber) override;
    bool openPort(unsigned int portNumber, const std::string& portName) override;
    bool closePort() override;
    MidiProblem lastProblem() const override { return openProblem; }
    bool setCallback(Callback callback, void* userData) override;
    bool cancelCallback() override;
    bool ignoreTypes(bool midiSysex, bool midiTime, bool midiSense) override;

    // --- used by the bus ---
    int id() const { return inputId; }
    // Whether a message from this port reaches the program now, and the opening it goes to.
    bool acceptsFrom(int portId, const std::vector<unsigned char>& message,
                     unsigned long long* session) const;
    void busGone() { bus = nullptr; }

private:
    QPointer<SimMidiBus> bus;
    int inputId = 0;
    MidiProblem openProblem;
    int openPortId = 0; // 0: closed
    unsigned long long session = 0;
    bool callbackSet = false;
    bool ignoreSysex = true;
    bool ignoreTime = true;
    bool ignoreSense = true;
};
