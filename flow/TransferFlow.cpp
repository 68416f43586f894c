#include "TransferFlow.h"

#include "Presence.h"
#include "UpdateFlow.h"

#include <QMetaObject>

TransferFlow::TransferFlow(Presence& presence, UpdateFlow& update, QObject* parent)
    : QObject(parent), presence(presence), update(update)
{
    connect(&presence, &Presence::changed, this, &TransferFlow::changed);
    connect(&update, &UpdateFlow::changed, this, &TransferFlow::changed);
    // A backup or restore whose eject failed handed its transfer mode to the screen: pulled
    // out then, the instrument comes back in normal mode (it has no power in between), so the
    // transfer mode ended with the cable. (The user's own transfer screen stays as it was.)
    connect(&presence, &Presence::lost, this,
            [this] { lostWhileOpen = current == State::Open && handedOver; });
    connect(&presence, &Presence::found, this, [this] {
        if (current == State::Open && lostWhileOpen)
            setState(State::Idle);
        lostWhileOpen = false;
    });
}

void TransferFlow::setLink(QObject* midiHandler)
{
    link = midiHandler;
}

void TransferFlow::setBridge(QObject* fileManagerBridge)
{
    bridge = fileManagerBridge;
}

bool TransferFlow::offered() const
{
    return current == State::Idle && coveredBy.isEmpty() && update.updateOffered()
        && presence.offersTransfer();
}

void TransferFlow::setCovered(const QObject* by, bool covered)
{
    const bool was = coveredBy.contains(by);
    if (was == covered)
        return;
    if (covered)
        coveredBy.append(by);
    else
        coveredBy.removeAll(by);
    update.setTransferBusy(current != State::Idle || !coveredBy.isEmpty());
    emit changed();
}

QString TransferFlow::waitingText() const
{
    switch (current) {
    case State::Connecting:
        return tr("Connecting to Tavlo");
    case State::Finalizing:
        return tr("Finalizing Transfer");
    case State::Idle:
    case State::Open:
        break;
    }
    return QString();
}

void TransferFlow::setState(State next)
{
    if (current == next)
        return;
    current = next;
    if (current == State::Idle || current == State::Connecting)
        problem.clear();
    if (current == State::Idle)
        handedOver = false;
    // The instrument leaves the bus on purpose while the flow waits for it.
    presence.expectAbsence(waiting());
    update.setTransferBusy(current != State::Idle || !coveredBy.isEmpty());
    emit changed();
    emit stateChanged(current);
}

void TransferFlow::start()
{
    if (!offered())
        return;
    use = Purpose::Browse;
    setState(State::Connecting);
    if (link)
        QMetaObject::invokeMethod(link, "sendTransferSysEx");
}

void TransferFlow::done()
{
    if (current != State::Open || !presence.connected())
        return;
    setState(State::Finalizing);
    if (bridge)
        QMetaObject::invokeMethod(bridge, "completeTransfer");
}

void TransferFlow::onTransferAcknowledged()
{
    setState(State::Open);
}

void TransferFlow::onTransferEndAcknowledged()
{
    setState(State::Idle);
    use = Purpose::Browse;
}

bool TransferFlow::enterFor(Purpose purpose)
{
    if (current != State::Idle || !presence.connected() || !presence.offersTransfer())
        return false;
    use = purpose;
    setState(State::Connecting);
    if (link)
        QMetaObject::invokeMethod(link, "sendTransferSysEx");
    return true;
}

void TransferFlow::leave()
{
    if (current != State::Open)
        return;
    setState(State::Finalizing);
    if (bridge)
        QMetaObject::invokeMethod(bridge, "completeTransfer");
}

void TransferFlow::abandon()
{
    if (use == Purpose::Browse)
        return;
    setState(State::Idle);
    use = Purpose::Browse;
}

void TransferFlow::handOverToScreen()
{
    use = Purpose::Browse;
    handedOver = true;
    emit changed();
}

void TransferFlow::resumeOpen()
{
    if (current == State::Idle)
        setState(State::Open);
}

void TransferFlow::onEjectResult(bool ejected)
{
    if (!ejected && current == State::Finalizing)
        setState(State::Open);
}

void TransferFlow::onVolumeRefused(const QString& why)
{
    if (current != State::Open && current != State::Finalizing)
        return;
    problem = why;
    emit changed();
}
