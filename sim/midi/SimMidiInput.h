#pragma once

#include "MidiInput.h"

#include <QPointer>

class SimMidiBus;

// A program-side MIDI input on the simulated bus. Behaves like the MIDI library's input:
// SysEx, timing and active sensing are filtered out until ignoreTypes says otherwise; a
// second callback or opening an open port only draws a warning; a bad port number throws.
class SimMidiInput : public MidiInput
{
public:
    explicit SimMidiInput(SimMidiBus* bus);
    ~SimMidiInput() override;

    unsigned int getPortCount() override;
    std::string getPortName(unsigned int portNumber) override;
    void openPort(unsigned int portNumber, const std::string& portName) override;
    void closePort() override;
    void setCallback(Callback callback, void* userData) override;
    void cancelCallback() override;
    void ignoreTypes(bool midiSysex, bool midiTime, bool midiSense) override;

    // --- used by the bus ---
    int id() const { return inputId; }
    // Whether a message from this port reaches the program now, and the opening it goes to.
    bool acceptsFrom(int portId, const std::vector<unsigned char>& message,
                     unsigned long long* session) const;
    void busGone() { bus = nullptr; }

private:
    QPointer<SimMidiBus> bus;
    int inputId = 0;
    int openPortId = 0; // 0: closed
    unsigned long long session = 0;
    bool callbackSet = false;
    bool ignoreSysex = true;
    bool ignoreTime = true;
    bool ignoreSense = true;
};
