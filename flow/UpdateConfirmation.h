#pragma once

#include "FlowTimings.h"

#include <QObject>
#include <QString>
#include <QTimer>

// After an update is handed over: the wait for the instrument to come back and say which
// firmware it runs. One explicit state:
//
//   Idle --start--> Waiting
//   Waiting --report of the installed firmware--> Confirmed
//   Waiting --report of another firmware--> Settling (a further reboot may still bring it)
//   Settling --report of the installed firmware--> Confirmed
//   Settling --settle time over--> OtherVersion
//   Waiting or Settling --time-out--> NotBack (Settling: OtherVersion)
//   any --cancel or start--> Idle or Waiting
//
// When the installed firmware is not known (a file from the computer), the first report
// confirms whatever it names. Versions compare by their numbers where both parse, else as
// texts.
class UpdateConfirmation : public QObject
{
    Q_OBJECT

public:
    enum class State { Idle, Waiting, Settling, Confirmed, OtherVersion, NotBack };
    Q_ENUM(State)

    explicit UpdateConfirmation(const FlowTimings& timings, QObject* parent = nullptr);

    // expected: the firmware the update installs; empty when not known.
    void start(const QString& expected);
    void cancel();

    State state() const { return current; }
    bool waiting() const { return current == State::Waiting || current == State::Settling; }
    QString expected() const { return installing; }
    // The last firmware the instrument reported during this wait.
    QString reported() const { return lastReport; }

public Q_SLOTS:
    void onVersionReported(const QString& version);

Q_SIGNALS:
    void stateChanged(UpdateConfirmation::State state);

private:
    void enter(State next);
    void onTimer();
    bool isExpected(const QString& version) const;

    const FlowTimings timings;
    QTimer overall;
    QTimer settle;
    State current = State::Idle;
    QString installing;
    QString lastReport;
};
