#pragma once

#include "SimInstrument.h"
#include "Timings.h"

// Short timings for tests of the whole program against the simulated instrument: every wait
// of the program and of the instrument scaled down by the same factor, so the timeline keeps
// its order (the instrument is back on the bus before the program's wait gives up, the
// volume mounts before the retries end) while a test takes a fraction of the real time.
namespace TestTimings {

constexpr int kScale = 10;

Timings fast();
SimInstrument::Timings fastInstrument();

} // namespace TestTimings
