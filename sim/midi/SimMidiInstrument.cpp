#include "SimMidiInstrument.h"

#include <InstrumentUsbIdentity.h>

#include "SimMidiBus.h"
#include "SysExMessages.h"

#include <QTimer>

#include <utility>

namespace {

QByteArray bytesOf(const std::vector<unsigned char>& message)
{
    return QByteArray(reinterpret_cast<const char*>(message.data()),
                      static_cast<qsizetype>(message.size()));
}

} // namespace

SimMidiInstrument::SimMidiInstrument(SimMidiBus* bus, QString name, QObject* parent)
    : QObject(parent)
    , bus(bus)
    , name(std::move(name))
{
    ids.found = true;
    ids.vendorId = InstrumentUsbIdentity::vendorId();
    ids.productId = InstrumentUsbIdentity::productId();
}

SimMidiInstrument::~SimMidiInstrument()
{
    if (bus && device != 0)
        bus->detachDevice(device);
}

void SimMidiInstrument::setFirmwareVersion(const QString& v)
{
    version = v;
}

void SimMidiInstrument::setUsbIds(const QString& vendorId, const QString& productId)
{
    ids.vendorId = vendorId;
    ids.productId = productId;
}

void SimMidiInstrument::setPortsExposed(bool programInput, bool programOutput)
{
    exposeInput = programInput;
    exposeOutput = programOutput;
}

void SimMidiInstrument::setReactionEnabled(Reaction reaction, bool enabled)
{
    reactions[static_cast<int>(reaction)] = enabled;
}

bool SimMidiInstrument::reactionEnabled(Reaction reaction) const
{
    return reactions[static_cast<int>(reaction)];
}

void SimMidiInstrument::setRejoinDelay(int ms)
{
    rejoinDelayMs = ms;
}

void SimMidiInstrument::setMode(Mode mode)
{
    currentMode = mode;
}

void SimMidiInstrument::leaveBus()
{
    ++joinGeneration;
    if (device == 0)
        return;
    if (bus)
        bus->detachDevice(device);
    device = 0;
    Q_EMIT leftBus();
}

void SimMidiInstrument::joinBus()
{
    ++joinGeneration;
    if (device != 0 || !bus)
        return;
    device = bus->attachDevice(name, ids, exposeInput, exposeOutput, this);
    Q_EMIT joinedBus();
}

void SimMidiInstrument::joinBusAfter(int ms)
{
    const unsigned generation = ++joinGeneration;
    QTimer::singleShot(ms, this, [this, generation] {
        if (generation == joinGeneration)
            joinBus();
    });
}

bool SimMidiInstrument::sendToProgram(const QByteArray& message)
{
    if (!bus || device == 0)
        return false;
    return bus->sendToProgram(device, message);
}

void SimMidiInstrument::roundTripTo(Mode mode)
{
    currentMode = mode;
    leaveBus();
    if (rejoinDelayMs >= 0)
        joinBusAfter(rejoinDelayMs);
}

void SimMidiInstrument::receiveFromProgram(const QByteArray& message)
{
    received.append(message);
    Q_EMIT messageReceived(message);

    if (message == bytesOf(SysEx::MIDI_SYSEX_VERSION_REQUEST)) {
        Q_EMIT versionRequested();
        if (reactionEnabled(Reaction::ReplyToVersionRequest)) {
            QByteArray reply = bytesOf(SysEx::MIDI_SYSEX_VERSION_REPLY_PREFIX);
            reply.append(version.toLatin1());
            reply.append(char(SysEx::SYSEX_END));
            sendToProgram(reply);
        }
    } else if (message == bytesOf(SysEx::MIDI_SYSEX_UPDATE_MODE)) {
        Q_EMIT updateModeReceived();
        if (reactionEnabled(Reaction::LeaveOnUpdateMode))
            roundTripTo(Mode::Update);
    } else if (message == bytesOf(SysEx::MIDI_SYSEX_UPDATE_FINISH)) {
        ++updateFinishes;
        Q_EMIT updateFinishReceived();
    } else if (message == bytesOf(SysEx::MIDI_SYSEX_TRANSFER_START)
               || message == bytesOf(SysEx::MIDI_SYSEX_TRANSFER_END)) {
        const bool start = message == bytesOf(SysEx::MIDI_SYSEX_TRANSFER_START);
        if (start)
            Q_EMIT transferStartReceived();
        else
            Q_EMIT transferEndReceived();
        const Mode asked = start ? Mode::Transfer : Mode::Normal;
        if (currentMode != asked && reactionEnabled(Reaction::RoundTripOnTransferMessage))
            roundTripTo(asked);
        else if (currentMode == asked && reactionEnabled(Reaction::AcknowledgeTransferMessage))
            sendToProgram(message);
    }
}
