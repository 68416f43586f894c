#include "UpdateConfirmation.h"

#include "FirmwareVersion.h"

UpdateConfirmation::UpdateConfirmation(const FlowTimings& timings, QObject* parent)
    : QObject(parent), timings(timings)
{
    overall.setSingleShot(true);
    settle.setSingleShot(true);
    connect(&overall, &QTimer::timeout, this, &UpdateConfirmation::onTimer);
    connect(&settle, &QTimer::timeout, this, &UpdateConfirmation::onTimer);
}

void UpdateConfirmation::start(const QString& expected)
{
    installing = expected.trimmed();
    lastReport.clear();
    settle.stop();
    overall.start(timings.confirmTimeoutMs);
    enter(State::Waiting);
}

void UpdateConfirmation::cancel()
{
    overall.stop();
    settle.stop();
    enter(State::Idle);
}

bool UpdateConfirmation::isExpected(const QString& version) const
{
    if (installing.isEmpty())
        return true;
    const FirmwareVersion reported = FirmwareVersion::parse(version);
    const FirmwareVersion wanted = FirmwareVersion::parse(installing);
    if (reported.isValid() && wanted.isValid())
        return reported == wanted;
    return version.trimmed() == installing;
}

void UpdateConfirmation::onVersionReported(const QString& version)
{
    if (!waiting())
        return;
    lastReport = version;
    if (isExpected(version)) {
        overall.stop();
        settle.stop();
        enter(State::Confirmed);
        return;
    }
    // Another firmware: a reboot on the way may still bring the installed one.
    settle.start(timings.otherVersionSettleMs);
    enter(State::Settling);
}

void UpdateConfirmation::onTimer()
{
    if (!waiting())
        return;
    overall.stop();
    settle.stop();
    enter(current == State::Settling ? State::OtherVersion : State::NotBack);
}

void UpdateConfirmation::enter(State next)
{
    const bool changedState = next != current;
    current = next;
    // Settling again after a second report of another firmware is told too: its version
    // is the one shown.
    if (changedState || next == State::Settling)
        emit stateChanged(next);
}
