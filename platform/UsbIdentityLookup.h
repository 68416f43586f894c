#pragma once

#include <QString>

// The USB identity of the device that stands behind one MIDI port.
struct UsbIds
{
    bool found = false;
    QString vendorId;  // four upper-case hex digits as the hardware spells them, e.g. "1D6B"
    QString productId; // e.g. "0104"
};

// Maps a MIDI port name to the USB device behind it. Never throws: a device that cannot be
// found or read is reported as not found.
class UsbIdentityLookup
{
public:
    virtual ~UsbIdentityLookup() = default;

    virtual UsbIds lookUp(const QString& portName) = 0;
};
