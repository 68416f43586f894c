#pragma once

#include "UsbIdentityLookup.h"

#include <QPointer>

class SimMidiBus;

// Answers for the ports of the simulated bus: the identity of the device behind a port that is
// attached now, not found for any other name.
class SimUsbIdentityLookup : public UsbIdentityLookup
{
public:
    explicit SimUsbIdentityLookup(SimMidiBus* bus);

    UsbIds lookUp(const QString& portName) override;

private:
    QPointer<SimMidiBus> bus;
};
