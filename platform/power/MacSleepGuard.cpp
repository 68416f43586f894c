#include "MacSleepGuard.h"

#include <QCoreApplication>
#include <QProcess>

namespace {
constexpr int kStartMs = 3000;
// A tool that refuses its arguments ends at once; one that holds the assertion keeps running.
constexpr int kSettleMs = 200;
constexpr int kStopMs = 3000;
} // namespace

MacSleepGuard::MacSleepGuard(QString program) : program(std::move(program)) {}

MacSleepGuard::~MacSleepGuard()
{
    release();
}

// The tool names its own assertion; the reason is not passed on.
bool MacSleepGuard::hold(const QString&)
{
    release();
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->start(program,
                   {QStringLiteral("-i"), QStringLiteral("-s"), QStringLiteral("-w"),
                    QString::number(QCoreApplication::applicationPid())},
                   QIODevice::ReadOnly);
    if (!process->waitForStarted(kStartMs) || process->waitForFinished(kSettleMs))
        return false;
    holder = std::move(process);
    return true;
}

void MacSleepGuard::release()
{
    if (!holder)
        return;
    if (holder->state() != QProcess::NotRunning) {
        holder->terminate();
        if (!holder->waitForFinished(kStopMs)) {
            holder->kill();
            holder->waitForFinished(kStopMs);
        }
    }
    holder.reset();
}
