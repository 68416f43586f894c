#include "MacUsbIdentityLookup.h"

UsbIds MacUsbIdentityLookup::lookUp(const QString& portName)
{
    Q_UNUSED(portName);
    return {};
}
