#pragma once

#include <QString>

// Asks the computer not to sleep or suspend while something must not be cut off, and lets it
// sleep again. Used on the main thread only; hold() and release() come in pairs.
class SleepGuard
{
public:
    virtual ~SleepGuard() = default;

    // True when the system agreed. why: the reason the system may show to the user.
    virtual bool hold(const QString& why) = 0;
    virtual void release() = 0;
};
