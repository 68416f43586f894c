#include "SysExReceiver.h"
#include "DeviceLog.h"

#include "IncomingMessage.h"

SysExReceiver::SysExReceiver(bool transferMessages, QObject* parent)
    : QObject(parent)
    , transferMessages(transferMessages)
{
}

void SysExReceiver::midiCallback(double timeStamp, std::vector<unsigned char>* message, void* userData)
{
    Q_UNUSED(timeStamp);
    auto* receiver = static_cast<SysExReceiver*>(userData);
    if (receiver == nullptr || message == nullptr)
        return;
    receiver->receive(*message);
}

void SysExReceiver::receive(const std::vector<unsigned char>& message)
{
    qCDebug(lcDevice, "SysEx received: %s", qPrintable(DeviceLog::hex(message)));
    const IncomingMessage in = IncomingMessage::parse(message);
    switch (in.kind) {
    case IncomingMessage::Kind::Version:
        Q_EMIT versionReceived(in.version);
        break;
    case IncomingMessage::Kind::TransferStart:
        if (transferMessages) {
            ackReceived.store(true);
            Q_EMIT transferStartReceived();
        }
        break;
    case IncomingMessage::Kind::TransferEnd:
        if (transferMessages) {
            ackReceived.store(true);
            Q_EMIT transferEndReceived();
        }
        break;
    case IncomingMessage::Kind::Other:
        break;
    }
}
