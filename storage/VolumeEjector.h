#pragma once

#include "HandOverFinish.h"
#include "VolumeLookup.h"

#include <memory>

class VolumeDismounter;

// The full edition's eject: dismounts the labelled volume, both when the user ends the
// transfer mode and as the last step of the update hand-over.
class VolumeEjector : public HandOverFinish
{
public:
    VolumeEjector(std::shared_ptr<VolumeList> volumes, std::shared_ptr<VolumeDismounter> dismounter);

    // False when the volume is missing or the system refuses to dismount it.
    bool eject(const QString& label);
    // Pushes everything written to the volume to the device first, then ejects it.
    bool finishHandOver(const QString& label) override;
    QString failureReason() const override { return reason; }

private:
    VolumeLookup lookup;
    std::shared_ptr<VolumeDismounter> dismounter;
    QString reason;
};
