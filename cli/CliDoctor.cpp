#include "CliDoctor.h"

#include "CliExitCode.h"
#include "CliOptions.h"
#include "CliOutput.h"
#include "ComputerCheck.h"
#include "DiagnosisReport.h"
#include "InstrumentLock.h"
#include "Platform.h"
#include "Timings.h"
#include "app/full/FullEditionWiring.h"

#include <QEventLoop>
#include <QTimer>

#include <memory>

int CliDoctor::run(const CliOptions& options, const Platform& platform, const QUrl& server,
                   const Timings& timings, CliOutput& out, const std::atomic<bool>& interrupted)
{
    // The instrument is asked only by the program that holds it; the rest needs no lock.
    InstrumentLock lock(platform.lockFolder);
    std::unique_ptr<FullEditionWiring> wiring;
    ComputerCheck::Sources sources;
    if (lock.acquire(InstrumentLock::Kind::CommandLine, CliOptions::commandName(options.command))) {
        wiring = std::make_unique<FullEditionWiring>(platform, server, timings);
        sources = ComputerCheck::fromPlatform(platform, wiring->storage(), &wiring->presence(), server);
    } else {
        sources = ComputerCheck::fromPlatform(platform, nullptr, nullptr, server);
        sources.heldBy = InstrumentLock::inUseSentence(lock.holder());
    }

    ComputerCheck check(sources, timings.diagnosis);
    QEventLoop loop;
    QObject::connect(&check, &ComputerCheck::finished, &loop, &QEventLoop::quit);
    QTimer poll;
    bool stopped = false;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (interrupted.load()) {
            stopped = true;
            loop.quit();
        }
    });
    poll.start(timings.cli.pollMs);
    check.start();
    if (check.running())
        loop.exec();
    poll.stop();
    if (stopped) {
        out.problem(tr("Stopped before every check was done."), CliExitCode::kInterrupted);
        return CliExitCode::kInterrupted;
    }

    const QList<CheckResult> results = check.results();
    if (options.json) {
        for (const CheckResult& result : results)
            out.print(DiagnosisReport::json(result), QString());
    } else {
        const QStringList lines = DiagnosisReport::text(results, check.madeAt())
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& line : lines)
            out.print({{QStringLiteral("event"), QStringLiteral("check_result")}}, line);
    }
    return DiagnosisReport::foundProblem(results) ? CliExitCode::kCheckFound : CliExitCode::kDone;
}
