#include "device/full/MidiHandler.h"

#include "SysExMessages.h"

#include <utility>

MidiHandler::MidiHandler(std::shared_ptr<MidiBackend> backend,
                         std::shared_ptr<UsbIdentityLookup> usb, const DeviceTimings& timings,
                         QObject* parent)
    : QObject(parent)
    , ports(std::move(backend), std::move(usb), &receiver)
    , link(ports, timings)
    , wait(ports, receiver, timings)
{
    // Emitted on the MIDI input thread, passed on there.
    connect(&receiver, &SysExReceiver::versionReceived, this, &MidiHandler::tavloReceivedVersion,
            Qt::DirectConnection);
    connect(&receiver, &SysExReceiver::transferStartReceived, this,
            &MidiHandler::transferSysExReceived, Qt::DirectConnection);
    connect(&receiver, &SysExReceiver::transferEndReceived, this,
            &MidiHandler::transferSysExEndReceived, Qt::DirectConnection);

    connect(&link, &WatchedLink::deviceFound, this, &MidiHandler::deviceFound);
    connect(&wait, &ReenumerationWait::portsOpened, &link, &WatchedLink::waitOpenedPorts);
    connect(&wait, &ReenumerationWait::portsClosed, &link, &WatchedLink::waitClosedPorts);
    connect(&wait, &ReenumerationWait::transferStartUnacknowledged, this,
            &MidiHandler::transferSysExReceived);
    connect(&wait, &ReenumerationWait::transferEndUnacknowledged, this,
            &MidiHandler::transferSysExEndReceived);
    connect(&wait, &ReenumerationWait::finished, this, &MidiHandler::onWaitFinished);

    // Without a MIDI service the handler stays inert: the presence poll is not started, and
    // every operation that needs the MIDI objects finds them missing and does nothing.
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
    link.stopPoll();
    link.send(SysEx::MIDI_SYSEX_UPDATE_MODE);
    Q_EMIT deviceSetToTransferMode();
}

void MidiHandler::transferComplete(bool success)
{
    if (!success) {
        // The instrument is expected on the bus beside its volume: from here an absence is an
        // unplug again, which the presence poll reports.
        link.startPoll();
        return;
    }
    link.stopPoll();
    reconnectAndResend(SysEx::MIDI_SYSEX_UPDATE_FINISH);
    finishPending = true;
    Q_EMIT updateTransferDone();
}

void MidiHandler::sendTransferSysEx()
{
    link.send(SysEx::MIDI_SYSEX_TRANSFER_START);
    link.stopPoll();
    reconnectAndResend(SysEx::MIDI_SYSEX_TRANSFER_START);
}

void MidiHandler::onEjectCompleted(bool success)
{
    if (!success)
        return;
    link.stopPoll();
    reconnectAndResend(SysEx::MIDI_SYSEX_TRANSFER_END);
}

void MidiHandler::reconnectAndResend(const std::vector<unsigned char>& message)
{
    finishPending = false;
    // A wait started while another runs replaces it.
    link.beginWait();
    wait.start(message);
}

void MidiHandler::onWaitFinished(bool success)
{
    if (!success)
        link.waitGaveUp();
    const bool finishNotSent = finishPending && (!success || wait.delivered() == 0);
    finishPending = false;
    Q_EMIT deviceReenumerationFinished(success);
    if (finishNotSent) {
        Q_EMIT updateFinishFailed(
            tr("The update file is on Tavlo's volume, but Tavlo did not come back to be told to "
               "apply it. Unplug Tavlo and plug it in again, then press Try again."));
    }
    link.startPoll();
}
