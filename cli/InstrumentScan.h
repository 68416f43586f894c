#pragma once

#include "MidiProblem.h"
#include "UsbIdentityLookup.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class MidiBackend;

// The instruments on the MIDI service right now, as "tavlo list" shows them: each input port
// whose USB device is the instrument, with the output port of the same device. Makes MIDI
// objects of its own for the look; the device link's are not touched.
namespace InstrumentScan {

struct Instrument
{
    QString input;
    QString output;
    UsbIds ids;
};

// problem (when given): why the MIDI service could not be used for the look (Kind None when
// it could); then nothing is found.
QList<Instrument> scan(MidiBackend& midi, UsbIdentityLookup& usb, MidiProblem* problem = nullptr);

// Whether the port name is the one given with --port: the same name, or the same once the
// sequencer's client and port numbers at its end ("... 24:0"), which change whenever the
// instrument comes back on USB, are left out of both. Pure.
bool portMatches(const QString& portName, const QString& wanted);

} // namespace InstrumentScan
