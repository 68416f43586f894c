#include "VolumeStillPresent.h"

VolumeStillPresent::VolumeStillPresent(std::shared_ptr<VolumeList> volumes) : lookup(std::move(volumes)) {}

bool VolumeStillPresent::finishHandOver(const QString& label)
{
    return !lookup.mountPath(label).isEmpty();
}
