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
    // The same from one list; readOnlyOnly tells whether the only volumes with the label are
    // valid and ready but read-only.
    QString mountPath(const QString& label, bool* readOnlyOnly) const;

private:
    std::shared_ptr<VolumeList> volumes;
};
