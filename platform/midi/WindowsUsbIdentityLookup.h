#pragma once

#include "UsbIdentityLookup.h"
#include "UsbNameMatching.h"

#include <functional>
#include <string>

// The Qt side of the Windows lookup: converts the port name to a wide string, asks the
// Qt-free device walk and hands its answer back as UsbIds. The walk is passed in so that
// this adapter builds and is tested on every platform; production passes the SetupAPI walk.
class WindowsUsbIdentityLookup : public UsbIdentityLookup
{
public:
    using DeviceWalk = std::function<UsbNameMatching::Result(const std::wstring& portName)>;

    explicit WindowsUsbIdentityLookup(DeviceWalk walk);

    UsbIds lookUp(const QString& portName) override;

private:
    DeviceWalk walk;
};
