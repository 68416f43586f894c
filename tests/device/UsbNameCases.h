#pragma once

// Cases for the pure steps of the Windows USB lookup, shared by the native test and the
// Windows check program. Standard C++ only.

#include <string>

struct NormalizeCase
{
    const char* label;
    std::wstring input;
    std::wstring expected;
};

inline const NormalizeCase kNormalizeCases[] = {
    {"port name with library number", L"Tavlo MIDI 1", L"tavlo midi"},
    {"port name with two-digit number", L"Tavlo 12", L"tavlo"},
    {"plain friendly name", L"Tavlo", L"tavlo"},
    {"outer and inner white space", L"  Tavlo \t  Synth  ", L"tavlo synth"},
    {"white space before the number", L"Tavlo   3  ", L"tavlo"},
    {"friendly name ending in digits loses them", L"Tavlo 2 3", L"tavlo 2"},
    {"digits glued to the word stay", L"Tavlo2", L"tavlo2"},
    {"only a number", L"42", L"42"},
    {"empty", L"", L""},
    {"only white space", L"   ", L""},
    {"upper case non-ASCII", L"\u00C9TUDE 1", L"\u00E9tude"},
};

struct HardwareIdCase
{
    const char* label;
    std::wstring hardwareId;
    bool found;
    std::wstring vendor;
    std::wstring product;
};

inline const HardwareIdCase kHardwareIdCases[] = {
    {"instrument", L"USB\\VID_1D6B&PID_0104&REV_0100&MI_01", true, L"1D6B", L"0104"},
    {"lower-case vendor prefix is not a vendor", L"USB\\vid_1d6b&PID_0104", true, L"", L"0104"},
    {"later piece overwrites", L"USB\\VID_1111&VID_1D6B&PID_0104", true, L"1D6B", L"0104"},
    {"no second part", L"ROOT_MEDIA", false, L"", L""},
    {"empty second part", L"USB\\", true, L"", L""},
    {"empty pieces kept", L"USB\\&&VID_1D6B&&PID_0104&", true, L"1D6B", L"0104"},
    {"third part ignored", L"SWD\\MMDEVAPI\\VID_1D6B&PID_0104", true, L"", L""},
    {"empty", L"", false, L"", L""},
    {"vendor only", L"USB\\VID_1D6B", true, L"1D6B", L""},
};
