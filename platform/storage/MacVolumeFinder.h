#pragma once

#include <QString>

#include <memory>

class ProcessRunner;

// The full edition's macOS form of the volume discovery: finds the instrument's disk with
// ioreg or "diskutil list", mounts it when it is not mounted (then waits mountSettleMs) and
// returns its volume name; empty when the instrument is not found, a program cannot run or
// the disk cannot be mounted. The tools run with argument lists, never through a shell.
class MacVolumeFinder
{
public:
    MacVolumeFinder(std::shared_ptr<ProcessRunner> tools, int mountSettleMs);

    QString findDeviceVolumeMacOS();

private:
    std::shared_ptr<ProcessRunner> tools;
    int mountSettleMs;
};
