#pragma once

#include <memory>

class MidiBackend;
class UsbIdentityLookup;

// The real MIDI service and USB identity lookup of the platform the program runs on.
std::shared_ptr<MidiBackend> createProductionMidiBackend();
std::shared_ptr<UsbIdentityLookup> createProductionUsbIdentityLookup();
