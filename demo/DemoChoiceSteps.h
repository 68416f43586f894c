#pragma once

#include "DemoAutoplay.h"

#include <vector>

class SimInstrument;

// The update screen's choices, played by the demo through the real window of either
// edition: an update file from the computer, and going back to an older version from the
// list (with its release notes and the downgrade warning).
namespace DemoChoiceSteps {

// "Install from file...": the file dialog, the chosen file, its installation.
std::vector<DemoAutoplay::Step> localFile(DemoAutoplay& play, SimInstrument& instrument,
                                          const QString& path);

// "Other versions...": the list, the older version's notes, the warning, its installation.
std::vector<DemoAutoplay::Step> downgrade(DemoAutoplay& play, SimInstrument& instrument,
                                          const QString& olderVersion);

} // namespace DemoChoiceSteps
