#pragma once

#include "UsbIdentityLookup.h"

// macOS: CoreMIDI port names carry no number that leads to the USB device behind the port,
// so this first form reports every port as not found.
class MacUsbIdentityLookup : public UsbIdentityLookup
{
public:
    UsbIds lookUp(const QString& portName) override;
};
