#pragma once

#include <QString>

#include <string>

// The macOS form of the volume discovery: finds the instrument's disk with ioreg or
// "diskutil list", mounts it when needed and returns its volume name (empty when the
// instrument is not found). The update-only edition finds the disk with system_profiler
// instead. Part of the program on macOS only; compiled on other POSIX systems as a check.
class MacVolumeFinder
{
public:
    static QString findDeviceVolumeMacOS();
    // Runs a shell command and returns its standard output; throws std::runtime_error
    // ("popen() failed!") when the command cannot be started.
    static std::string runShellCommand(const std::string& command);
};
