#include "MidiHandlerCore.h"

#include "LinkPolicy.h"
#include "MidiProblemText.h"
#include "SysExMessages.h"

#include <utility>

MidiHandlerCore::MidiHandlerCore(std::shared_ptr<MidiBackend> backend,
                                 std::shared_ptr<UsbIdentityLookup> usb, bool transferMessages,
                                 QObject* parent)
    : QObject(parent)
    , sysExReceiver(transferMessages)
    , instrumentPorts(std::move(backend), std::move(usb), &sysExReceiver)
{
    // Emitted on the MIDI input thread, passed on there.
    connect(&sysExReceiver, &SysExReceiver::versionReceived, this,
            &MidiHandlerCore::tavloReceivedVersion, Qt::DirectConnection);
    instrumentPorts.setProblemListener([this](const MidiProblem& problem) {
        Q_EMIT midiProblemChanged(MidiProblemText::sentence(problem));
    });
}

QString MidiHandlerCore::midiProblemText() const
{
    return MidiProblemText::sentence(instrumentPorts.problem());
}

MidiHandlerCore::~MidiHandlerCore() = default;

void MidiHandlerCore::start(LinkPolicy& policy)
{
    link = &policy;
    connect(link, &LinkPolicy::deviceFound, this, &MidiHandlerCore::deviceFound);
    connect(link, &LinkPolicy::updateTransferDone, this, &MidiHandlerCore::updateTransferDone);
    connect(link, &LinkPolicy::updateFinishFailed, this, &MidiHandlerCore::updateFinishFailed);
    link->start();
}

bool MidiHandlerCore::check()
{
    return link->check();
}

void MidiHandlerCore::fileDownloaded(bool success)
{
    if (!success)
        return;
    // The instrument leaves the bus on purpose now: its absence is not an unplug.
    link->stopPoll();
    if (alreadyInUpdateMode) {
        alreadyInUpdateMode = false;
        Q_EMIT deviceSetToTransferMode();
        return;
    }
    // A send whose recovery did not find the instrument went nowhere: nothing is looked for
    // on its volume, and the instrument is watched again where it is, in normal mode.
    if (!link->send(SysEx::MIDI_SYSEX_UPDATE_MODE) || !link->instrumentConnected()) {
        link->startPoll();
        Q_EMIT updateModeFailed(tr("Tavlo could not be told to switch to update mode, so nothing "
                                   "was written to it. Check the USB cable and try again."));
        return;
    }
    Q_EMIT deviceSetToTransferMode();
}

void MidiHandlerCore::transferComplete(bool success)
{
    if (!success) {
        // The instrument is expected on the bus beside its volume: from here an absence is an
        // unplug again, which the presence poll reports.
        link->startPoll();
        return;
    }
    link->finishUpdate();
}

UsbIds MidiHandlerCore::lookUpUsbIds(const QString& portName) const
{
    return instrumentPorts.lookUpUsbIds(portName);
}

void MidiHandlerCore::midiCallback(double timeStamp, std::vector<unsigned char>* message,
                                   MidiHandlerCore* core)
{
    if (core != nullptr)
        SysExReceiver::midiCallback(timeStamp, message, &core->sysExReceiver);
}
