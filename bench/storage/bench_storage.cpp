// Copying a 64 MiB update file onto a simulated volume with the FileManager's 4096-byte
// chunks, per-chunk progress and final sync, against `cp` (and `cp` followed by a sync of
// the file) to the same place in the same run. Prints times, the ratio and the peak memory
// of the copy for two file sizes. No pass/fail.
#include <ChunkCopier.h>
#include <FileManager.h>
#include <SimulatedStorage.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

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
    return true;
}

// Peak resident memory since the last reset, in KiB (Linux); -1 elsewhere.
long peakKiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

void resetPeak()
{
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double runProcess(const QString& program, const QStringList& args)
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(program, args);
    process.waitForFinished(-1);
    if (process.exitCode() != 0)
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
    return timer.nsecsElapsed() / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir downloads;
    SimulatedStorage sim;
    if (!sim.mount("tavloupd")) {
        std::fprintf(stderr, "cannot mount the simulated volume: %s\n", qPrintable(sim.lastError()));
        return 1;
    }
    const QDir volume(sim.rootPath("tavloupd"));
    FileManager manager(sim.volumeList(), sim.dismounter(), sim.folderOpener(), StorageTimings::production());
    long progressSignals = 0;
    QObject::connect(&manager, &FileManager::copyProgress, [&](int) { ++progressSignals; });

    std::printf("volume directory: %s\n", qPrintable(volume.path()));
    for (const qint64 size : {8 * kMiB, 64 * kMiB}) {
        const QString source = downloads.filePath(QStringLiteral("fw-%1.tvq").arg(size / kMiB));
        if (!makeSource(source, size)) {
            std::fprintf(stderr, "cannot write the source file\n");
            return 1;
        }
        const QString target = volume.filePath(QFileInfo(source).fileName());
        const QString cpTarget = volume.filePath("cp-copy.tvq");

        std::vector<double> ours, loopOnly, cp, cpSync;
        long peak = 0;
        const long before = peakKiB();
        for (int round = 0; round < 5; ++round) {
            QFile::remove(target);
            QFile::remove(cpTarget);
            progressSignals = 0;
            resetPeak();
            QElapsedTimer timer;
            timer.start();
            const bool ok = manager.copyFileToDevice("tavloupd", source);
            ours.push_back(timer.nsecsElapsed() / 1e6);
            peak = std::max(peak, peakKiB());
            if (!ok || progressSignals != (size + 4095) / 4096) {
                std::fprintf(stderr, "copy failed or progress count wrong\n");
                return 1;
            }
            {
                // The chunk loop alone, without the final sync, for the breakdown.
                QFile::remove(target);
                QFile in(source);
                QFile out(target);
                in.open(QIODevice::ReadOnly);
                out.open(QIODevice::WriteOnly | QIODevice::Truncate);
                QElapsedTimer loop;
                loop.start();
                ChunkCopier::copy(in, out, in.size(), [&](int) { ++progressSignals; });
                out.close();
                loopOnly.push_back(loop.nsecsElapsed() / 1e6);
            }
            cp.push_back(runProcess("cp", {source, cpTarget}));
            QFile::remove(cpTarget);
            cpSync.push_back(runProcess("sh", {"-c", "cp \"$1\" \"$2\" && sync \"$2\"", "sh", source, cpTarget}));
        }
        std::printf("%3lld MiB: FileManager %.1f ms (%ld progress signals; chunk loop without sync %.1f ms) | cp %.1f ms | cp+sync %.1f ms"
                    " (sh start-up included) | ratio to cp %.2f, to cp+sync %.2f | peak RSS during copy %ld KiB"
                    " (before %ld KiB)\n",
                    size / kMiB, median(ours), static_cast<long>((size + 4095) / 4096), median(loopOnly), median(cp), median(cpSync),
                    median(ours) / median(cp), median(ours) / median(cpSync), peak, before);
        QFile::remove(target);
        QFile::remove(cpTarget);
        QFile::remove(source);
    }
    return 0;
}
