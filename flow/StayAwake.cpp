#include "StayAwake.h"

#include "SleepGuard.h"

#include <QCoreApplication>

StayAwake::~StayAwake()
{
    follow(false);
}

void StayAwake::setGuard(std::shared_ptr<SleepGuard> system)
{
    follow(false);
    guard = std::move(system);
}

void StayAwake::follow(bool needed)
{
    if (!guard)
        return;
    if (needed && current == State::Free) {
        const bool held = guard->hold(QStringLiteral("A firmware update of Tavlo is being applied"));
        current = held ? State::Held : State::Refused;
        if (held)
            qInfo("The computer is kept awake until the update is done");
        else
            qWarning("The computer could not be kept from sleeping during the update");
    } else if (!needed && current != State::Free) {
        if (current == State::Held) {
            guard->release();
            qInfo("The computer may sleep again");
        }
        current = State::Free;
    }
}

QString StayAwake::text() const
{
    switch (current) {
    case State::Held:
        return QCoreApplication::translate("StayAwake",
                                           "This computer stays awake until the update is done.");
    case State::Refused:
        return QCoreApplication::translate(
            "StayAwake", "Keep this computer awake and plugged in until the update is done.");
    case State::Free:
        break;
    }
    return QString();
}
