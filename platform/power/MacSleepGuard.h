#pragma once

#include "SleepGuard.h"

#include <QString>

#include <memory>

class QProcess;

// macOS: a power assertion held by the system's caffeinate tool, started as a child that
// keeps the system and the idle timer from sleeping (-i, and -s on mains power) and ends by
// itself when this program ends (-w and this process's id), so a crash cannot leave the
// computer awake. Main thread only.
class MacSleepGuard : public SleepGuard
{
public:
    explicit MacSleepGuard(QString program = QStringLiteral("/usr/bin/caffeinate"));
    ~MacSleepGuard() override;

    // True once the tool runs; false when it cannot be started or ends at once.
    bool hold(const QString& why) override;
    void release() override;

private:
    QString program;
    std::unique_ptr<QProcess> holder;
};
