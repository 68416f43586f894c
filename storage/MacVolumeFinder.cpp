#include "MacVolumeFinder.h"

#include "MacShellText.h"

#include <QThread>

#include <cstdio>
#include <stdexcept>

std::string MacVolumeFinder::runShellCommand(const std::string& command)
{
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("popen() failed!");
    std::string result;
    char buffer[128];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        result += buffer;
    ::pclose(pipe);
    return result;
}

#ifdef TAVLO_UPDATE_ONLY

QString MacVolumeFinder::findDeviceVolumeMacOS()
{
    const std::string diskName
        = MacShellText::diskNameFromSystemProfiler(runShellCommand("system_profiler SPUSBDataType"));
    if (diskName.empty())
        return {};

    const std::string mounted = MacShellText::trimmed(runShellCommand(
        "diskutil info /dev/" + diskName + " | grep 'Mounted' | awk -F: '{print $2}'"));
    if (mounted == "No")
        runShellCommand("diskutil mount /dev/" + diskName);

    const std::string volumeName = MacShellText::trimmed(runShellCommand(
        "diskutil info /dev/" + diskName + " | grep 'Volume Name' | awk -F: '{print $2}'"));
    return QString::fromStdString(volumeName);
}

#else

QString MacVolumeFinder::findDeviceVolumeMacOS()
{
    std::string diskName = MacShellText::bsdNameFromIoreg(runShellCommand(
        "ioreg -r -c IOUSBHostDevice -l | grep -A 20 'Tavlo-Host\\|File-Stor Gadget'"));
    if (diskName.empty())
        diskName = MacShellText::diskNameFromDiskutilList(runShellCommand("diskutil list"));
    if (diskName.empty())
        return {};

    const std::string mounted = MacShellText::trimmed(runShellCommand(
        "diskutil info /dev/" + diskName + " 2>/dev/null | grep 'Mounted' | awk '{print $NF}'"));
    if (mounted.empty() || mounted == "No") {
        runShellCommand("diskutil mount /dev/" + diskName + " 2>&1");
        QThread::msleep(500);
    }

    const std::string volumeName = MacShellText::trimmed(runShellCommand(
        "diskutil info /dev/" + diskName
        + " 2>/dev/null | grep 'Volume Name' | sed 's/.*Volume Name:[[:space:]]*//'"));
    return QString::fromStdString(volumeName);
}

#endif
