#pragma once

#include <string>

// The device path of a drive-letter volume, for opening the volume itself with CreateFileW:
// a root of "E:/" (or "E:\", or "E:") gives \\.\E: (backslash, backslash, dot, backslash,
// drive letter, colon). Plain standard C++, built and tested on every system.
class WindowsDevicePath
{
public:
    // Empty when the root is not a drive root: a volume mounted in a folder such as
    // "C:/mnt/tavlo/" must never be turned into the device path of drive C:.
    static std::wstring fromRoot(const std::wstring& root);
};
