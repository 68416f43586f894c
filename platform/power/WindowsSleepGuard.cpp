#include "WindowsSleepGuard.h"

#include <windows.h>

bool WindowsSleepGuard::hold(const QString&)
{
    if (holding)
        return true;
    holding = SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED) != 0;
    return holding;
}

void WindowsSleepGuard::release()
{
    if (!holding)
        return;
    SetThreadExecutionState(ES_CONTINUOUS);
    holding = false;
}
