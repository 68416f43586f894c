#include "SimUsbIdentityLookup.h"

#include "SimMidiBus.h"

SimUsbIdentityLookup::SimUsbIdentityLookup(SimMidiBus* bus)
    : bus(bus)
{
}

UsbIds SimUsbIdentityLookup::lookUp(const QString& portName)
{
    if (!bus)
        return {};
    for (unsigned int i = 0; i < bus->portCount(true); ++i) {
        if (const SimMidiBus::Port* p = bus->portAt(true, i); p && p->name == portName)
            return p->ids;
    }
    for (unsigned int i = 0; i < bus->portCount(false); ++i) {
        if (const SimMidiBus::Port* p = bus->portAt(false, i); p && p->name == portName)
            return p->ids;
    }
    return {};
}
