#pragma once

#include <QString>

#include <memory>

class ProcessRunner;

// The update-only edition's macOS form of the volume discovery: finds the instrument's disk
// in "system_profiler SPUSBDataType" output (no fallback), mounts it only when diskutil
// says exactly "No" (no wait after the mount) and returns its volume name; empty when the
// instrument is not found, a program cannot run or the disk cannot be mounted. The tools run
// with argument lists, never through a shell.
class MacUpdateVolumeFinder
{
public:
    explicit MacUpdateVolumeFinder(std::shared_ptr<ProcessRunner> tools);

    QString findDeviceVolumeMacOS();

private:
    std::shared_ptr<ProcessRunner> tools;
};
