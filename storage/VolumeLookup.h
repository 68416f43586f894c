#pragma once

#include "VolumeChoice.h"

#include <QString>

#include <memory>

class VolumeList;

// Finds the instrument's volume by its label in a fresh list of mounted volumes, every time:
// nothing is cached. Which volume with the label is the instrument's is VolumeChoice's rule:
// a volume of another USB device (a stranger) is never returned, and neither is any of
// several of the instrument's own.
class VolumeLookup
{
public:
    explicit VolumeLookup(std::shared_ptr<VolumeList> volumes);

    // The choice among the volumes listed now (None without a list). A stranger is logged.
    VolumeChoice choose(const QString& label) const;
    // True when the instrument's one writable volume with the label is there.
    bool isMounted(const QString& label) const;
    // Its root path; empty when choose() finds no Own volume.
    QString mountPath(const QString& label) const;

private:
    std::shared_ptr<VolumeList> volumes;
};
