#include "MacVolumeFinder.h"

#include "MacShellText.h"
#include "ShellCommandRunner.h"

#include <QThread>

MacVolumeFinder::MacVolumeFinder(std::shared_ptr<ShellCommandRunner> shell, int mountSettleMs)
    : shell(std::move(shell))
    , mountSettleMs(mountSettleMs)
{
}

// No exception leaves the discovery (a failed allocation, a bad conversion): it finds nothing.
QString MacVolumeFinder::findDeviceVolumeMacOS()
try {
    if (!shell)
        return {};
    const std::optional<std::string> ioreg
        = shell->run("ioreg -r -c IOUSBHostDevice -l | grep -A 20 'Tavlo-Host\\|File-Stor Gadget'");
    if (!ioreg)
        return {};
    std::string diskName = MacShellText::bsdNameFromIoreg(*ioreg);
    if (diskName.empty()) {
        const std::optional<std::string> list = shell->run("diskutil list");
        if (!list)
            return {};
        diskName = MacShellText::diskNameFromDiskutilList(*list);
    }
    // The name goes into shell commands: a label on the volume could bring anything along.
    if (!MacShellText::isDiskIdentifier(diskName))
        return {};

    const std::optional<std::string> mounted
        = shell->run("diskutil info /dev/" + diskName + " 2>/dev/null | grep 'Mounted' | awk '{print $NF}'");
    if (!mounted)
        return {};
    const std::string state = MacShellText::trimmed(*mounted);
    if (state.empty() || state == "No") {
        if (!shell->run("diskutil mount /dev/" + diskName + " 2>&1"))
            return {};
        if (mountSettleMs > 0)
            QThread::msleep(static_cast<unsigned long>(mountSettleMs));
    }

    const std::optional<std::string> volumeName = shell->run(
        "diskutil info /dev/" + diskName + " 2>/dev/null | grep 'Volume Name' | sed 's/.*Volume Name:[[:space:]]*//'");
    if (!volumeName)
        return {};
    return QString::fromStdString(MacShellText::trimmed(*volumeName));
}
catch (...) {
    return {};
}
