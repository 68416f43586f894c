#pragma once

#include "UsbIdentityLookup.h"

#include <QString>

// The instrument's USB identity, the one place it is written: its MIDI ports and its
// volumes are the instrument's only when the USB device behind them carries it. Compared as
// text, as the lookups spell it (four upper-case hex digits).
namespace InstrumentUsbIdentity {

inline QString vendorId()
{
    return QStringLiteral("1D6B");
}

inline QString productId()
{
    return QStringLiteral("0104");
}

inline bool matches(const UsbIds& ids)
{
    return ids.found && ids.vendorId == vendorId() && ids.productId == productId();
}

} // namespace InstrumentUsbIdentity
