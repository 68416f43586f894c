#include "MacUpdateVolumeFinder.h"

#include "MacShellText.h"
#include "ShellCommandRunner.h"

MacUpdateVolumeFinder::MacUpdateVolumeFinder(std::shared_ptr<ShellCommandRunner> shell)
    : shell(std::move(shell))
{
}

// No exception leaves the discovery (a failed allocation, a bad conversion): it finds nothing.
QString MacUpdateVolumeFinder::findDeviceVolumeMacOS()
try {
    if (!shell)
        return {};
    const std::optional<std::string> profile = shell->run("system_profiler SPUSBDataType");
    if (!profile)
        return {};
    const std::string diskName = MacShellText::diskNameFromSystemProfiler(*profile);
    // The name goes into diskutil commands: a BSD disk identifier and nothing else.
    if (!MacShellText::isDiskIdentifier(diskName))
        return {};

    const std::optional<std::string> mounted
        = shell->run("diskutil info /dev/" + diskName + " | grep 'Mounted' | awk -F: '{print $2}'");
    if (!mounted)
        return {};
    if (MacShellText::trimmed(*mounted) == "No" && !shell->run("diskutil mount /dev/" + diskName))
        return {};

    const std::optional<std::string> volumeName
        = shell->run("diskutil info /dev/" + diskName + " | grep 'Volume Name' | awk -F: '{print $2}'");
    if (!volumeName)
        return {};
    return QString::fromStdString(MacShellText::trimmed(*volumeName));
}
catch (...) {
    return {};
}
