#pragma once

#include "SleepGuard.h"

#include <QDBusUnixFileDescriptor>

// Linux: an inhibitor lock of systemd-logind ("sleep:idle", mode "block"), held as long as
// the file descriptor logind hands out stays open. Without logind or the system bus, hold()
// is false.
class LogindSleepGuard : public SleepGuard
{
public:
    bool hold(const QString& why) override;
    void release() override;

private:
    QDBusUnixFileDescriptor inhibitor;
};
