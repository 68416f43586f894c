#pragma once

#include <VolumeDismounter.h>

// The Qt side of the Windows dismount: hands the root path to WindowsVolumeDismount.
class WindowsVolumeDismounter : public VolumeDismounter
{
public:
    bool dismount(const QString& rootPath) override;
};
