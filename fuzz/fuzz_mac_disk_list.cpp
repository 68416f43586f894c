// The macOS disk-list text: the disk name read from ioreg, "diskutil list" and
// "system_profiler" output. A name is taken whole from where the output gives it and holds
// nothing past its end; the name the update-only edition puts into shell commands is a plain
// disk name (letters and digits) or nothing.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "MacShellText.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

bool plain(const std::string& name)
{
    for (const char ch : name)
        if (!((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::string ioreg = MacShellText::bsdNameFromIoreg(text);
    FUZZ_CHECK(ioreg.find('"') == std::string::npos);
    if (!ioreg.empty())
        FUZZ_CHECK(text.find("\"BSD Name\" = \"" + ioreg + "\"") == text.find("\"BSD Name\" = \""));

    const std::string disk = MacShellText::diskNameFromDiskutilList(text);
    if (!disk.empty()) {
        FUZZ_CHECK(disk.rfind("disk", 0) == 0);
        FUZZ_CHECK(disk.find_first_of(" \t\n") == std::string::npos);
        FUZZ_CHECK(disk.back() != '\r');
        FUZZ_CHECK(text.find(disk) != std::string::npos);
    }
    FUZZ_CHECK(text.find("Tavlo-Host") != std::string::npos || text.find("TAVLO") != std::string::npos
               || disk.empty());

    const std::string profiled = MacShellText::diskNameFromSystemProfiler(text);
    FUZZ_CHECK(plain(profiled));
    if (!profiled.empty()) {
        FUZZ_CHECK(text.find("Tavlo-Host") != std::string::npos);
        FUZZ_CHECK(text.find("File-Stor Gadget") != std::string::npos);
        const std::size_t at = text.find("BSD Name: ");
        FUZZ_CHECK(text.compare(at + 10, profiled.size(), profiled) == 0);
    }

    const std::string trimmed = MacShellText::trimmed(text);
    FUZZ_CHECK(text.find(trimmed) != std::string::npos);
    if (!trimmed.empty()) {
        FUZZ_CHECK(std::string(" \t\r\n").find(trimmed.front()) == std::string::npos);
        FUZZ_CHECK(std::string(" \t\r\n").find(trimmed.back()) == std::string::npos);
    }
    FUZZ_CHECK(MacShellText::trimmed(trimmed) == trimmed);
    return 0;
}
