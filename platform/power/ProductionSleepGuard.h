#pragma once

#include <memory>

class SleepGuard;

// The sleep guard of the system the program runs on; null where there is none.
std::shared_ptr<SleepGuard> createProductionSleepGuard();
