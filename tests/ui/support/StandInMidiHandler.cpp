#include "StandInMidiHandler.h"

void StandInMidiHandler::sendTransferSysEx()
{
    record(QStringLiteral("sendTransferSysEx"));
}
