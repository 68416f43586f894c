#pragma once

#include "MidiOutput.h"

#include <RtMidi.h>

// The MIDI library's output behind the MidiOutput seam. Errors travel as RtMidiError.
class RtMidiOutputPort : public MidiOutput
{
public:
    // Throws RtMidiError when the system has no MIDI service for this API.
    explicit RtMidiOutputPort(RtMidi::Api api);

    unsigned int getPortCount() override;
    std::string getPortName(unsigned int portNumber) override;
    void openPort(unsigned int portNumber, const std::string& portName) override;
    void closePort() override;
    void sendMessage(const std::vector<unsigned char>* message) override;

private:
    RtMidiOut output;
};
