#include "InterruptedUpdate.h"

#include "Presence.h"
#include "UpdateFlow.h"

InterruptedUpdate::InterruptedUpdate(Presence& presence, UpdateFlow& flow, QObject* parent)
    : QObject(parent), presence(presence), flow(flow)
{
    connect(&presence, &Presence::found, this, [this] {
        if (this->flow.state() != UpdateFlow::State::Idle)
            return;
        asked = true;
        qInfo("Tavlo found: looking for an update that was interrupted");
        emit lookForUpdateVolume();
    });
    connect(&presence, &Presence::lost, this, [this] {
        asked = false;
        setWaiting(false);
    });
    // Any update that starts takes the offer away (the flow's own part of it goes with the
    // start, which finishes the interrupted update).
    connect(&flow, &UpdateFlow::stateChanged, this, [this](UpdateFlow::State state) {
        if (state == UpdateFlow::State::Idle || !waiting)
            return;
        waiting = false;
        emit changed();
    });
}

QString InterruptedUpdate::text() const
{
    return waiting ? tr("An update of Tavlo was interrupted. Finish it now?") : QString();
}

void InterruptedUpdate::onUpdateVolumeWaiting(bool present)
{
    // An answer for a look that is no longer current (the instrument went away) is dropped.
    if (!asked) {
        qInfo("The look for an interrupted update was no longer current");
        return;
    }
    asked = false;
    if (!present)
        qInfo("No update volume of Tavlo's: no update was interrupted");
    setWaiting(present && presence.connected() && flow.state() == UpdateFlow::State::Idle);
    if (waiting)
        qInfo("Tavlo waits in update mode with its update volume: an update was interrupted");
    emit looked();
}

void InterruptedUpdate::finish()
{
    if (!waiting)
        return;
    qInfo("Finishing the interrupted update");
    flow.finishInterrupted();
}

void InterruptedUpdate::setWaiting(bool present)
{
    if (waiting == present)
        return;
    waiting = present;
    flow.setFinishOffered(present);
    emit changed();
}
