#pragma once

#include <QString>

#include <memory>

class SleepGuard;

// The update's hold on the computer's sleep: from the update-mode message to the end of the
// confirmation, the computer is asked not to sleep (a sleep then would leave the instrument
// in update mode), and let go on every way out, this object's end included.
class StayAwake
{
public:
    enum class State { Free, Held, Refused };

    StayAwake() = default;
    ~StayAwake();
    StayAwake(const StayAwake&) = delete;
    StayAwake& operator=(const StayAwake&) = delete;

    // The system's guard (none: nothing is asked, and nothing is said).
    void setGuard(std::shared_ptr<SleepGuard> guard);
    // Holds when needed and not yet held, lets go when no longer needed.
    void follow(bool needed);

    State state() const { return current; }
    // What the window says while the update needs the computer awake (empty otherwise).
    QString text() const;

private:
    std::shared_ptr<SleepGuard> guard;
    State current = State::Free;
};
