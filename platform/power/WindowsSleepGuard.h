#pragma once

#include "SleepGuard.h"

// Windows: the calling thread's execution state asks that the system stay awake
// (ES_SYSTEM_REQUIRED, continuous) until it is set back. Called on the main thread only.
class WindowsSleepGuard : public SleepGuard
{
public:
    bool hold(const QString& why) override;
    void release() override;

private:
    bool holding = false;
};
