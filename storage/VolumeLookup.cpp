#include "VolumeLookup.h"
#include "StorageLog.h"

#include <VolumeList.h>

VolumeLookup::VolumeLookup(std::shared_ptr<VolumeList> volumes) : volumes(std::move(volumes)) {}

VolumeChoice VolumeLookup::choose(const QString& label) const
{
    if (!volumes)
        return VolumeChoice::among({}, label);
    const VolumeChoice choice = VolumeChoice::among(volumes->mountedVolumes(), label);
    if (choice.strangers() > 0)
        qCDebug(lcStorage, "%d volume(s) named %s not on the instrument's USB device: left alone",
                choice.strangers(), qPrintable(label));
    if (choice.kind() == VolumeChoice::Kind::Several)
        qCDebug(lcStorage, "Several of the instrument's volumes are named %s: none is used",
                qPrintable(label));
    else if (choice.kind() == VolumeChoice::Kind::Own)
        qCDebug(lcStorage, "Volume %s seen at %s", qPrintable(label), qPrintable(choice.rootPath()));
    return choice;
}

bool VolumeLookup::isMounted(const QString& label) const
{
    return !mountPath(label).isEmpty();
}

QString VolumeLookup::mountPath(const QString& label) const
{
    return choose(label).rootPath();
}
