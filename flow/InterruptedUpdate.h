#pragma once

#include <QObject>
#include <QString>

class Presence;
class UpdateFlow;

// An update cut off after the instrument was switched to update mode (the program was killed
// or crashed, the computer slept or lost power): the instrument still waits in update mode
// with its update volume mounted, and cannot be used until the update is finished or it is
// switched off and on. Each time the instrument is found while nothing runs, its own update
// volume is looked for (on the storage worker); when it is there, the home screen offers to
// finish the update in place of "Update" and "Transfer", and "tavlo update" finishes it.
class InterruptedUpdate : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool offered READ offered NOTIFY changed)
    Q_PROPERTY(QString text READ text NOTIFY changed)

public:
    InterruptedUpdate(Presence& presence, UpdateFlow& flow, QObject* parent = nullptr);

    // The instrument waits in update mode, and nothing runs: the offer is shown.
    bool offered() const { return waiting; }
    // The look for the update volume is under way (its answer not yet in).
    bool looking() const { return asked; }
    QString text() const;

    // "Finish update": the update on offer, handed to the instrument that is in update mode
    // already (no update-mode message).
    Q_INVOKABLE void finish();

public Q_SLOTS:
    // The storage worker's answer: whether the instrument's own update volume is mounted.
    void onUpdateVolumeWaiting(bool present);

Q_SIGNALS:
    void changed();
    // Asks the storage worker whether the instrument's own update volume is mounted.
    void lookForUpdateVolume();
    // The look's answer is in (whatever it was).
    void looked();

private:
    void setWaiting(bool present);

    Presence& presence;
    UpdateFlow& flow;
    bool asked = false;
    bool waiting = false;
};
