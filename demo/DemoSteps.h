#pragma once

#include "DemoAutoplay.h"

#include <vector>

class SimInstrument;
struct DemoEdition;

// The flows the demo plays by itself, step by step, through the real window.
namespace DemoSteps {

// From the search for the instrument to the update it applied and its return on the bus.
std::vector<DemoAutoplay::Step> update(DemoAutoplay& play, SimInstrument& instrument,
                                       const QString& newVersion, const DemoEdition& edition);

// Into transfer mode, every folder button, "DONE" and back home (full edition).
std::vector<DemoAutoplay::Step> transfer(DemoAutoplay& play);

// "Restore", the backup made before the update, the files that differ, "Replace", and back
// home (full edition).
std::vector<DemoAutoplay::Step> restore(DemoAutoplay& play);

} // namespace DemoSteps
