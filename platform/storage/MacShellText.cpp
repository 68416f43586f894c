#include "MacShellText.h"

std::string MacShellText::bsdNameFromIoreg(const std::string& ioregOutput)
{
    static const std::string marker = "\"BSD Name\" = \"";
    const std::size_t at = ioregOutput.find(marker);
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + marker.size();
    const std::size_t end = ioregOutput.find('"', start);
    if (end == std::string::npos)
        return {};
    return ioregOutput.substr(start, end - start);
}

std::string MacShellText::diskNameFromDiskutilList(const std::string& diskutilOutput)
{
    std::size_t lineStart = 0;
    while (lineStart <= diskutilOutput.size()) {
        std::size_t lineEnd = diskutilOutput.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = diskutilOutput.size();
        const std::string line = diskutilOutput.substr(lineStart, lineEnd - lineStart);
        if (line.find("Tavlo-Host") != std::string::npos || line.find("TAVLO") != std::string::npos) {
            const std::size_t disk = line.find("disk");
            if (disk == std::string::npos)
                return {};
            std::size_t end = line.find_first_of(" \t", disk);
            if (end == std::string::npos)
                end = line.size();
            // A line ending in CR LF must not carry the CR into the name.
            std::string name = line.substr(disk, end - disk);
            while (!name.empty() && (name.back() == '\r'))
                name.pop_back();
            return name;
        }
        if (lineEnd == diskutilOutput.size())
            break;
        lineStart = lineEnd + 1;
    }
    return {};
}

std::string MacShellText::trimmed(const std::string& text)
{
    static const char* const blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::string MacShellText::diskNameFromSystemProfiler(const std::string& output)
{
    static const std::string marker = "BSD Name: ";
    if (output.find("Tavlo-Host") == std::string::npos
        || output.find("File-Stor Gadget") == std::string::npos)
        return {};
    const std::size_t at = output.find(marker);
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + marker.size();
    std::size_t end = output.find('\n', start);
    if (end == std::string::npos)
        end = output.size();
    std::string name = output.substr(start, end - start);
    if (!name.empty() && name.back() == '\r')
        name.pop_back();
    return isPlainDiskName(name) ? name : std::string();
}

namespace {
// Digits from at up to the first non-digit; returns where they end (at when there are none).
std::size_t digitsEnd(const std::string& text, std::size_t at)
{
    while (at < text.size() && text[at] >= '0' && text[at] <= '9')
        ++at;
    return at;
}
} // namespace

bool MacShellText::isDiskIdentifier(const std::string& name)
{
    const std::string prefix = "disk";
    if (name.compare(0, prefix.size(), prefix) != 0)
        return false;
    std::size_t at = digitsEnd(name, prefix.size());
    if (at == prefix.size())
        return false;
    if (at == name.size())
        return true;
    if (name[at] != 's')
        return false;
    const std::size_t slice = digitsEnd(name, at + 1);
    return slice > at + 1 && slice == name.size();
}

bool MacShellText::isPlainDiskName(const std::string& name)
{
    if (name.empty())
        return false;
    for (const char ch : name) {
        const bool plain = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
        if (!plain)
            return false;
    }
    return true;
}
