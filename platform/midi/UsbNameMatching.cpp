#include "UsbNameMatching.h"

#include <cwchar>
#include <cwctype>
#include <vector>

namespace {

bool isSpace(wchar_t c)
{
    return std::iswspace(static_cast<std::wint_t>(c)) != 0;
}

bool isDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

std::vector<std::wstring> splitKeepingEmpty(const std::wstring& text, wchar_t separator)
{
    std::vector<std::wstring> parts;
    std::wstring::size_type start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        if (end == std::wstring::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

// Lower-cases the same way whatever the C library's locale: ASCII and Latin-1 letters by
// table, anything else through the C library.
wchar_t lowerCase(wchar_t c)
{
    if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<wchar_t>(c + 0x20);
    if (c < 0x80)
        return c;
    return static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
}

bool startsWith(const std::wstring& text, const wchar_t* prefix)
{
    return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

} // namespace

std::wstring UsbNameMatching::normalizedDeviceName(const std::wstring& name)
{
    // Simplify: trim and collapse inner runs of white space to one space.
    std::wstring simplified;
    simplified.reserve(name.size());
    bool pendingSpace = false;
    for (wchar_t c : name) {
        if (isSpace(c)) {
            pendingSpace = !simplified.empty();
            continue;
        }
        if (pendingSpace) {
            simplified.push_back(L' ');
            pendingSpace = false;
        }
        simplified.push_back(c);
    }

    // Remove a trailing " <digits>": after simplifying, that is one space and the digits.
    std::wstring::size_type end = simplified.size();
    while (end > 0 && isDigit(simplified[end - 1]))
        --end;
    if (end < simplified.size() && end > 0 && simplified[end - 1] == L' ')
        simplified.erase(end - 1);

    for (wchar_t& c : simplified)
        c = lowerCase(c);
    return simplified;
}

bool UsbNameMatching::fitsPropertyBuffer(std::size_t unitsWithTerminators)
{
    // Divided rather than multiplied: a huge count must not wrap round to a small byte count.
    return unitsWithTerminators <= propertyBufferBytes / 2;
}

UsbNameMatching::Result UsbNameMatching::splitHardwareId(const std::wstring& hardwareId)
{
    Result result;
    const auto parts = splitKeepingEmpty(hardwareId, L'\\');
    if (parts.size() < 2)
        return result;
    result.found = true;
    for (const auto& piece : splitKeepingEmpty(parts[1], L'&')) {
        if (startsWith(piece, L"VID_"))
            result.vendorId = piece.substr(4);
        else if (startsWith(piece, L"PID_"))
            result.productId = piece.substr(4);
    }
    return result;
}

UsbNameMatching::Result UsbNameMatching::matchDevice(const std::wstring& normalizedTarget,
                                                     const DeviceEntry& device)
{
    if (!device.hasFriendlyName || normalizedDeviceName(device.friendlyName) != normalizedTarget)
        return {};
    if (!device.hasHardwareId)
        return {};
    return splitHardwareId(device.hardwareId);
}
