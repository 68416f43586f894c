#include "LoggingUsbLookup.h"

#include "SoakLog.h"

#include <utility>

LoggingUsbLookup::LoggingUsbLookup(std::shared_ptr<UsbIdentityLookup> lookup, SoakLog& log)
    : lookup(std::move(lookup))
    , log(log)
{
}

UsbIds LoggingUsbLookup::lookUp(const QString& portName)
{
    const UsbIds ids = lookup->lookUp(portName);
    log.note(QStringLiteral("look up %1: %2").arg(portName, ids.found ? "found" : "not found"));
    return ids;
}
