#pragma once

#include "HandOverFinish.h"
#include "StorageFailureText.h"
#include "VolumeLookup.h"

// The update-only edition's last hand-over step in place of the eject: the volume stays
// mounted and is looked up once more. The instrument learns from the update-finish message
// that the file is in place; a volume gone right after the rename is a failed hand-over.
class VolumeStillPresent : public HandOverFinish
{
public:
    explicit VolumeStillPresent(std::shared_ptr<VolumeList> volumes);

    bool finishHandOver(const QString& label) override;
    QString failureReason() const override
    {
        return StorageFailureText::volumeGoneAfterCopy();
    }

private:
    VolumeLookup lookup;
};
