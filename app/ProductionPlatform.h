#pragma once

#include "Platform.h"

// The real seams of the system the program runs on: the MIDI service, the USB identity
// lookup, the mounted volumes, their dismount and the desktop's file browser.
Platform createProductionPlatform();
