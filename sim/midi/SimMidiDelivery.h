#pragma once

#include "MidiInput.h"

#include <QObject>

#include <map>
#include <vector>

// Lives on the simulated MIDI service's own thread and calls the program's input callbacks
// there, as the real MIDI library does on its input thread. Its table is touched only on that
// thread; the main thread changes it through blocking invocations, so once a change returns
// no delivery uses the old callback.
class SimMidiDelivery : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Run on the delivery thread (through SimMidiBus).
    void setCallback(int inputId, MidiInput::Callback callback, void* userData);
    void setOpenSession(int inputId, unsigned long long session); // 0: closed
    void forget(int inputId);
    void deliver(int inputId, unsigned long long session, std::vector<unsigned char> message);

private:
    struct Entry
    {
        MidiInput::Callback callback = nullptr;
        void* userData = nullptr;
        unsigned long long session = 0;
    };
    std::map<int, Entry> entries;
};
