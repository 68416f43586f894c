#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <vector>

// The receiving end of the link: the MIDI input callback lands here, on the MIDI library's
// input thread. It touches nothing but the acknowledgment flag and emits signals; whoever
// listens on another thread takes them queued.
class SysExReceiver : public QObject
{
    Q_OBJECT

public:
    // transferMessages: whether the transfer acknowledgments mean anything (the update-only
    // edition knows none, and ignores them like any other message).
    explicit SysExReceiver(bool transferMessages, QObject* parent = nullptr);

    // The MIDI input callback; userData is the SysExReceiver.
    static void midiCallback(double timeStamp, std::vector<unsigned char>* message, void* userData);
    void receive(const std::vector<unsigned char>& message);

    // Whether a transfer acknowledgment has arrived since the flag was last cleared.
    bool acknowledgmentSeen() const { return ackReceived.load(); }
    void clearAcknowledgment() { ackReceived.store(false); }

Q_SIGNALS:
    void versionReceived(QString version);
    void transferStartReceived();
    void transferEndReceived();

private:
    const bool transferMessages;
    std::atomic<bool> ackReceived{false};
};
