#pragma once

#include <cstddef>
#include <string>

// The pure steps of finding the USB identity behind a MIDI port on a system whose device list
// gives friendly names and hardware IDs (the Windows device list of the multimedia class).
// Plain standard C++: no Qt and no Win32, so it is built and tested on every platform.
class UsbNameMatching
{
public:
    // What one device of the list reported. A property that could not be read (for example
    // because it does not fit the fixed property buffer) has its flag cleared.
    struct DeviceEntry
    {
        bool hasFriendlyName = false;
        std::wstring friendlyName;
        bool hasHardwareId = false;
        std::wstring hardwareId; // the first string of the property, up to its first NUL
    };

    struct Result
    {
        bool found = false;
        std::wstring vendorId;
        std::wstring productId;
    };

    // The size in bytes of the buffer that device properties are read into.
    static constexpr std::size_t propertyBufferBytes = 512;

    // Trimmed, inner white space runs collapsed to one space, a trailing run of white space
    // followed by digits removed, lower-cased. The MIDI library appends " <number>" to every
    // Windows port name; this form makes such a name equal to the friendly name of its device.
    static std::wstring normalizedDeviceName(const std::wstring& name);

    // Whether a property of this many UTF-16 units (terminators included) fits the buffer.
    static bool fitsPropertyBuffer(std::size_t unitsWithTerminators);

    // Splits "USB\VID_1D6B&PID_0104&MI_00" into vendor and product. found is false when the
    // ID has no second part; the IDs may be empty when the pieces are missing. "VID_" and
    // "PID_" are matched case-sensitively; a later piece of the same kind wins.
    static Result splitHardwareId(const std::wstring& hardwareId);

    // One step of the device walk: whether this device stands behind the port whose
    // normalised name is normalizedTarget, and if so its IDs.
    static Result matchDevice(const std::wstring& normalizedTarget, const DeviceEntry& device);
};
