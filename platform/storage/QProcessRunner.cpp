#include "QProcessRunner.h"

#include <QProcess>
#include <QStringList>

QProcessRunner::QProcessRunner(int timeoutMs)
    : timeoutMs(timeoutMs)
{
}

std::optional<ProcessRunner::Result> QProcessRunner::run(const std::string& program,
                                                         const std::vector<std::string>& arguments)
try {
    QStringList list;
    for (const std::string& argument : arguments)
        list.append(QString::fromStdString(argument));
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QString::fromStdString(program), list, QIODevice::ReadOnly);
    if (!process.waitForStarted(timeoutMs))
        return std::nullopt;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    return Result{process.exitCode(), process.readAllStandardOutput().toStdString()};
}
catch (...) {
    // No exception crosses the seam: an output that cannot be held counts as none.
    return std::nullopt;
}
