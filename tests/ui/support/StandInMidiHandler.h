#pragma once

#include "StandInObject.h"

#include <QString>

// Publishes the MidiHandler's window contract: the signals the window handles and the one
// method it calls.
class StandInMidiHandler : public StandInObject
{
    Q_OBJECT
public:
    using StandInObject::StandInObject;

    Q_INVOKABLE void sendTransferSysEx();
    // No MIDI problem when the flows are connected; tests tell one with midiProblemChanged.
    QString midiProblemText() const { return QString(); }

signals:
    void deviceFound(bool deviceFound);
    void tavloReceivedVersion(QString version);
    void transferSysExReceived();
    void transferSysExEndReceived();
    // The final wait ended without the update-finish message having gone out.
    void updateFinishFailed(QString reason);
    // The update-mode message did not go out.
    void updateModeFailed(QString reason);
    // Why the MIDI service or the instrument's ports cannot be used (empty: nothing).
    void midiProblemChanged(QString text);
};
