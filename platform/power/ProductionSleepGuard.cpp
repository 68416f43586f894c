#include "ProductionSleepGuard.h"

#include "SleepGuard.h"

#if defined(Q_OS_WIN)
#include "WindowsSleepGuard.h"
#elif defined(Q_OS_MACOS)
#include "MacSleepGuard.h"
#elif defined(Q_OS_LINUX)
#include "LogindSleepGuard.h"
#endif

std::shared_ptr<SleepGuard> createProductionSleepGuard()
{
#if defined(Q_OS_WIN)
    return std::make_shared<WindowsSleepGuard>();
#elif defined(Q_OS_MACOS)
    return std::make_shared<MacSleepGuard>();
#elif defined(Q_OS_LINUX)
    return std::make_shared<LogindSleepGuard>();
#else
    return nullptr;
#endif
}
