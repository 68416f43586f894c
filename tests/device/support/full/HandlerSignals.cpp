#include "HandlerSignals.h"

#include "device/full/MidiHandler.h"
#include "SignalTimeline.h"

void watchHandlerSignals(SignalTimeline& timeline, MidiHandler* h)
{
    timeline.watch(h, &MidiHandler::deviceReenumerationFinished, QStringLiteral("finished"));
    timeline.watch(h, &MidiHandler::deviceFound, QStringLiteral("deviceFound"));
    timeline.watch(h, &MidiHandler::deviceSetToTransferMode, QStringLiteral("setToTransferMode"));
    timeline.watch(h, &MidiHandler::updateModeFailed, QStringLiteral("modeFailed"));
    timeline.watch(h, &MidiHandler::updateTransferDone, QStringLiteral("updateTransferDone"));
    timeline.watch(h, &MidiHandler::transferSysExReceived, QStringLiteral("transferStartAck"));
    timeline.watch(h, &MidiHandler::transferSysExEndReceived, QStringLiteral("transferEndAck"));
    timeline.watch(h, &MidiHandler::tavloReceivedVersion, QStringLiteral("version"));
    timeline.watch(h, &MidiHandler::midiProblemChanged, QStringLiteral("midiProblem"));
}
