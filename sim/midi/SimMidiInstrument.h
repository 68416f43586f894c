#pragma once

#include "UsbIdentityLookup.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class SimMidiBus;

// The MIDI side of the simulated instrument, on the main thread. It reacts to the program's
// messages as the instrument does; each built-in reaction can be switched off so that an
// object composing this one decides itself (it sees every message through the signals).
//
// Built-in reactions:
//  - version request: replies F0 7D 01 <version> F7;
//  - update mode: leaves the bus and comes back after the re-join delay;
//  - transfer start / end: when the message asks for another mode than the present one, leaves
//    the bus and comes back in that mode after the re-join delay; when it names the present
//    mode (the resend after coming back), acknowledges it with the same six bytes;
//  - update finish: counted.
class SimMidiInstrument : public QObject
{
    Q_OBJECT

public:
    enum class Reaction
    {
        ReplyToVersionRequest,
        LeaveOnUpdateMode,
        RoundTripOnTransferMessage, // leave and come back in the mode asked for
        AcknowledgeTransferMessage,
    };
    enum class Mode
    {
        Normal,
        Transfer,
        Update,
    };

    // Not attached until joinBus().
    explicit SimMidiInstrument(SimMidiBus* bus, QString name = QStringLiteral("Tavlo"),
                               QObject* parent = nullptr);
    ~SimMidiInstrument() override;

    void setFirmwareVersion(const QString& version);
    QString firmwareVersion() const { return version; }
    // The USB identity behind the ports, as the lookup reports it. Applies from the next join.
    void setUsbIds(const QString& vendorId, const QString& productId);
    // Which ports the program sees: its input (the instrument's sending side) and its output.
    // Applies from the next join.
    void setPortsExposed(bool programInput, bool programOutput);
    void setReactionEnabled(Reaction reaction, bool enabled);
    // Time from leaving the bus in a built-in reaction to coming back; negative: never.
    void setRejoinDelay(int ms);
    void setMode(Mode mode);
    Mode mode() const { return currentMode; }

    bool isOnBus() const { return device != 0; }
    int updateFinishCount() const { return updateFinishes; }
    QList<QByteArray> receivedMessages() const { return received; }
    // Drops the record of received messages (for long runs that do not read it).
    void forgetReceivedMessages() { received.clear(); }

public Q_SLOTS:
    void leaveBus();
    void joinBus();
    // Comes back after ms; a leaveBus() or joinBus() in between cancels it.
    void joinBusAfter(int ms);
    // Sends a message to the program's open input; false when nothing took it.
    bool sendToProgram(const QByteArray& message);

Q_SIGNALS:
    void messageReceived(QByteArray message);
    void versionRequested();
    void updateModeReceived();
    void updateFinishReceived();
    void transferStartReceived();
    void transferEndReceived();
    void leftBus();
    void joinedBus();

private:
    friend class SimMidiBus;
    void receiveFromProgram(const QByteArray& message);
    void roundTripTo(Mode mode);
    bool reactionEnabled(Reaction reaction) const;

    QPointer<SimMidiBus> bus;
    QString name;
    QString version = QStringLiteral("1.5.0");
    UsbIds ids;
    bool exposeInput = true;
    bool exposeOutput = true;
    int device = 0;
    int rejoinDelayMs = 1000;
    unsigned joinGeneration = 0;
    Mode currentMode = Mode::Normal;
    int updateFinishes = 0;
    QList<QByteArray> received;
    bool reactions[4] = {true, true, true, true};
};
