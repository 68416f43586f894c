#include "VolumeChoice.h"

#include "StorageFailureText.h"

#include <InstrumentUsbIdentity.h>
#include <VolumeList.h>

namespace {

bool isInstruments(const VolumeInfo& volume)
{
    return !volume.usbChecked || InstrumentUsbIdentity::matches(volume.usb);
}

} // namespace

VolumeChoice VolumeChoice::among(const QList<VolumeInfo>& volumes, const QString& label)
{
    VolumeChoice choice;
    choice.wanted = label;
    int own = 0;
    const VolumeInfo* ownVolume = nullptr;
    for (const VolumeInfo& volume : volumes) {
        // An empty root cannot be worked on and would read as "not present" to callers.
        if (!volume.valid || !volume.ready || volume.displayName != label || volume.rootPath.isEmpty())
            continue;
        if (!isInstruments(volume)) {
            ++choice.strangerCount;
            continue;
        }
        ++own;
        ownVolume = &volume;
    }
    if (own > 1) {
        choice.which = Kind::Several;
    } else if (own == 1) {
        choice.which = ownVolume->readOnly ? Kind::ReadOnly : Kind::Own;
        if (choice.which == Kind::Own)
            choice.root = ownVolume->rootPath;
    } else {
        choice.which = choice.strangerCount > 0 ? Kind::Stranger : Kind::None;
    }
    return choice;
}

QString VolumeChoice::refusal() const
{
    switch (which) {
    case Kind::Stranger:
        return StorageFailureText::strangerVolume(wanted);
    case Kind::Several:
        return StorageFailureText::severalOwnVolumes(wanted);
    case Kind::Own:
    case Kind::None:
    case Kind::ReadOnly:
        break;
    }
    return {};
}
