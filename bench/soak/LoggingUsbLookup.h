#pragma once

#include "UsbIdentityLookup.h"

#include <memory>

class SoakLog;

// The USB lookup handed to the program, noting each look in the soak's log: every look of
// the presence poll or of the wait at a port present on the bus shows there.
class LoggingUsbLookup : public UsbIdentityLookup
{
public:
    LoggingUsbLookup(std::shared_ptr<UsbIdentityLookup> lookup, SoakLog& log);

    UsbIds lookUp(const QString& portName) override;

private:
    std::shared_ptr<UsbIdentityLookup> lookup;
    SoakLog& log;
};
