#pragma once

#include <QString>

// Detaches a mounted volume from the computer: lock it for exclusive use where the system
// allows (a failed lock is not an error), dismount it, report whether the dismount succeeded.
class VolumeDismounter
{
public:
    virtual ~VolumeDismounter() = default;

    virtual bool dismount(const QString& rootPath) = 0;
};
