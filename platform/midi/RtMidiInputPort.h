#pragma once

#include "MidiInput.h"

#include <RtMidi.h>

// The MIDI library's input behind the MidiInput seam. Errors travel as RtMidiError.
class RtMidiInputPort : public MidiInput
{
public:
    // Throws RtMidiError when the system has no MIDI service for this API.
    explicit RtMidiInputPort(RtMidi::Api api);

    unsigned int getPortCount() override;
    std::string getPortName(unsigned int portNumber) override;
    void openPort(unsigned int portNumber, const std::string& portName) override;
    void closePort() override;
    void setCallback(Callback callback, void* userData) override;
    void cancelCallback() override;
    void ignoreTypes(bool midiSysex, bool midiTime, bool midiSense) override;

private:
    RtMidiIn input;
};
