#pragma once

#include "SleepGuard.h"

#include <QStringList>

// The simulated computer's sleep: it records every hold and release, and can refuse.
class SimSleepGuard : public SleepGuard
{
public:
    bool hold(const QString& why) override;
    void release() override;

    void setRefuses(bool refuses) { refusing = refuses; }
    bool held() const { return holding; }
    int holds() const { return holdCount; }
    int releases() const { return releaseCount; }
    // The reasons given, one per hold asked for.
    QStringList reasons() const { return why; }

private:
    bool refusing = false;
    bool holding = false;
    int holdCount = 0;
    int releaseCount = 0;
    QStringList why;
};
