#pragma once

#include <VolumeDismounter.h>

// Dismounts a volume on macOS with "diskutil unmount" on its root. Built on macOS only.
class MacVolumeDismounter : public VolumeDismounter
{
public:
    bool dismount(const QString& rootPath) override;
};
