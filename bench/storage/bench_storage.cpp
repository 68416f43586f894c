// Puts a 64 MiB update file onto a volume the way the hand-over does (VolumeUpdateWriter:
// temporary name, chunked copy with progress, one sync, read-back compared with the source,
// rename) against `cp F vol/ && sync` to the same volume, in alternating rounds. The read-back is
// also timed on its own (the file's cached pages dropped first, as the writer does), to give
// the copy's cost without it. Prints figures only; the last lines are rows for
// scripts/bench.sh.
//
// Usage: bench_storage [--volume FOLDER] [--size MIB] [--rounds N] [--kind TEXT]
// Without --volume the copy goes to a folder in the temporary folder.
#include <BenchFigures.h>
#include <BenchMemory.h>
#include <CopyComparison.h>
#include <FileSync.h>
#include <VolumeUpdateWriter.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {
constexpr qint64 kMiB = 1024 * 1024;

bool makeSource(const QString& path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(kMiB, Qt::Uninitialized);
    for (qint64 written = 0; written < size; written += block.size()) {
        for (int i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>((written / kMiB) * 31 + i * 7);
        if (file.write(block) != block.size())
            return false;
    }
    // On disk before any round: its dirty pages must not throttle the first copy.
    return file.flush() && FileSync::syncDescriptor(file.handle());
}

// Every side starts with nothing dirty left over from the one before.
void settle()
{
    QProcess::execute(QStringLiteral("sync"), {});
}

double seconds(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e9;
}

// The read-back of the writer on its own: the copy's pages dropped, then read through and
// compared with the source, block by block, as the writer does.
double timeReadBack(const QString& path, const QString& sourcePath, qint64 block)
{
    QFile file(path);
    QFile source(sourcePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)
        || !source.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return -1;
    FileSync::dropCachedPages(file.handle());
    QElapsedTimer timer;
    timer.start();
    if (CopyComparison::compare(file, source, block) != CopyComparison::Result::Same)
        return -1;
    return seconds(timer);
}


} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const qint64 mib = std::max(1LL, BenchFigures::valueAfter(arguments, "--size", "64").toLongLong());
    const int rounds = std::max(1, BenchFigures::valueAfter(arguments, "--rounds", "3").toInt());
    QTemporaryDir work;
    const QString volume = BenchFigures::valueAfter(arguments, "--volume", work.filePath("volume"));
    const QString kind = BenchFigures::valueAfter(arguments, "--kind", "a folder");
    QDir().mkpath(volume);
    const QString source = work.filePath(QStringLiteral("tavlo-fw-%1.tvq").arg(mib));
    if (!makeSource(source, mib * kMiB)) {
        std::fprintf(stderr, "cannot write the source file\n");
        return 1;
    }
    const QDir dir(volume);
    const QString handOver = dir.filePath(QStringLiteral("tvxxfer.tvq"));

    std::printf("bench_storage: %lld MiB onto %s (%s), %d rounds, chunks of %lld KiB\n", mib,
                qPrintable(volume), qPrintable(kind), rounds,
                VolumeUpdateWriter::chunkSizeFor(mib * kMiB) / 1024);
    std::printf("%-6s %-22s %9s\n", "round", "copy", "time [s]");
    QList<double> ours, readBack, cpSync, peaks, ourCpu, cpCpu;
    long reports = 0;
    for (int round = 1; round <= rounds; ++round) {
        QFile::remove(handOver);
        long roundReports = 0;
        settle();
        BenchMemory::resetPeak();
        const qint64 baseline = BenchMemory::statusKib("VmRSS");
        QElapsedTimer timer;
        double cpuBefore = BenchMemory::cpuSeconds();
        timer.start();
        const QString problem = VolumeUpdateWriter::place(volume, source, QStringLiteral("tvxxfer.tvq"),
                                                          [&](qint64, qint64) { ++roundReports; });
        ours << seconds(timer);
        ourCpu << BenchMemory::cpuSeconds() - cpuBefore;
        peaks << (BenchMemory::statusKib("VmHWM") - baseline) / 1024.0;
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "the copy failed: %s\n", qPrintable(problem));
            return 1;
        }
        reports = roundReports;
        readBack << timeReadBack(handOver, source, VolumeUpdateWriter::chunkSizeFor(mib * kMiB));
        QFile::remove(handOver);

        settle();
        QProcess cp;
        cpuBefore = BenchMemory::cpuSeconds(true);
        timer.start();
        cp.start("sh", {"-c", "cp \"$1\" \"$2\" && sync", "sh", source, volume + QLatin1Char('/')});
        cp.waitForFinished(-1);
        cpSync << seconds(timer);
        cpCpu << BenchMemory::cpuSeconds(true) - cpuBefore;
        if (cp.exitCode() != 0) {
            std::fprintf(stderr, "cp failed\n");
            return 1;
        }
        QFile::remove(dir.filePath(QFileInfo(source).fileName()));
        std::printf("%-6d %-22s %9.3f\n", round, "hand-over copy", ours.last());
        std::printf("%-6d %-22s %9.3f\n", round, "  its read-back alone", readBack.last());
        std::printf("%-6d %-22s %9.3f\n", round, "cp F vol/ && sync", cpSync.last());
    }
    const double withCheck = BenchFigures::median(ours);
    const double check = BenchFigures::median(readBack);
    const double theirs = BenchFigures::median(cpSync);
    std::printf("median: hand-over copy %.3f s (read-back %.3f s of it), cp && sync %.3f s; "
                "%ld progress reports; peak memory growth %.1f MiB\n",
                withCheck, check, theirs, reports, *std::max_element(peaks.begin(), peaks.end()));
    std::printf("ROW|copy %lld MiB onto the volume (%s), wall / cp F vol/ && sync|%.3f s|%.3f s|%.2f|"
                "<= 1.05; with the read-back check; CPU %.3f s / %.3f s\n",
                mib, qPrintable(kind), withCheck, theirs, withCheck / theirs,
                BenchFigures::median(ourCpu), BenchFigures::median(cpCpu));
    std::printf("ROW|  the same without the read-back (%.3f s)|%.3f s|%.3f s|%.2f|<= 1.05\n", check,
                withCheck - check, theirs, (withCheck - check) / theirs);
    return 0;
}
