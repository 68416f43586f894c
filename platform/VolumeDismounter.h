#pragma once

#include <QString>
#include <QStringList>

// Detaches a mounted volume from the computer: lock it for exclusive use where the system
// allows (a failed lock is not an error), dismount it, report whether the dismount succeeded.
class VolumeDismounter
{
public:
    virtual ~VolumeDismounter() = default;

    virtual bool dismount(const QString& rootPath) = 0;
    // The names of the programs that have the volume in use (files open on it, a working
    // folder there), where the system tells; empty where it does not.
    virtual QStringList holders(const QString& rootPath) { (void)rootPath; return {}; }
};
