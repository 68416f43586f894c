#pragma once

// The edition's MidiHandler, by its path from the tree's root (tests/device/CMakeLists.txt).
#include TAVLO_MIDI_HANDLER_H
#include "ShortDeviceTimings.h"
#include "SignalTimeline.h"
#include "SimMidiBus.h"
#include "SimMidiInstrument.h"

#include <QByteArray>

#include <memory>
#include <vector>

// A simulated bus with one instrument and the program's MidiHandler (of the edition the test
// links) on it, every signal of both recorded on one timeline, on the short device timings.
class DeviceRig
{
public:
    // The instrument joins the bus before the handler is made when attached is true.
    explicit DeviceRig(bool attached = true);

    void makeHandler();

    static QByteArray bytes(const std::vector<unsigned char>& message);
    // The messages the program sent that the instrument received, in order.
    QList<QByteArray> sentToInstrument() const;
    int sentCount(const std::vector<unsigned char>& message) const;
    QList<qint64> sentTimes(const std::vector<unsigned char>& message) const;
    // Makes the handler, connects it at once and waits for the version reply; then starts the
    // timeline afresh. False when that did not happen.
    bool startConnected();
    // Whether t lies within tolerance of expected (ms of the test's timeline).
    static bool near(qint64 t, qint64 expected, qint64 tolerance = ShortDeviceTimings::ms(300));
    // Calls the private presence check directly.
    bool checkNow();

    SignalTimeline timeline;
    SimMidiBus bus;
    SimMidiInstrument instrument{&bus};
    std::unique_ptr<MidiHandler> handler;
};
