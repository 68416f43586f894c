#pragma once

#include "DeviceTimings.h"

#include <QtGlobal>

// The device timings every device test runs with: each time a tenth of the production one,
// every count unchanged, so that the timeline keeps its shape (order, counts, ratios) at a
// tenth of the length. ms() turns a time of the production timeline into the test's.
class ShortDeviceTimings
{
public:
    static constexpr int kDivisor = 10;

    static DeviceTimings timings();
    static constexpr int ms(int productionMs) { return productionMs / kDivisor; }
};
