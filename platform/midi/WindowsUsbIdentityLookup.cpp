#include "WindowsUsbIdentityLookup.h"

#include <utility>

WindowsUsbIdentityLookup::WindowsUsbIdentityLookup(DeviceWalk walk)
    : walk(std::move(walk))
{
}

UsbIds WindowsUsbIdentityLookup::lookUp(const QString& portName)
{
    UsbIds ids;
    if (!walk)
        return ids;
    const UsbNameMatching::Result result = walk(portName.toStdWString());
    ids.found = result.found;
    ids.vendorId = QString::fromStdWString(result.vendorId);
    ids.productId = QString::fromStdWString(result.productId);
    return ids;
}
