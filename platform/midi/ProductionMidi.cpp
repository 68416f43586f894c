#include "ProductionMidi.h"

#include "RtMidiBackend.h"

#if defined(_WIN32)
#include "SetupApiUsbLookup.h"
#include "WindowsUsbIdentityLookup.h"
#elif defined(__APPLE__)
#include "MacUsbIdentityLookup.h"
#else
#include "LinuxUsbIdentityLookup.h"
#endif

std::shared_ptr<MidiBackend> createProductionMidiBackend()
{
    return std::make_shared<RtMidiBackend>();
}

std::shared_ptr<UsbIdentityLookup> createProductionUsbIdentityLookup()
{
#if defined(_WIN32)
    return std::make_shared<WindowsUsbIdentityLookup>(&SetupApiUsbLookup::lookUp);
#elif defined(__APPLE__)
    return std::make_shared<MacUsbIdentityLookup>();
#else
    return std::make_shared<LinuxUsbIdentityLookup>();
#endif
}
