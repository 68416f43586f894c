#pragma once

#include <QObject>
#include <QList>
#include <QPointer>
#include <QString>

class Presence;
class UpdateFlow;

// The transfer mode as the full window and "tavlo transfer" go through it: "Transfer"
// sends the transfer-start message and waits for the instrument to come back showing its
// storage; "DONE" ejects the volume and waits for the transfer's end. While it waits, the
// instrument leaves the bus on purpose and its absence is not shown. It calls the link's
// sendTransferSysEx() and the bridge's completeTransfer(), and listens to the link's two
// acknowledgments (connected by FlowConnections).
class TransferFlow : public QObject
{
    Q_OBJECT
    Q_PROPERTY(State state READ state NOTIFY changed)
    Q_PROPERTY(bool offered READ offered NOTIFY changed)
    Q_PROPERTY(bool screenShown READ screenShown NOTIFY changed)
    Q_PROPERTY(bool waiting READ waiting NOTIFY changed)
    Q_PROPERTY(QString waitingText READ waitingText NOTIFY changed)
    // Why a folder was not opened or the volume not ejected (a drive with the label that is
    // not the instrument's, several of its own); empty when nothing was refused.
    Q_PROPERTY(QString volumeProblem READ volumeProblem NOTIFY changed)

public:
    // The label of the volume the instrument shows in transfer mode.
    static constexpr const char* kVolumeLabel = "TAVLO";

    enum class State {
        Idle,       // the home screen
        Connecting, // the transfer-start message went out; the instrument switches
        Open,       // the instrument shows its storage; the folders can be opened
        Finalizing, // "DONE": the volume is ejected; the transfer end is awaited
    };
    Q_ENUM(State)

    // What the transfer mode is entered for: the user's own look at the folders (the transfer
    // screen), or a backup or restore, whose flow shows its own screen and leaves the mode
    // itself.
    enum class Purpose { Browse, Backup, Restore };
    Q_ENUM(Purpose)

    TransferFlow(Presence& presence, UpdateFlow& update, QObject* parent = nullptr);

    void setLink(QObject* midiHandler);
    void setBridge(QObject* fileManagerBridge);

    State state() const { return current; }
    // "Transfer" is offered: the home screen, and firmware 1.5.0 or later.
    bool offered() const;
    bool screenShown() const { return current == State::Open && use == Purpose::Browse; }
    Purpose purpose() const { return use; }
    bool waiting() const { return current == State::Connecting || current == State::Finalizing; }
    // What the version line says (with waiting dots) while the flow waits.
    QString waitingText() const;
    QString volumeProblem() const { return problem; }

    // "Transfer" pressed.
    Q_INVOKABLE void start();
    // "DONE" pressed.
    Q_INVOKABLE void done();
    // The instrument already shows its storage (an earlier run left it so): the flow goes
    // on from there, so that done() can end the transfer mode.
    void resumeOpen();

    // A backup or restore enters the transfer mode: as start(), on any screen of the full
    // window where the instrument is connected with firmware that offers it. False when not.
    bool enterFor(Purpose purpose);
    // Its flow is done with the volume: the eject and the transfer end, as "DONE".
    void leave();
    // The instrument was lost while a backup or restore had the transfer mode: it comes back
    // in normal mode (it has no power in between), so nothing is left to end.
    void abandon();
    // The eject failed while a backup or restore left: the transfer screen takes over, so
    // that the user can close what holds the volume and press "DONE".
    void handOverToScreen();
    // A backup's or restore's screen covers the home screen (or no longer does): while one
    // does, neither "Update" nor "Transfer" is offered.
    void setCovered(const QObject* by, bool covered);

public Q_SLOTS:
    void onTransferAcknowledged();
    void onTransferEndAcknowledged();
    // The volume could not be ejected (files open on it): "DONE" is offered again.
    void onEjectResult(bool ejected);
    // A folder opening or an eject left the volume alone: shown while the flow is open.
    void onVolumeRefused(const QString& why);

Q_SIGNALS:
    void changed();
    void stateChanged(TransferFlow::State state);

private:
    void setState(State next);

    Presence& presence;
    UpdateFlow& update;
    QPointer<QObject> link;
    QPointer<QObject> bridge;
    State current = State::Idle;
    Purpose use = Purpose::Browse;
    QList<const QObject*> coveredBy;
    bool lostWhileOpen = false;
    bool handedOver = false; // the mode came from a backup or restore (handOverToScreen)
    QString problem;
};
