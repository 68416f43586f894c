#include "device/updater/MidiHandler.h"

#include <utility>

MidiHandler::MidiHandler(std::shared_ptr<MidiBackend> backend,
                         std::shared_ptr<UsbIdentityLookup> usb, const DeviceTimings& timings,
                         QObject* parent)
    : QObject(parent)
    , core(std::move(backend), std::move(usb), false)
    , link(core.ports(), timings)
{
    core.relaySignalsTo(this);
    core.start(link);
}

MidiHandler::~MidiHandler() = default;

void MidiHandler::midiCallback(double timeStamp, std::vector<unsigned char>* message, void* userData)
{
    auto* handler = static_cast<MidiHandler*>(userData);
    MidiHandlerCore::midiCallback(timeStamp, message, handler ? &handler->core : nullptr);
}

QString MidiHandler::normalizedDeviceName(const QString& name)
{
    return InstrumentPorts::normalizedDeviceName(name);
}
