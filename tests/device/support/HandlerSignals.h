#pragma once

class MidiHandler;
class SignalTimeline;

// Records every signal of the edition's MidiHandler on the timeline under its short name
// ("finished", "deviceFound", "setToTransferMode", "updateTransferDone", "transferStartAck",
// "transferEndAck", "version"). One source per edition.
void watchHandlerSignals(SignalTimeline& timeline, MidiHandler* handler);
