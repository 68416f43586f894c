#pragma once

#include <QObject>
#include <QString>

#include <vector>

// What differs between the editions' links to the instrument, behind one interface for
// MidiHandlerCore: how the instrument's presence is watched, and how the update-finish message
// reaches it after the copy. WatchedLink (full edition) watches for the whole run and carries
// the instrument through its mode switches with the re-enumeration wait; FirstConnectionLink
// (update-only edition) polls until the first connection and sends at once.
class LinkPolicy : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Makes the MIDI objects and starts the presence poll; without a MIDI service (false) the
    // poll tries to make them again at every look, and nothing else happens meanwhile.
    virtual bool start() = 0;
    // One look of the presence poll; true while the instrument is connected.
    virtual bool check() = 0;
    // Sends, with one recovery of the link and one resend when the send fails; true when the
    // message went out.
    virtual bool send(const std::vector<unsigned char>& message) = 0;
    // Whether the instrument is on the bus as far as the link knows: after a send whose
    // recovery did not find it, false (the resend went nowhere).
    virtual bool instrumentConnected() const = 0;
    virtual void startPoll() = 0;
    virtual void stopPoll() = 0;
    // The update file is on the volume: tells the instrument to apply it. Reports
    // updateTransferDone once the message is on its way, and updateFinishFailed when it did
    // not reach the instrument.
    virtual void finishUpdate() = 0;

Q_SIGNALS:
    void deviceFound(bool found);
    void updateTransferDone();
    // Why the update-finish message did not reach the instrument, and what to do.
    void updateFinishFailed(QString reason);
};
