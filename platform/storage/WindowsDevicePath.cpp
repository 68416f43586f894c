#include "WindowsDevicePath.h"

namespace {
bool isAsciiLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}
} // namespace

std::wstring WindowsDevicePath::fromRoot(const std::wstring& root)
{
    // The drive is the root with a trailing backslash; its first two characters name it.
    std::wstring drive = root;
    if (drive.empty() || drive.back() != L'\\')
        drive += L'\\';

    // Only "X:" followed by a single separator is a drive root (seen with a backslash appended).
    const bool letterColon = drive.size() >= 3 && isAsciiLetter(drive[0]) && drive[1] == L':';
    const bool driveRoot = letterColon && (drive.size() == 3 || (drive.size() == 4 && drive[2] == L'/'));
    if (!driveRoot)
        return {};
    return L"\\\\.\\" + drive.substr(0, 2);
}
