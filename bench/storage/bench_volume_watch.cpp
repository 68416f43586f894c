// How long the update hand-over takes to notice the instrument's volume once it is mounted:
// the program's timings (the 50 ms poll between the 3 s look-ups) against the timed look-ups
// alone, side by side, with the simulated storage mounting the volume at a few delays after
// the first attempt. A 64 KiB file is copied, so the time is the wait plus a short copy.
// Prints figures only; the last line is a row for scripts/bench.sh.
#include <SimulatedStorage.h>
#include <StorageTimings.h>
#include <UpdateHandOver.h>
#include <VolumeStillPresent.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

// Milliseconds from the volume being mounted to the hand-over's result; -1 when it failed.
double noticeAfterMount(const StorageTimings& timings, const QString& source, int mountDelayMs)
{
    SimulatedStorage sim;
    VolumeStillPresent finish(sim.volumeList());
    QElapsedTimer sinceMount;
    bool done = false;
    bool ok = false;
    UpdateHandOver handOver(sim.volumeList(), finish, timings, {}, [&](bool success) {
        done = true;
        ok = success;
    });
    QObject::connect(&sim, &SimulatedStorage::volumeMounted,
                     [&](const QString&, const QString&) { sinceMount.start(); });
    handOver.downloadFinished(true, source, QStringLiteral("fw.tvq"));
    handOver.attempt();
    sim.mount(QString::fromLatin1(UpdateHandOver::kUpdateVolumeLabel), mountDelayMs);
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return ok && sinceMount.isValid() ? sinceMount.nsecsElapsed() / 1e6 : -1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir work;
    const QString source = work.filePath(QStringLiteral("fw.tvq"));
    {
        QFile file(source);
        if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(64 * 1024, 'x')) != 64 * 1024)
            return 1;
    }
    const StorageTimings program = StorageTimings::production();
    StorageTimings lookUpsOnly = program;
    lookUpsOnly.volumePollIntervalMs = 0;

    std::printf("bench_volume_watch: the volume mounted after the first look-up; ms from the "
                "mount to the hand-over's result\n");
    std::printf("%-14s %16s %20s\n", "mounted after", "program [ms]", "look-ups only [ms]");
    double worstOurs = 0, worstTheirs = 0, sumTheirs = 0;
    const QList<int> delays{400, 1500, 2600};
    for (const int delay : delays) {
        const double ours = noticeAfterMount(program, source, delay);
        const double theirs = noticeAfterMount(lookUpsOnly, source, delay);
        if (ours < 0 || theirs < 0) {
            std::fprintf(stderr, "a hand-over failed\n");
            return 1;
        }
        std::printf("%-14s %16.0f %20.0f\n", qPrintable(QStringLiteral("%1 ms").arg(delay)), ours, theirs);
        worstOurs = std::max(worstOurs, ours);
        worstTheirs = std::max(worstTheirs, theirs);
        sumTheirs += theirs;
    }
    std::printf("ROW|volume found after it is mounted (worst of %lld)|%.0f ms|%.0f ms|%.2f|"
                "<= 100 ms; the timed look-ups alone lose %.0f ms on average\n",
                qint64(delays.size()), worstOurs, worstTheirs, worstOurs / worstTheirs,
                sumTheirs / delays.size());
    return 0;
}
