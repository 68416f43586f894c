#include "VolumeLockSequence.h"

#include "VolumeHandleApi.h"

VolumeLockSequence::Outcome VolumeLockSequence::run(VolumeHandleApi& api,
                                                    const std::wstring& devicePath, int attempts,
                                                    int intervalMs)
{
    if (devicePath.empty() || !api.open(devicePath))
        return Outcome::Failed;

    bool locked = false;
    const int tries = attempts > 0 ? attempts : 1;
    for (int i = 0; i < tries && !locked; ++i) {
        if (i > 0)
            api.pause(intervalMs);
        locked = api.lock();
    }
    if (!locked) {
        api.close();
        return Outcome::InUse;
    }
    if (!api.dismount()) {
        api.close();
        return Outcome::Failed;
    }
    api.ejectMedia(); // a fixed or card-reader medium cannot be ejected: still dismounted
    api.close();
    return Outcome::Dismounted;
}
