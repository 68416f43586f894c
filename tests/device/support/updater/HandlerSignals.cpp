#include "HandlerSignals.h"

#include "device/updater/MidiHandler.h"
#include "SignalTimeline.h"

void watchHandlerSignals(SignalTimeline& timeline, MidiHandler* h)
{
    timeline.watch(h, &MidiHandler::deviceFound, QStringLiteral("deviceFound"));
    timeline.watch(h, &MidiHandler::deviceSetToTransferMode, QStringLiteral("setToTransferMode"));
    timeline.watch(h, &MidiHandler::updateModeFailed, QStringLiteral("modeFailed"));
    timeline.watch(h, &MidiHandler::updateTransferDone, QStringLiteral("updateTransferDone"));
    timeline.watch(h, &MidiHandler::updateFinishFailed, QStringLiteral("finishFailed"));
    timeline.watch(h, &MidiHandler::tavloReceivedVersion, QStringLiteral("version"));
    timeline.watch(h, &MidiHandler::midiProblemChanged, QStringLiteral("midiProblem"));
}
