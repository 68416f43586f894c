#include "device/full/MidiHandler.h"

#include <utility>

MidiHandler::MidiHandler(std::shared_ptr<MidiBackend> backend,
                         std::shared_ptr<UsbIdentityLookup> usb, const DeviceTimings& timings,
                         QObject* parent)
    : QObject(parent)
    , core(std::move(backend), std::move(usb), true)
    , link(core.ports(), core.receiver(), timings)
{
    core.relaySignalsTo(this);
    // The acknowledgments are emitted on the MIDI input thread, passed on there.
    connect(&core.receiver(), &SysExReceiver::transferStartReceived, this,
            &MidiHandler::transferSysExReceived, Qt::DirectConnection);
    connect(&core.receiver(), &SysExReceiver::transferEndReceived, this,
            &MidiHandler::transferSysExEndReceived, Qt::DirectConnection);
    connect(&link, &WatchedLink::transferStartUnacknowledged, this,
            &MidiHandler::transferSysExReceived);
    connect(&link, &WatchedLink::transferEndUnacknowledged, this,
            &MidiHandler::transferSysExEndReceived);
    connect(&link, &WatchedLink::reenumerationFinished, this,
            &MidiHandler::deviceReenumerationFinished);
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
