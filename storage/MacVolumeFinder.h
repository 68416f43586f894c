#pragma once

#include <QString>

#include <string>

// The macOS form of the volume discovery: finds the instrument's disk with ioreg or
// "diskutil list", mounts it when needed and returns its volume name (empty when the
// instrument is not found). Built on macOS only.
class MacVolumeFinder
{
public:
    static QString findDeviceVolumeMacOS();
    // Runs a shell command and returns its standard output; throws std::runtime_error
    // ("popen() failed!") when the command cannot be started.
    static std::string runShellCommand(const std::string& command);
};
