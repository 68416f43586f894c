#include "VolumeEjector.h"

#include <VolumeDismounter.h>

VolumeEjector::VolumeEjector(std::shared_ptr<VolumeList> volumes,
                             std::shared_ptr<VolumeDismounter> dismounter)
    : lookup(std::move(volumes))
    , dismounter(std::move(dismounter))
{
}

bool VolumeEjector::eject(const QString& label)
{
    const QString root = lookup.mountPath(label);
    if (root.isEmpty() || !dismounter)
        return false;
    return dismounter->dismount(root);
}
