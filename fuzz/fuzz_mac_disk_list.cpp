// The macOS disk-list text: the disk name read from ioreg, "diskutil list" and
// "system_profiler" output. A name is taken whole from where the output gives it and holds
// nothing past its end; a name that passes the check for shell commands is a plain disk name
// (ASCII letters and digits, not empty), and the update-only edition's name is one or nothing.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "MacShellText.h"
#include "MacUpdateVolumeFinder.h"
#include "MacVolumeFinder.h"
#include "ShellCommandRunner.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

bool plain(const std::string& name)
{
    for (const char ch : name)
        if (!((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')))
            return false;
    return true;
}

// Answers each command with the next piece of the input (pieces end at a zero byte), and
// keeps the commands.
class ScriptedShell : public ShellCommandRunner
{
public:
    explicit ScriptedShell(const std::string& script)
        : in(reinterpret_cast<const std::uint8_t*>(script.data()), script.size())
    {
    }

    std::optional<std::string> run(const std::string& command) override
    {
        commands.push_back(command);
        if (in.atEnd())
            return std::nullopt;
        return in.field();
    }

    FuzzInput in;
    std::vector<std::string> commands;
};

// Whatever the output of the commands before, every disk name put into a command (up to the
// next blank or the command's end) is plain.
void checkCommands(const std::vector<std::string>& commands)
{
    for (const std::string& command : commands) {
        for (std::size_t at = command.find("/dev/"); at != std::string::npos; at = command.find("/dev/", at + 1)) {
            if (command.compare(at, 11, "/dev/null |") == 0)
                continue;
            const std::size_t start = at + 5;
            const std::size_t space = command.find(' ', start);
            const std::size_t end = space == std::string::npos ? command.size() : space;
            FUZZ_CHECK(MacShellText::isPlainDiskName(command.substr(start, end - start)));
        }
    }
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

    for (const std::string* name : {&ioreg, &disk, &text})
        FUZZ_CHECK(MacShellText::isPlainDiskName(*name) == (!name->empty() && plain(*name)));

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

    // Both editions' discovery, the command outputs taken from the input.
    auto full = std::make_shared<ScriptedShell>(text);
    MacVolumeFinder(full, 0).findDeviceVolumeMacOS();
    checkCommands(full->commands);
    auto updater = std::make_shared<ScriptedShell>(text);
    MacUpdateVolumeFinder(updater).findDeviceVolumeMacOS();
    checkCommands(updater->commands);
    return 0;
}
