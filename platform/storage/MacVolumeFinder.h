#pragma once

#include <QString>

#include <memory>

class ShellCommandRunner;

// The full edition's macOS form of the volume discovery: finds the instrument's disk with
// ioreg or "diskutil list", mounts it when it is not mounted (then waits mountSettleMs) and
// returns its volume name; empty when the instrument is not found or a command cannot run.
class MacVolumeFinder
{
public:
    MacVolumeFinder(std::shared_ptr<ShellCommandRunner> shell, int mountSettleMs);

    QString findDeviceVolumeMacOS();

private:
    std::shared_ptr<ShellCommandRunner> shell;
    int mountSettleMs;
};
