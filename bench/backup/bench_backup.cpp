// Backs a tree of mixed files up the way the backup does (BackupWriter: listing, copies hashed
// while they are written, each synced, the manifest, the read-back of every copy, the rename)
// against `cp -r TREE COPY && sync` on the same file system, in alternating rounds, then backs
// the unchanged tree up a second time (hard links to the first). The system's cache is dropped
// before each side where that is allowed (as root, outside a container), so both read the tree
// from the disk; the backup's read-back reads its copies from the disk in any case. Prints
// figures only; the last lines are rows for scripts/bench.sh.
//
// Usage: bench_backup [--dir FOLDER] [--size MIB] [--rounds N]
// The tree (about a fifth in 400 small files of up to 1 MiB, three levels deep, the rest in
// files of about 40 MiB) and the copies go to a folder made in FOLDER (default: the temporary
// folder).
#include <BackupWriter.h>
#include <BenchFigures.h>
#include <FileSync.h>
#include <PlainReadableFiles.h>
#include <Sha256.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {
constexpr qint64 kMiB = 1024 * 1024;

bool writeFile(const QString& path, qint64 size, quint32 seed)
{
    QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(kMiB, Qt::Uninitialized);
    for (qint64 written = 0; written < size;) {
        for (int i = 0; i < block.size(); i += 4) {
            seed = seed * 1664525u + 1013904223u;
            block[i] = char(seed >> 24);
            block[i + 1] = char(seed >> 16);
            block[i + 2] = char(seed >> 8);
            block[i + 3] = char(seed);
        }
        const qint64 part = std::min<qint64>(block.size(), size - written);
        if (file.write(block.constData(), part) != part)
            return false;
        written += part;
    }
    return true;
}

// The tree: returns its file count.
int makeTree(const QString& root, qint64 total)
{
    int files = 0;
    qint64 small = total / 5;
    for (quint32 i = 0; small > 0; ++i, ++files) {
        const qint64 size = std::min<qint64>(small, (i * 2654435761u) % kMiB);
        const QString path = QStringLiteral("%1/projects/Live set %2/part %3/pattern %4 ü.tvp")
                                 .arg(root).arg(i % 7).arg(i % 3).arg(i);
        if (!writeFile(path, size, i))
            return -1;
        small -= size;
    }
    for (qint64 left = total - total / 5; left > 0; ++files) {
        const qint64 size = std::min<qint64>(left, 40 * kMiB + files * 4096);
        if (!writeFile(QStringLiteral("%1/instrument_definitions/sample set %2.tvs").arg(root).arg(files), size, files))
            return -1;
        left -= size;
    }
    return files;
}

// Whether the system's cache could be dropped (as root outside a container).
bool settle()
{
    QProcess::execute(QStringLiteral("sync"), {});
    QFile drop(QStringLiteral("/proc/sys/vm/drop_caches"));
    return drop.open(QIODevice::WriteOnly) && drop.write("3\n") == 2 && drop.flush();
}

double seconds(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString where = BenchFigures::valueAfter(args, QStringLiteral("--dir"), QDir::tempPath());
    const qint64 mib = BenchFigures::valueAfter(args, QStringLiteral("--size"), QStringLiteral("1024")).toLongLong();
    const int rounds = BenchFigures::valueAfter(args, QStringLiteral("--rounds"), QStringLiteral("1")).toInt();

    QDir().mkpath(where);
    QTemporaryDir dir(where + QStringLiteral("/bench-backup-XXXXXX"));
    const QString tree = dir.filePath(QStringLiteral("TAVLO"));
    const int files = makeTree(tree, mib * kMiB);
    if (files < 0) {
        std::fprintf(stderr, "the tree could not be written under %s\n", qPrintable(dir.path()));
        return 1;
    }
    const bool dropped = settle();
    std::printf("tree: %d files, %lld MiB under %s; the cache %s before each side\n", files, mib,
                qPrintable(dir.path()),
                dropped ? "dropped" : "NOT dropped (not allowed here): both sides read the tree from the cache");

    // What bounds the backup: the hash alone over 256 MiB in memory.
    {
        QByteArray block(64 * kMiB, 'x');
        Sha256 hash;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 4; ++i)
            hash.addData(block);
        hash.result();
        std::printf("SHA-256 alone: %.0f MiB/s\n", 256 / seconds(timer));
    }

    PlainReadableFiles readable;
    BackupWriter writer(readable, [](bool) { return BackupWriter::Stop::None; });
    QList<double> first, second, cpSync;
    for (int round = 1; round <= rounds; ++round) {
        const QString backups = dir.filePath(QStringLiteral("backups"));
        settle();
        QElapsedTimer timer;
        timer.start();
        const BackupWriter::Result one = writer.run({tree, backups, QStringLiteral("1.5.2"), QDateTime::currentDateTime()});
        first << seconds(timer);
        settle();
        timer.start();
        const BackupWriter::Result two = writer.run({tree, backups, QStringLiteral("1.5.2"), QDateTime::currentDateTime()});
        second << seconds(timer);
        if (!one.ok || !two.ok) {
            std::fprintf(stderr, "the backup failed: %s\n", qPrintable(one.ok ? two.detail : one.detail));
            return 1;
        }
        std::printf("%-6d %-28s %9.3f\n", round, "backup", first.last());
        std::printf("%-6d %-28s %9.3f (%lld MiB linked)\n", round, "second backup, unchanged", second.last(),
                    two.linkedBytes / kMiB);
        QDir(backups).removeRecursively();

        settle();
        QProcess cp;
        timer.start();
        cp.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("cp -r \"$1\" \"$2\" && sync"),
                                        QStringLiteral("sh"), tree, dir.filePath(QStringLiteral("cp-copy"))});
        cp.waitForFinished(-1);
        cpSync << seconds(timer);
        if (cp.exitCode() != 0) {
            std::fprintf(stderr, "cp failed\n");
            return 1;
        }
        std::printf("%-6d %-28s %9.3f\n", round, "cp -r && sync", cpSync.last());
        QDir(dir.filePath(QStringLiteral("cp-copy"))).removeRecursively();
    }
    const double ours = BenchFigures::median(first);
    const double again = BenchFigures::median(second);
    const double theirs = BenchFigures::median(cpSync);
    std::printf("median: backup %.3f s, second backup %.3f s, cp -r && sync %.3f s\n", ours, again, theirs);
    std::printf("ROW|backup of %lld MiB in %d files, wall / cp -r && sync|%.3f s|%.3f s|%.2f|<= 1.10; hashed, "
                "each file synced, every copy read back\n",
                mib, files, ours, theirs, ours / theirs);
    std::printf("ROW|  the second backup of the unchanged tree / the first|%.3f s|%.3f s|%.2f|<= 2 s for 1 GiB\n",
                again, ours, again / ours);
    return 0;
}
