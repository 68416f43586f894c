#pragma once

#include "StorageFailureText.h"

#include <QString>

// The last step of the update hand-over, once the file has its final name on the volume:
// the full edition ejects the volume, the update-only edition checks that it is still there.
class HandOverFinish
{
public:
    virtual ~HandOverFinish() = default;

    // True when the hand-over succeeded.
    virtual bool finishHandOver(const QString& label) = 0;
    // Why the last finishing step failed, in plain words.
    virtual QString failureReason() const
    {
        return StorageFailureText::volumeNotReleased();
    }
};
