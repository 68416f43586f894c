#include "MacVolumeFinder.h"

#include "MacToolText.h"
#include "ProcessRunner.h"

#include <QThread>

MacVolumeFinder::MacVolumeFinder(std::shared_ptr<ProcessRunner> tools, int mountSettleMs)
    : tools(std::move(tools))
    , mountSettleMs(mountSettleMs)
{
}

// No exception leaves the discovery (a failed allocation, a bad conversion): it finds nothing.
QString MacVolumeFinder::findDeviceVolumeMacOS()
try {
    if (!tools)
        return {};
    const auto ioreg = tools->run("ioreg", {"-r", "-c", "IOUSBHostDevice", "-l"});
    if (!ioreg)
        return {};
    std::string diskName = MacToolText::bsdNameFromIoreg(MacToolText::instrumentSectionOfIoreg(ioreg->output));
    if (diskName.empty()) {
        const auto list = tools->run("diskutil", {"list"});
        if (!list)
            return {};
        diskName = MacToolText::diskNameFromDiskutilList(list->output);
    }
    // A label on the volume could bring anything along: only a disk identifier goes on.
    if (!MacToolText::isDiskIdentifier(diskName))
        return {};
    const std::string device = "/dev/" + diskName;

    const auto mounted = tools->run("diskutil", {"info", device});
    if (!mounted)
        return {};
    std::vector<std::string> states;
    for (const std::string& line : MacToolText::linesContaining(mounted->output, "Mounted"))
        states.push_back(MacToolText::lastField(line));
    const std::string state = MacToolText::trimmed(MacToolText::joinedLines(states));
    if (state.empty() || state == "No") {
        const auto mount = tools->run("diskutil", {"mount", device});
        if (!mount || mount->exitCode != 0)
            return {};
        if (mountSettleMs > 0)
            QThread::msleep(static_cast<unsigned long>(mountSettleMs));
    }

    const auto info = tools->run("diskutil", {"info", device});
    if (!info)
        return {};
    std::vector<std::string> names;
    for (const std::string& line : MacToolText::linesContaining(info->output, "Volume Name"))
        names.push_back(MacToolText::afterLast(line, "Volume Name:"));
    return QString::fromStdString(MacToolText::trimmed(MacToolText::joinedLines(names)));
}
catch (...) {
    return {};
}
