// The USB name matching of the Windows lookup: the port name normalised, one device of the
// device list matched against it, its hardware ID split. Fields come from the input as
// UTF-16 units separated by a zero unit. After them, the instance IDs of a disk and its
// parents (fields up to the end) are read as the volume's USB lookup reads them
// (UsbDeviceChain): an identity found is complete and comes from a "USB\" entry.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "UsbDeviceChain.h"
#include "UsbNameMatching.h"

#include <cstddef>
#include <cstdint>
#include <cwctype>
#include <limits>
#include <string>
#include <vector>

namespace {

std::wstring wide(const std::string& bytes)
{
    std::wstring out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i])
                                           | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return out;
}

// A field of UTF-16 units: pairs of bytes up to a zero pair.
std::wstring wideField(FuzzInput& in)
{
    std::string bytes;
    while (!in.atEnd()) {
        const std::uint8_t lo = in.byte();
        const std::uint8_t hi = in.byte();
        if (lo == 0 && hi == 0)
            break;
        bytes.push_back(static_cast<char>(lo));
        bytes.push_back(static_cast<char>(hi));
    }
    return wide(bytes);
}

void checkNormalized(const std::wstring& name)
{
    const std::wstring n = UsbNameMatching::normalizedDeviceName(name);
    FUZZ_CHECK(n.size() <= name.size());
    if (n.empty())
        return;
    FUZZ_CHECK(!std::iswspace(static_cast<std::wint_t>(n.front())));
    FUZZ_CHECK(!std::iswspace(static_cast<std::wint_t>(n.back())));
    for (std::size_t i = 0; i < n.size(); ++i) {
        FUZZ_CHECK(!(n[i] >= L'A' && n[i] <= L'Z'));
        if (std::iswspace(static_cast<std::wint_t>(n[i])))
            FUZZ_CHECK(n[i] == L' ' && n[i + 1] != L' ');
    }
    // The number the MIDI library appends to a port name makes no difference (to a name
    // that does not end in a number itself).
    const auto last = name.find_last_not_of(L" \t\n\v\f\r");
    if (last != std::wstring::npos && !(name[last] >= L'0' && name[last] <= L'9'))
        FUZZ_CHECK(UsbNameMatching::normalizedDeviceName(name + L" 12") == n);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const std::uint8_t flags = in.byte();
    const std::wstring portName = wideField(in);
    UsbNameMatching::DeviceEntry device;
    device.hasFriendlyName = (flags & 1) != 0;
    device.friendlyName = wideField(in);
    device.hasHardwareId = (flags & 2) != 0;
    device.hardwareId = wideField(in);

    checkNormalized(portName);
    checkNormalized(device.friendlyName);

    const std::wstring target = UsbNameMatching::normalizedDeviceName(portName);
    const UsbNameMatching::Result match = UsbNameMatching::matchDevice(target, device);
    const UsbNameMatching::Result split = UsbNameMatching::splitHardwareId(device.hardwareId);
    const bool sameName = UsbNameMatching::normalizedDeviceName(device.friendlyName) == target;
    if (device.hasFriendlyName && device.hasHardwareId && sameName) {
        FUZZ_CHECK(match.found == split.found && match.vendorId == split.vendorId
                   && match.productId == split.productId);
    } else {
        FUZZ_CHECK(!match.found && match.vendorId.empty() && match.productId.empty());
    }

    const std::wstring& id = device.hardwareId;
    FUZZ_CHECK(split.found == (id.find(L'\\') != std::wstring::npos));
    for (const std::wstring* part : {&split.vendorId, &split.productId}) {
        FUZZ_CHECK(part->find(L'\\') == std::wstring::npos && part->find(L'&') == std::wstring::npos);
        FUZZ_CHECK(part->empty() || id.find(*part) != std::wstring::npos);
    }
    if (!split.vendorId.empty())
        FUZZ_CHECK(id.find(L"VID_" + split.vendorId) != std::wstring::npos);
    if (!split.productId.empty())
        FUZZ_CHECK(id.find(L"PID_" + split.productId) != std::wstring::npos);

    // An ID written the way the device list writes it splits back into its pieces.
    std::wstring vendor = device.friendlyName.substr(0, 4);
    std::wstring product = portName.substr(0, 4);
    for (std::wstring* piece : {&vendor, &product})
        for (wchar_t& c : *piece)
            if (c == L'\\' || c == L'&')
                c = L'0';
    const UsbNameMatching::Result built
        = UsbNameMatching::splitHardwareId(L"USB\\VID_" + vendor + L"&PID_" + product + L"&MI_00");
    FUZZ_CHECK(built.found && built.vendorId == vendor && built.productId == product);

    // The property buffer check: exactly the sizes whose bytes fit, however large the size.
    std::size_t units = 0;
    for (int i = 0; i < 8; ++i)
        units = (units << 8) | in.byte();
    const bool fits = UsbNameMatching::fitsPropertyBuffer(units);
    FUZZ_CHECK(fits == (units <= UsbNameMatching::propertyBufferBytes / 2));
    FUZZ_CHECK(!UsbNameMatching::fitsPropertyBuffer(std::numeric_limits<std::size_t>::max() / 2 + 1));

    std::vector<std::wstring> chain;
    while (!in.atEnd() && chain.size() < 16)
        chain.push_back(wideField(in));
    const UsbNameMatching::Result disk = UsbDeviceChain::identityOf(chain);
    if (disk.found) {
        FUZZ_CHECK(!disk.vendorId.empty() && !disk.productId.empty());
        bool fromUsbEntry = false;
        for (const std::wstring& entry : chain) {
            const bool usb = entry.size() > 4 && std::towupper(entry[0]) == L'U'
                && std::towupper(entry[1]) == L'S' && std::towupper(entry[2]) == L'B' && entry[3] == L'\\';
            if (usb && entry.find(L"VID_" + disk.vendorId) != std::wstring::npos
                && entry.find(L"PID_" + disk.productId) != std::wstring::npos)
                fromUsbEntry = true;
        }
        FUZZ_CHECK(fromUsbEntry);
    } else {
        FUZZ_CHECK(disk.vendorId.empty() && disk.productId.empty());
    }
    // The chain of a mass-storage disk on a USB device gives that device's identity.
    const UsbNameMatching::Result built2 = UsbDeviceChain::identityOf(
        {L"USBSTOR\\DISK\\1", L"USB\\VID_" + vendor + L"&PID_" + product + L"\\SN"});
    FUZZ_CHECK(built2.found == (!vendor.empty() && !product.empty()));
    return 0;
}
