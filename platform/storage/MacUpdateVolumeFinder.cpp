#include "MacUpdateVolumeFinder.h"

#include "MacToolText.h"
#include "ProcessRunner.h"

MacUpdateVolumeFinder::MacUpdateVolumeFinder(std::shared_ptr<ProcessRunner> tools)
    : tools(std::move(tools))
{
}

namespace {
// The second colon field of each line that contains key, one per line (as "diskutil info"
// answers: "   Mounted:   Yes").
std::string fieldsOf(const std::string& output, const std::string& key)
{
    std::vector<std::string> fields;
    for (const std::string& line : MacToolText::linesContaining(output, key))
        fields.push_back(MacToolText::secondColonField(line));
    return MacToolText::trimmed(MacToolText::joinedLines(fields));
}
} // namespace

// No exception leaves the discovery (a failed allocation, a bad conversion): it finds nothing.
QString MacUpdateVolumeFinder::findDeviceVolumeMacOS()
try {
    if (!tools)
        return {};
    const auto profile = tools->run("system_profiler", {"SPUSBDataType"});
    if (!profile)
        return {};
    const std::string diskName = MacToolText::diskNameFromSystemProfiler(profile->output);
    // The name goes to diskutil: a BSD disk identifier and nothing else.
    if (!MacToolText::isDiskIdentifier(diskName))
        return {};
    const std::string device = "/dev/" + diskName;

    const auto mounted = tools->run("diskutil", {"info", device});
    if (!mounted)
        return {};
    if (fieldsOf(mounted->output, "Mounted") == "No") {
        const auto mount = tools->run("diskutil", {"mount", device});
        if (!mount || mount->exitCode != 0)
            return {};
    }

    const auto info = tools->run("diskutil", {"info", device});
    if (!info)
        return {};
    return QString::fromStdString(fieldsOf(info->output, "Volume Name"));
}
catch (...) {
    return {};
}
