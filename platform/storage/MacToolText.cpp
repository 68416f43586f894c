#include "MacToolText.h"


std::string MacToolText::bsdNameFromIoreg(const std::string& ioregOutput)
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

std::string MacToolText::instrumentSectionOfIoreg(const std::string& ioregOutput)
{
    static const int kLinesAfter = 20;
    std::string section;
    int after = 0;
    std::size_t lineStart = 0;
    while (lineStart < ioregOutput.size()) {
        std::size_t lineEnd = ioregOutput.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = ioregOutput.size();
        const std::string line = ioregOutput.substr(lineStart, lineEnd - lineStart);
        if (line.find("Tavlo-Host") != std::string::npos || line.find("File-Stor Gadget") != std::string::npos) {
            after = kLinesAfter;
            section += line + '\n';
        } else if (after > 0) {
            --after;
            section += line + '\n';
        }
        lineStart = lineEnd + 1;
    }
    return section;
}

std::vector<std::string> MacToolText::linesContaining(const std::string& text, const std::string& key)
{
    std::vector<std::string> lines;
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        std::string line = text.substr(lineStart, lineEnd - lineStart);
        if (line.find(key) != std::string::npos)
            lines.push_back(std::move(line));
        lineStart = lineEnd + 1;
    }
    return lines;
}

std::string MacToolText::lastField(const std::string& line)
{
    static const char* const separators = " \t";
    const std::size_t last = line.find_last_not_of(separators);
    if (last == std::string::npos)
        return {};
    const std::size_t before = line.find_last_of(separators, last);
    const std::size_t first = before == std::string::npos ? 0 : before + 1;
    return line.substr(first, last - first + 1);
}

std::string MacToolText::secondColonField(const std::string& line)
{
    const std::size_t first = line.find(':');
    if (first == std::string::npos)
        return {};
    const std::size_t second = line.find(':', first + 1);
    return line.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
}

std::string MacToolText::afterLast(const std::string& line, const std::string& key)
{
    const std::size_t at = line.rfind(key);
    if (at == std::string::npos || key.empty())
        return line;
    const std::size_t start = line.find_first_not_of(" \t", at + key.size());
    return start == std::string::npos ? std::string() : line.substr(start);
}

std::string MacToolText::joinedLines(const std::vector<std::string>& pieces)
{
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            joined += '\n';
        joined += pieces[i];
    }
    return joined;
}

std::string MacToolText::diskNameFromDiskutilList(const std::string& diskutilOutput)
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

std::string MacToolText::trimmed(const std::string& text)
{
    static const char* const blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::string MacToolText::diskNameFromSystemProfiler(const std::string& output)
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

bool MacToolText::isDiskIdentifier(const std::string& name)
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

bool MacToolText::isPlainDiskName(const std::string& name)
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
