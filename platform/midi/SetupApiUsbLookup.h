#pragma once

#include "UsbNameMatching.h"

#include <string>

// Windows: finds the USB identity behind a MIDI port in the list of present devices of the
// multimedia class (SetupAPI). Plain Win32 and standard C++; no Qt.
class SetupApiUsbLookup
{
public:
    static UsbNameMatching::Result lookUp(const std::wstring& portName);
};
