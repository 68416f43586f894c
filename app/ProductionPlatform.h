#pragma once

#include "Platform.h"
#include "StorageTimings.h"

// The real seams of the system the program runs on: the MIDI service, the USB identity
// lookup, the mounted volumes, their dismount (with the lock retries of the timings) and the
// desktop's file browser.
Platform createProductionPlatform(const StorageTimings& storage = StorageTimings::production());
