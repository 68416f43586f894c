#include "SimSleepGuard.h"

bool SimSleepGuard::hold(const QString& reason)
{
    why << reason;
    if (refusing)
        return false;
    holding = true;
    ++holdCount;
    return true;
}

void SimSleepGuard::release()
{
    holding = false;
    ++releaseCount;
}
