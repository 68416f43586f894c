#include "MidiHandler.h"

#include "MidiBackend.h"
#include "MidiInput.h"
#include "MidiOutput.h"
#include "SysExMessages.h"
#include "UsbNameMatching.h"

#include <QTimer>

#include <RtMidi.h>

#include <utility>

namespace {

// The USB identity of the instrument, compared as text.
const QString kInstrumentVendorId = QStringLiteral("1D6B");
const QString kInstrumentProductId = QStringLiteral("0104");

// Names under which the ports are opened.
const std::string kInputPortName = "RtMidi Input";
const std::string kOutputPortName = "RtMidi Output";

constexpr int kPresencePollMs = 1000;

#ifndef TAVLO_UPDATE_ONLY
constexpr int kVersionRequestDelayMs = 800;

// The wait for the instrument to come back on USB after a mode switch.
constexpr int kReconnectDelayMs = 2000;
constexpr int kReconnectPollMs = 50;
constexpr int kReconnectPollLimit = 100;
constexpr int kFirstSendDelayMs = 400;
constexpr int kResendIntervalMs = 500;
constexpr int kSendsPerReconnection = 3;
constexpr int kGraceTimeMs = 3000;
constexpr int kAckTimeoutMs = 15000;
constexpr int kRetryDelayMs = 1500;
constexpr int kMaxReconnectAttempts = 4;
#endif

} // namespace

MidiHandler::MidiHandler(std::shared_ptr<MidiBackend> backend,
                         std::shared_ptr<UsbIdentityLookup> usb, QObject* parent)
    : QObject(parent)
    , backend(std::move(backend))
    , usb(std::move(usb))
{
    hostCheckTimer = new QTimer(this);

    try {
        createMidiObjects();
    } catch (const RtMidiError& error) {
        // Without a MIDI service the handler stays inert: the presence poll is not started,
        // and every operation that needs the MIDI objects finds them missing and does nothing.
        error.printMessage();
        midiIn.reset();
        midiOut.reset();
        return;
    }
    if (!haveMidiObjects()) {
        midiIn.reset();
        midiOut.reset();
        return;
    }

#ifndef TAVLO_UPDATE_ONLY
    // The update-only edition switches the filtering off only when it opens the ports.
    try {
        midiIn->ignoreTypes(false, false, false);
    } catch (...) {
    }
#endif

    connect(hostCheckTimer, &QTimer::timeout, this, &MidiHandler::checkForTavloHost);
    hostCheckTimer->start(kPresencePollMs);
}

MidiHandler::~MidiHandler()
{
#ifndef TAVLO_UPDATE_ONLY
    // No callback may reach a half-destroyed handler. The callback is registered only while the
    // ports are open.
    if (connected)
        cancelCallbackQuietly();
#endif
    // Deleting the input closes its port and stops its callback before anything else goes.
    midiIn.reset();
    midiOut.reset();
}

void MidiHandler::createMidiObjects()
{
    if (!backend)
        return;
    midiIn = backend->createInput();
    midiOut = backend->createOutput();
}

#ifndef TAVLO_UPDATE_ONLY
void MidiHandler::recreateMidiObjects()
{
    midiIn.reset();
    midiOut.reset();
    try {
        createMidiObjects();
        if (midiIn)
            midiIn->ignoreTypes(false, false, false);
    } catch (const RtMidiError&) {
    }
    if (!haveMidiObjects()) {
        midiIn.reset();
        midiOut.reset();
    }
}
#endif

// ---------------------------------------------------------------------------------------------
// Incoming messages (MIDI input thread)

void MidiHandler::midiCallback(double timeStamp, std::vector<unsigned char>* message, void* userData)
{
    Q_UNUSED(timeStamp);
    auto* handler = static_cast<MidiHandler*>(userData);
    if (handler == nullptr || message == nullptr || message->empty())
        return;
    const std::vector<unsigned char>& bytes = *message;
    if (bytes[0] != 0xF0)
        return;

    if (bytes.size() >= SysEx::VERSION_REPLY_MIN_LENGTH) {
        if (bytes[1] == SysEx::VERSION_REPLY_ID && bytes[2] == SysEx::VERSION_REPLY_FIXED
            && bytes.back() == SysEx::SYSEX_END) {
            const QString version = QString::fromLatin1(
                reinterpret_cast<const char*>(bytes.data() + 3),
                static_cast<qsizetype>(bytes.size() - 4));
            Q_EMIT handler->tavloReceivedVersion(version);
        }
        return;
    }

#ifndef TAVLO_UPDATE_ONLY
    // The update-only edition knows no transfer messages: a six-byte message is ignored there
    // like any other.
    if (bytes == SysEx::MIDI_SYSEX_TRANSFER_START) {
        handler->ackReceived.store(true);
        Q_EMIT handler->transferSysExReceived();
    } else if (bytes == SysEx::MIDI_SYSEX_TRANSFER_END) {
        handler->ackReceived.store(true);
        Q_EMIT handler->transferSysExEndReceived();
    }
#endif
}

// ---------------------------------------------------------------------------------------------
// Detection

QString MidiHandler::normalizedDeviceName(const QString& name)
{
    return QString::fromStdWString(UsbNameMatching::normalizedDeviceName(name.toStdWString()));
}

UsbIds MidiHandler::lookUpUsbIds(const QString& portName)
{
    if (!usb)
        return {};
    return usb->lookUp(portName);
}

MidiHandler::PortIndices MidiHandler::findInstrumentPorts(bool* nameUnreadable)
{
    PortIndices ports;
    if (nameUnreadable)
        *nameUnreadable = false;
    auto noteUnreadable = [nameUnreadable] {
        if (nameUnreadable)
            *nameUnreadable = true;
    };
    if (!haveMidiObjects())
        return ports;

    auto isInstrument = [this](const std::string& name) {
        const UsbIds ids = lookUpUsbIds(QString::fromStdString(name));
        return ids.found && ids.vendorId == kInstrumentVendorId
            && ids.productId == kInstrumentProductId;
    };

    unsigned int inputCount = 0;
    try {
        inputCount = midiIn->getPortCount();
    } catch (const RtMidiError&) {
        noteUnreadable();
    }
    for (unsigned int i = 0; i < inputCount; ++i) {
        std::string name;
        try {
            name = midiIn->getPortName(i);
        } catch (const RtMidiError&) {
            noteUnreadable();
            continue;
        }
        if (isInstrument(name)) {
            ports.input = static_cast<int>(i);
            break;
        }
    }

    unsigned int outputCount = 0;
    try {
        outputCount = midiOut->getPortCount();
    } catch (const RtMidiError&) {
        noteUnreadable();
    }
    for (unsigned int i = 0; i < outputCount; ++i) {
        std::string name;
        try {
            name = midiOut->getPortName(i);
        } catch (const RtMidiError&) {
            noteUnreadable();
            continue;
        }
        if (isInstrument(name)) {
            ports.output = static_cast<int>(i);
            break;
        }
    }
    return ports;
}

bool MidiHandler::openInstrumentPorts(const PortIndices& ports)
{
    if (!haveMidiObjects() || ports.input < 0 || ports.output < 0)
        return false;
    try {
        midiIn->openPort(static_cast<unsigned int>(ports.input), kInputPortName);
        midiIn->setCallback(&MidiHandler::midiCallback, this);
        midiIn->ignoreTypes(false, false, false);
        midiOut->openPort(static_cast<unsigned int>(ports.output), kOutputPortName);
    } catch (const RtMidiError&) {
        // Leave nothing half open: an input left open here would stay bound to a port that
        // may carry another number by the next attempt.
        cancelCallbackQuietly();
        closeInputQuietly();
        closeOutputQuietly();
        return false;
    }
    return true;
}

void MidiHandler::cancelCallbackQuietly()
{
    if (!midiIn)
        return;
    try {
        midiIn->cancelCallback();
    } catch (const RtMidiError&) {
    }
}

void MidiHandler::closeInputQuietly()
{
    if (!midiIn)
        return;
    try {
        midiIn->closePort();
    } catch (const RtMidiError&) {
    }
}

void MidiHandler::closeOutputQuietly()
{
    if (!midiOut)
        return;
    try {
        midiOut->closePort();
    } catch (const RtMidiError&) {
    }
}

#ifdef TAVLO_UPDATE_ONLY

bool MidiHandler::checkForTavloHost()
{
    if (!haveMidiObjects())
        return false;

    // A port count or name that cannot be read ends the tick: nothing is opened and nothing
    // is reported, so a passing fault of the MIDI service never reads as an unplugged
    // instrument. The next tick (while the poll runs) looks again.
    bool unreadable = false;
    const PortIndices ports = findInstrumentPorts(&unreadable);
    if (unreadable)
        return false;

    if (ports.input < 0 || ports.output < 0) {
        // Reported on every tick while the instrument is absent.
        Q_EMIT deviceFound(false);
        return false;
    }

    // A port that cannot be opened ends the tick the same way, with both ports closed again.
    if (!openInstrumentPorts(ports))
        return false;
    if (!reconnecting)
        sendSysEx(SysEx::MIDI_SYSEX_VERSION_REQUEST);
    // From here on nothing polls: only recoverLink runs the check again.
    hostCheckTimer->stop();
    Q_EMIT deviceFound(true);
    return true;
}

#else

bool MidiHandler::checkForTavloHost()
{
    if (!haveMidiObjects())
        return false;

    const PortIndices ports = findInstrumentPorts();
    if (ports.input < 0 || ports.output < 0) {
        if (connected) {
            cancelCallbackQuietly();
            closeInputQuietly();
            closeOutputQuietly();
            connected = false;
            reconnecting = false;
            Q_EMIT deviceFound(false);
        }
        return false;
    }

    if (connected)
        return true;

    if (!openInstrumentPorts(ports))
        return false;
    if (!reconnecting)
        QTimer::singleShot(kVersionRequestDelayMs, this, &MidiHandler::requestVersion);
    connected = true;
    Q_EMIT deviceFound(true);
    return true;
}

#endif

// ---------------------------------------------------------------------------------------------
// Sending

void MidiHandler::sendSysEx(const std::vector<unsigned char>& message)
{
    if (!midiOut)
        return;
    try {
        midiOut->sendMessage(&message);
        return;
    } catch (const RtMidiError&) {
    }
    recoverLink();
    if (!midiOut)
        return;
    try {
        midiOut->sendMessage(&message);
    } catch (const RtMidiError&) {
    }
}

#ifdef TAVLO_UPDATE_ONLY

void MidiHandler::recoverLink()
{
    reconnecting = true;
    // The callback stays registered: the reopened input delivers to it again.
    closeOutputQuietly();
    closeInputQuietly();
    checkForTavloHost();
}

#else

void MidiHandler::recoverLink()
{
    cancelCallbackQuietly();
    closeOutputQuietly();
    closeInputQuietly();
    reconnecting = true;
    checkForTavloHost();

    // The instrument is still attached (the check found its ports while connected was set),
    // but its ports were just closed: open them again so that the message can go out once
    // more. If that fails, the link is reported lost so the presence poll starts afresh.
    if (connected) {
        if (openInstrumentPorts(findInstrumentPorts()))
            return;
        connected = false;
        reconnecting = false;
        Q_EMIT deviceFound(false);
    }
}

void MidiHandler::requestVersion()
{
    sendSysEx(SysEx::MIDI_SYSEX_VERSION_REQUEST);
}

#endif

// ---------------------------------------------------------------------------------------------
// Mode switches

#ifdef TAVLO_UPDATE_ONLY

void MidiHandler::fileDownloaded(bool success)
{
    if (!success)
        return;
    sendSysEx(SysEx::MIDI_SYSEX_UPDATE_MODE);
    Q_EMIT deviceSetToTransferMode();
}

void MidiHandler::transferComplete(bool success)
{
    // The file is in place on the still mounted volume: the instrument is told at once, once.
    if (!success)
        return;
    sendSysEx(SysEx::MIDI_SYSEX_UPDATE_FINISH);
    Q_EMIT updateTransferDone();
}

#else

void MidiHandler::fileDownloaded(bool success)
{
    if (!success)
        return;
    hostCheckTimer->stop();
    sendSysEx(SysEx::MIDI_SYSEX_UPDATE_MODE);
    Q_EMIT deviceSetToTransferMode();
}

void MidiHandler::transferComplete(bool success)
{
    if (!success)
        return;
    hostCheckTimer->stop();
    reconnectAndResend(SysEx::MIDI_SYSEX_UPDATE_FINISH);
    Q_EMIT updateTransferDone();
}

void MidiHandler::sendTransferSysEx()
{
    sendSysEx(SysEx::MIDI_SYSEX_TRANSFER_START);
    hostCheckTimer->stop();
    reconnectAndResend(SysEx::MIDI_SYSEX_TRANSFER_START);
}

void MidiHandler::onEjectCompleted(bool success)
{
    if (!success)
        return;
    hostCheckTimer->stop();
    reconnectAndResend(SysEx::MIDI_SYSEX_TRANSFER_END);
}

// ---------------------------------------------------------------------------------------------
// The wait for the instrument to come back

void MidiHandler::stopWaitTimers()
{
    // Delayed steps already arranged by this wait find the generation changed and do nothing.
    ++waitGeneration;
    if (reconnectPollTimer)
        reconnectPollTimer->stop();
    if (resendTimer)
        resendTimer->stop();
    if (ackTimeoutTimer)
        ackTimeoutTimer->stop();
}

void MidiHandler::reconnectAndResend(const std::vector<unsigned char>& message)
{
    // A wait started while another runs replaces it.
    stopWaitTimers();

    cancelCallbackQuietly();
    closeOutputQuietly();
    closeInputQuietly();
    recreateMidiObjects();

    reconnecting = true;
    connected = false;
    ackReceived.store(false);

    sendCount = 0;
    reconnectAttempts = 0;

    pendingMessage = message;
    pending = true;

    if (!reconnectPollTimer) {
        reconnectPollTimer = new QTimer(this);
        connect(reconnectPollTimer, &QTimer::timeout, this, &MidiHandler::pollForDevice);
    }

    pollCount = 0;
    const unsigned generation = waitGeneration;
    QTimer::singleShot(kReconnectDelayMs, this, [this, generation] {
        if (generation != waitGeneration)
            return;
        pollCount = 0;
        reconnectPollTimer->start(kReconnectPollMs);
    });
}

void MidiHandler::pollForDevice()
{
    ++pollCount;
    if (pollCount > kReconnectPollLimit) {
        // The instrument did not come back. The acknowledgment time-out goes too, so that a
        // wait that is over cannot end a second time.
        stopWaitTimers();
        pending = false;
        reconnecting = false;
        Q_EMIT deviceReenumerationFinished(false);
        hostCheckTimer->start(kPresencePollMs);
        return;
    }

    const PortIndices ports = findInstrumentPorts();
    if (ports.input < 0 || ports.output < 0)
        return;

    reconnectPollTimer->stop();
    if (!openInstrumentPorts(ports)) {
        // Keep polling: the count goes on, so the poll limit still ends the wait.
        reconnectPollTimer->start(kReconnectPollMs);
        return;
    }

    connected = true;
    ackReceived.store(false);
    sendCount = 0;

    const unsigned generation = waitGeneration;
    QTimer::singleShot(kFirstSendDelayMs, this, [this, generation] {
        if (generation != waitGeneration)
            return;
        if (reconnectAttempts == 0) {
            if (!ackTimeoutTimer) {
                ackTimeoutTimer = new QTimer(this);
                ackTimeoutTimer->setSingleShot(true);
                connect(ackTimeoutTimer, &QTimer::timeout, this, &MidiHandler::onAckTimeout);
            }
            ackTimeoutTimer->start(kAckTimeoutMs);
        }
        resendPending();
    });
}

void MidiHandler::resendPending()
{
    if (ackReceived.load()) {
        if (resendTimer)
            resendTimer->stop();
        if (ackTimeoutTimer)
            ackTimeoutTimer->stop();
        pending = false;
        finishSequence();
        return;
    }

    if (!pending) {
        if (resendTimer)
            resendTimer->stop();
        finishSequence();
        return;
    }

    ++sendCount;
    try {
        if (!midiOut)
            throw RtMidiError("the MIDI output is missing", RtMidiError::INVALID_USE);
        midiOut->sendMessage(&pendingMessage);
    } catch (const RtMidiError&) {
        if (resendTimer)
            resendTimer->stop();
        retryReconnect();
        return;
    }

    if (!resendTimer) {
        resendTimer = new QTimer(this);
        connect(resendTimer, &QTimer::timeout, this, &MidiHandler::resendPending);
    }

    if (sendCount >= kSendsPerReconnection) {
        resendTimer->stop();
        const unsigned generation = waitGeneration;
        QTimer::singleShot(kGraceTimeMs, this, [this, generation] {
            if (generation != waitGeneration)
                return;
            onGraceTimeEnd();
        });
        return;
    }
    resendTimer->start(kResendIntervalMs);
}

void MidiHandler::onGraceTimeEnd()
{
    if (ackReceived.load()) {
        if (ackTimeoutTimer)
            ackTimeoutTimer->stop();
        pending = false;
        finishSequence();
        return;
    }
    if (ackTimeoutTimer)
        ackTimeoutTimer->stop();
    if (resendTimer)
        resendTimer->stop();
    pending = false;
    emitUnacknowledgedTransferSignal();
    finishSequence();
}

void MidiHandler::onAckTimeout()
{
    if (ackReceived.load())
        return;
    if (resendTimer)
        resendTimer->stop();
    pending = false;
    emitUnacknowledgedTransferSignal();
    finishSequence();
}

void MidiHandler::emitUnacknowledgedTransferSignal()
{
    if (pendingMessage.size() != SysEx::TRANSFER_MESSAGE_LENGTH)
        return;
    const unsigned char command = pendingMessage[SysEx::TRANSFER_COMMAND_OFFSET];
    if (command == SysEx::TRANSFER_COMMAND_START)
        Q_EMIT transferSysExReceived();
    else if (command == SysEx::TRANSFER_COMMAND_END)
        Q_EMIT transferSysExEndReceived();
}

void MidiHandler::retryReconnect()
{
    ++reconnectAttempts;
    if (reconnectAttempts > kMaxReconnectAttempts)
        return; // the acknowledgment time-out ends the wait

    cancelCallbackQuietly();
    closeInputQuietly();
    closeOutputQuietly();
    connected = false;
    recreateMidiObjects();
    sendCount = 0;
    pollCount = 0;

    const unsigned generation = waitGeneration;
    QTimer::singleShot(kRetryDelayMs, this, [this, generation] {
        if (generation != waitGeneration)
            return;
        reconnectPollTimer->start(kReconnectPollMs);
    });
}

void MidiHandler::finishSequence()
{
    // Whatever ended the wait, nothing of it may run on: no poll reopening the ports and no
    // time-out ending it a second time.
    stopWaitTimers();
    Q_EMIT deviceReenumerationFinished(true);
    hostCheckTimer->start(kPresencePollMs);
}

#endif
