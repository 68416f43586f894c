// The macOS disk-list text: the disk name read from ioreg, "diskutil list" and
// "system_profiler" output, and the disks of the USB list with their devices' identities. A name is taken whole from where the output gives it and holds
// nothing past its end; a plain disk name is ASCII letters and digits, not empty; the
// update-only edition's name is one or nothing; and whatever the tools print, diskutil is
// handed nothing but "/dev/" and a disk identifier as a device.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "MacToolText.h"
#include "MacUsbMedia.h"
#include "MacUpdateVolumeFinder.h"
#include "MacVolumeFinder.h"
#include "ProcessRunner.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

bool usbId(const std::string& id)
{
    if (id.size() != 4)
        return false;
    for (const char ch : id)
        if (!((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F')))
            return false;
    return true;
}

bool plain(const std::string& name)
{
    for (const char ch : name)
        if (!((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')))
            return false;
    return true;
}

// Answers each call with the next piece of the input (pieces end at a zero byte; an empty
// piece exits 1), and keeps the calls.
class ScriptedTools : public ProcessRunner
{
public:
    explicit ScriptedTools(const std::string& script)
        : in(reinterpret_cast<const std::uint8_t*>(script.data()), script.size())
    {
    }

    std::optional<Result> run(const std::string& program, const std::vector<std::string>& arguments) override
    {
        std::vector<std::string> call{program};
        call.insert(call.end(), arguments.begin(), arguments.end());
        calls.push_back(call);
        if (in.atEnd())
            return std::nullopt;
        std::string output = in.field();
        const int exitCode = output.empty() ? 1 : 0;
        return Result{exitCode, std::move(output)};
    }

    FuzzInput in;
    std::vector<std::vector<std::string>> calls;
};

// Whatever the tools printed before, only the three tools run, and every device handed to
// diskutil is one argument of its own: "/dev/" and a disk identifier.
void checkCalls(const std::vector<std::vector<std::string>>& calls)
{
    for (const std::vector<std::string>& call : calls) {
        FUZZ_CHECK(call[0] == "ioreg" || call[0] == "diskutil" || call[0] == "system_profiler");
        for (const std::string& argument : call) {
            if (argument.find("/dev/") != std::string::npos) {
                FUZZ_CHECK(argument.rfind("/dev/", 0) == 0);
                FUZZ_CHECK(MacToolText::isDiskIdentifier(argument.substr(5)));
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::string ioreg = MacToolText::bsdNameFromIoreg(text);
    FUZZ_CHECK(ioreg.find('"') == std::string::npos);
    if (!ioreg.empty())
        FUZZ_CHECK(text.find("\"BSD Name\" = \"" + ioreg + "\"") == text.find("\"BSD Name\" = \""));

    const std::string disk = MacToolText::diskNameFromDiskutilList(text);
    if (!disk.empty()) {
        FUZZ_CHECK(disk.rfind("disk", 0) == 0);
        FUZZ_CHECK(disk.find_first_of(" \t\n") == std::string::npos);
        FUZZ_CHECK(disk.back() != '\r');
        FUZZ_CHECK(text.find(disk) != std::string::npos);
    }
    FUZZ_CHECK(text.find("Tavlo-Host") != std::string::npos || text.find("TAVLO") != std::string::npos
               || disk.empty());

    for (const std::string* name : {&ioreg, &disk, &text})
        FUZZ_CHECK(MacToolText::isPlainDiskName(*name) == (!name->empty() && plain(*name)));

    const std::string profiled = MacToolText::diskNameFromSystemProfiler(text);
    FUZZ_CHECK(plain(profiled));
    if (!profiled.empty()) {
        FUZZ_CHECK(text.find("Tavlo-Host") != std::string::npos);
        FUZZ_CHECK(text.find("File-Stor Gadget") != std::string::npos);
        const std::size_t at = text.find("BSD Name: ");
        FUZZ_CHECK(text.compare(at + 10, profiled.size(), profiled) == 0);
    }

    const std::string trimmed = MacToolText::trimmed(text);
    FUZZ_CHECK(text.find(trimmed) != std::string::npos);
    if (!trimmed.empty()) {
        FUZZ_CHECK(std::string(" \t\r\n").find(trimmed.front()) == std::string::npos);
        FUZZ_CHECK(std::string(" \t\r\n").find(trimmed.back()) == std::string::npos);
    }
    FUZZ_CHECK(MacToolText::trimmed(trimmed) == trimmed);

    // Both editions' discovery, the command outputs taken from the input.
    const std::string section = MacToolText::instrumentSectionOfIoreg(text);
    FUZZ_CHECK(section.size() <= text.size() + 1);
    FUZZ_CHECK(section.empty() || section.back() == '\n');
    for (const std::string& line : MacToolText::linesContaining(text, "Mounted")) {
        FUZZ_CHECK(line.find("Mounted") != std::string::npos && line.find('\n') == std::string::npos);
        const std::string last = MacToolText::lastField(line);
        FUZZ_CHECK(last.find_first_of(" \t") == std::string::npos);
        FUZZ_CHECK(MacToolText::secondColonField(line).find(':') == std::string::npos);
        FUZZ_CHECK(line.find(MacToolText::afterLast(line, "Mounted")) != std::string::npos);
    }

    // The USB list: every disk is a disk identifier named in the input, with a full identity.
    for (const MacUsbMedia::Disk& found : MacUsbMedia::disksOf(text)) {
        FUZZ_CHECK(MacToolText::isDiskIdentifier(found.bsdName));
        FUZZ_CHECK(text.find(found.bsdName) != std::string::npos);
        FUZZ_CHECK(usbId(found.vendorId) && usbId(found.productId));
    }
    const std::string id = MacUsbMedia::usbIdOf(text);
    FUZZ_CHECK(id.empty() || usbId(id));
    const std::string device = MacUsbMedia::bsdNameOfDevice(text);
    FUZZ_CHECK(device.empty() || (MacToolText::isDiskIdentifier(device) && text == "/dev/" + device));

    // Both editions' discovery, the tools' outputs taken from the input.
    auto full = std::make_shared<ScriptedTools>(text);
    MacVolumeFinder(full, 0).findDeviceVolumeMacOS();
    checkCalls(full->calls);
    auto updater = std::make_shared<ScriptedTools>(text);
    MacUpdateVolumeFinder(updater).findDeviceVolumeMacOS();
    checkCalls(updater->calls);
    return 0;
}
