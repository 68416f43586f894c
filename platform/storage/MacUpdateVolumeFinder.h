#pragma once

#include <QString>

#include <memory>

class ShellCommandRunner;

// The update-only edition's macOS form of the volume discovery: finds the instrument's disk
// in "system_profiler SPUSBDataType" output (no fallback), mounts it only when diskutil
// says exactly "No" (no wait after the mount) and returns its volume name; empty when the
// instrument is not found or a command cannot run.
class MacUpdateVolumeFinder
{
public:
    explicit MacUpdateVolumeFinder(std::shared_ptr<ShellCommandRunner> shell);

    QString findDeviceVolumeMacOS();

private:
    std::shared_ptr<ShellCommandRunner> shell;
};
