#include "SetupApiUsbLookup.h"

#include <windows.h>
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>

namespace {

// Reads one string property into the fixed 512-byte buffer. A property that does not fit,
// or cannot be read at all, counts as missing: the device is skipped.
bool readProperty(HDEVINFO devices, SP_DEVINFO_DATA* device, DWORD property, std::wstring* out)
{
    DWORD requiredBytes = 0;
    SetupDiGetDeviceRegistryPropertyW(devices, device, property, nullptr, nullptr, 0,
                                      &requiredBytes);
    if (requiredBytes == 0
        || !UsbNameMatching::fitsPropertyBuffer(requiredBytes / sizeof(wchar_t))) {
        return false;
    }
    wchar_t buffer[UsbNameMatching::propertyBufferBytes / sizeof(wchar_t)] = {};
    DWORD dataType = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(devices, device, property, &dataType,
                                           reinterpret_cast<PBYTE>(buffer), sizeof(buffer),
                                           nullptr)) {
        return false;
    }
    // Make sure the text ends inside the buffer, then take it up to its first NUL (for a
    // list of strings this is the first string).
    buffer[(sizeof(buffer) / sizeof(wchar_t)) - 1] = L'\0';
    *out = std::wstring(buffer);
    return true;
}

} // namespace

UsbNameMatching::Result SetupApiUsbLookup::lookUp(const std::wstring& portName)
{
    HDEVINFO devices = SetupDiGetClassDevsW(&GUID_DEVCLASS_MEDIA, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE)
        return {};

    const std::wstring target = UsbNameMatching::normalizedDeviceName(portName);
    UsbNameMatching::Result result;
    SP_DEVINFO_DATA device;
    device.cbSize = sizeof(device);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        UsbNameMatching::DeviceEntry entry;
        entry.hasFriendlyName = readProperty(devices, &device, SPDRP_FRIENDLYNAME, &entry.friendlyName);
        if (!entry.hasFriendlyName
            || UsbNameMatching::normalizedDeviceName(entry.friendlyName) != target) {
            continue;
        }
        entry.hasHardwareId = readProperty(devices, &device, SPDRP_HARDWAREID, &entry.hardwareId);
        result = UsbNameMatching::matchDevice(target, entry);
        if (result.found)
            break;
    }
    SetupDiDestroyDeviceInfoList(devices);
    return result;
}
