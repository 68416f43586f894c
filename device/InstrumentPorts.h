#pragma once

#include "MidiProblem.h"
#include "UsbIdentityLookup.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class MidiBackend;
class MidiInput;
class MidiOutput;
class SysExReceiver;

// The instrument's two MIDI ports and the USB identity behind them: makes the MIDI objects,
// finds the first input and the first output whose USB device is the instrument, opens them
// (the input delivering to the receiver) and closes them. Its state is whether the MIDI
// objects exist (without them every step does nothing and reports failure) and the current
// MIDI problem: why the objects could not be made (from the backend), or why the instrument's
// ports, found by their USB identity, did not open (PortInUse: another program holds them).
// The problem goes when its cause does: the objects are made, the ports open, or (for a
// port's problem) the instrument's ports are no longer there. Each change is logged once and
// told to the listener. Main thread.
class InstrumentPorts
{
public:
    struct Scan
    {
        int input = -1;
        int output = -1;
        bool unreadable = false; // a port count or a port name could not be read on the way
        bool complete() const { return input >= 0 && output >= 0; }
    };

    InstrumentPorts(std::shared_ptr<MidiBackend> backend, std::shared_ptr<UsbIdentityLookup> usb,
                    SysExReceiver* receiver);
    ~InstrumentPorts();
    InstrumentPorts(const InstrumentPorts&) = delete;
    InstrumentPorts& operator=(const InstrumentPorts&) = delete;

    // Makes both MIDI objects; false (and neither kept) when the MIDI service refuses one.
    bool create();
    // Drops both objects and makes them anew, with the input's filtering switched off.
    void recreate();
    bool available() const { return midiIn && midiOut; }
    // Kind None while nothing stands in the way.
    MidiProblem problem() const { return current; }
    // Told each change of problem() (not every look that finds the same).
    void setProblemListener(std::function<void(const MidiProblem&)> listener);
    // Lets SysEx, timing and active sensing through the input.
    void switchFilteringOff();

    Scan find();
    // Opens both ports of the scan, the input delivering to the receiver; on any failure both
    // are closed again.
    bool open(const Scan& scan);
    void cancelCallback();
    void closeInput();
    void closeOutput();
    void closeAll(); // cancels the callback, then closes the output and the input

    // false when there is no output or the message did not go out.
    bool send(const std::vector<unsigned char>& message);
    // A send that fails runs recover and goes out once more (if there still is an output).
    // True when the message went out.
    bool sendWithRecovery(const std::vector<unsigned char>& message,
                          const std::function<void()>& recover);

    UsbIds lookUpUsbIds(const QString& portName) const;
    // Whether a USB identity is the instrument's.
    static bool isInstrumentIdentity(const UsbIds& ids);
    // A name compared with the friendly name of the USB device behind a port.
    static QString normalizedDeviceName(const QString& name);

private:
    bool isInstrument(const std::string& portName) const;
    void drop();
    void setProblem(const MidiProblem& problem);

    std::shared_ptr<MidiBackend> backend;
    std::shared_ptr<UsbIdentityLookup> usb;
    SysExReceiver* receiver;
    std::unique_ptr<MidiInput> midiIn;
    std::unique_ptr<MidiOutput> midiOut;
    MidiProblem current;
    std::function<void(const MidiProblem&)> problemListener;
};
