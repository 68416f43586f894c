#pragma once

#include <QString>

#include <memory>

class VolumeList;

// Finds the instrument's volume by its label in a fresh list of mounted volumes, every time:
// nothing is cached. A volume qualifies when it is valid, ready, writable, carries exactly
// the label (case-sensitive) and has a root path.
class VolumeLookup
{
public:
    explicit VolumeLookup(std::shared_ptr<VolumeList> volumes);

    // True when a qualifying volume exists.
    bool isMounted(const QString& label) const;
    // Root path of the first qualifying volume in the system's order; empty when none.
    QString mountPath(const QString& label) const;
    // True when a valid, ready volume with exactly this label is there but read-only.
    bool isPresentReadOnly(const QString& label) const;

private:
    std::shared_ptr<VolumeList> volumes;
};
