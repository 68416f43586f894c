#include "device/updater/MidiHandler.h"

#include "SysExMessages.h"

#include <utility>

MidiHandler::MidiHandler(std::shared_ptr<MidiBackend> backend,
                         std::shared_ptr<UsbIdentityLookup> usb, const DeviceTimings& timings,
                         QObject* parent)
    : QObject(parent)
    , ports(std::move(backend), std::move(usb), &receiver)
    , link(ports, timings)
{
    // Emitted on the MIDI input thread, passed on there.
    connect(&receiver, &SysExReceiver::versionReceived, this, &MidiHandler::tavloReceivedVersion,
            Qt::DirectConnection);
    connect(&link, &FirstConnectionLink::deviceFound, this, &MidiHandler::deviceFound);

    // Without a MIDI service the handler stays inert: the presence poll is not started.
    link.start();
}

MidiHandler::~MidiHandler() = default;

void MidiHandler::midiCallback(double timeStamp, std::vector<unsigned char>* message, void* userData)
{
    auto* handler = static_cast<MidiHandler*>(userData);
    if (handler != nullptr)
        SysExReceiver::midiCallback(timeStamp, message, &handler->receiver);
}

QString MidiHandler::normalizedDeviceName(const QString& name)
{
    return InstrumentPorts::normalizedDeviceName(name);
}

UsbIds MidiHandler::lookUpUsbIds(const QString& portName)
{
    return ports.lookUpUsbIds(portName);
}

bool MidiHandler::checkForTavloHost()
{
    return link.check();
}

void MidiHandler::fileDownloaded(bool success)
{
    if (!success)
        return;
    // The instrument leaves the bus on purpose now: its absence is not an unplug.
    link.stopPoll();
    link.send(SysEx::MIDI_SYSEX_UPDATE_MODE);
    Q_EMIT deviceSetToTransferMode();
}

void MidiHandler::transferComplete(bool success)
{
    // The file is in place on the still mounted volume: the instrument is told at once, once.
    if (!success) {
        // Back on the bus beside its volume: from here an absence is an unplug again.
        link.startPoll();
        return;
    }
    // A send that needed a recovery which did not find the instrument went nowhere.
    const bool sent = link.send(SysEx::MIDI_SYSEX_UPDATE_FINISH) && link.isConnected();
    Q_EMIT updateTransferDone();
    if (!sent) {
        link.startPoll();
        Q_EMIT updateFinishFailed(
            tr("The update file is on Tavlo's volume, but Tavlo could not be told to apply it: "
               "it did not answer. Unplug Tavlo and plug it in again, then press Try again."));
    }
}
