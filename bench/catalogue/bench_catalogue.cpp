// How long the window's thread is kept from its events while a release catalogue of 8 MiB
// (the most the program reads, UpdateDownload::kMaxCatalogueBytes) is received and read: the
// full edition's wiring with its real window (offscreen) and its session log, against the local
// release server on a thread of its own. Once the window is up and its first catalogue read,
// the catalogue is asked for again, as "Try again" does; a repeating 5 ms timer on the main
// thread gives the longest gap between two of its ticks from the request until the version
// list has been rebuilt and the window has had 200 ms more. The anchor is the same gap with the
// window idle for as long, measured in the same run right after. Each round also says how the
// time splits: until the first entry is handed on (the transfer, and the parse on the reader's
// thread) with the longest gap in that part, and from there to the list (the entries handed on
// one by one on the window's thread). Prints figures only; asserts nothing about them.
//
// Usage: bench_catalogue [--rounds N] [--entry-bytes B]   (5 rounds, entries of about 350
// bytes unless told: about 24,000 of them)
// The last line is one row for scripts/bench.sh: "ROW|figure|ours|anchor|ratio|note".
#include "BenchFigures.h"
#include "BenchRig.h"
#include "app/full/FullEditionWiring.h"
#include "ReleaseServer.h"
#include "SessionLog.h"
#include "SimInstrument.h"
#include "Startup.h"
#include "Timings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kTickMs = 5;
constexpr int kSettleMs = 200;
constexpr double kGoalMs = 50;

// The longest time between two ticks of a repeating timer on this thread, from start() to
// longest(); the last tick to that moment counts as well.
class TickGaps
{
public:
    TickGaps()
    {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(kTickMs);
        QObject::connect(&timer, &QTimer::timeout, [this] { tick(); });
    }
    void start()
    {
        worst = 0;
        clock.start();
        last = 0;
        timer.start();
    }
    // The longest so far, the time since the last tick included, without stopping.
    double sofar() const
    {
        return std::max(worst, clock.nsecsElapsed() / 1e6 - last);
    }
    double longest()
    {
        tick();
        timer.stop();
        return worst;
    }

private:
    void tick()
    {
        const double now = clock.nsecsElapsed() / 1e6;
        worst = std::max(worst, now - last);
        last = now;
    }

    QTimer timer;
    QElapsedTimer clock;
    double last = 0;
    double worst = 0;
};

// A usable catalogue of exactly size bytes: entries of about entryBytes each, as the maker
// writes them (oldest first), the last one padded to the size.
QByteArray catalogueOf(qint64 size, int entryBytes, int* count)
{
    QByteArray json = "[";
    *count = 0;
    for (;;) {
        const int i = *count;
        const QByteArray v = QByteArray::number(1 + i / 10000) + '.' + QByteArray::number(i / 100 % 100)
                             + '.' + QByteArray::number(i % 100);
        QByteArray entry = R"({"file_name":"tavlo-firmware-)" + v + R"(.tvq","version":")" + v
                           + R"(","total_file_size":"2097152","release_date":"2026-11-30",)"
                           + R"("code_name":"Birch","uuid":"00000000-0000-4000-8000-)"
                           + QByteArray::number(100000000000LL + i) + R"(","sha256":")"
                           + QByteArray(64, 'c') + R"(","release_notes":"- faster start)";
        entry += QByteArray(std::max(0, entryBytes - int(entry.size()) - 3), '.') + "\"}";
        if (json.size() + entry.size() + 2 > size)
            break;
        json += (i > 0 ? "," : "") + entry;
        ++*count;
    }
    json += ']';
    return json + QByteArray(size - json.size(), ' ');
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The server encrypts on a thread of its own, as a server elsewhere would not take the
    // window's thread.
    BenchRig rig(BenchRig::ServerThread::OwnThread);
    QGuiApplication app(argc, argv);
    Startup::registerFonts();
    const QStringList arguments = app.arguments();
    const int rounds = std::max(
        1, BenchFigures::valueAfter(arguments, QStringLiteral("--rounds"), QStringLiteral("5")).toInt());
    const int entryBytes = std::max(
        100, BenchFigures::valueAfter(arguments, QStringLiteral("--entry-bytes"), QStringLiteral("350"))
                 .toInt());

    int entries = 0;
    const QByteArray large = catalogueOf(UpdateDownload::kMaxCatalogueBytes, entryBytes, &entries);
    int smallEntries = 0;
    const QByteArray small = catalogueOf(4096, entryBytes, &smallEntries);

    if (!rig.startServer(small)) {
        rig.stopServer();
        return 1;
    }

    // As the program runs: its session log in a file, the full edition's wiring and window.
    SessionLog log = SessionLog::inFolder(QDir(rig.folder()).filePath(QStringLiteral("logs")));
    log.install(SessionLog::Echo::None);
    SimInstrument instrument;
    int result = 0;
    {
        FullEditionWiring program(instrument.platform(), rig.serverUrl(), Timings::production());
        QQmlApplicationEngine engine;
        program.publish(engine);
        engine.load(QUrl(QStringLiteral("qrc:/Tavlo_App/main.qml")));
        int lists = 0;
        QObject::connect(&program.updateChoices(), &UpdateChoices::listChanged, [&lists] { ++lists; });
        if (engine.rootObjects().isEmpty() || !BenchRig::runUntil([&] { return lists > 0; }, 20000)) {
            std::fprintf(stderr, "the window or its first catalogue did not come up\n");
            result = 1;
        } else {
            BenchRig::runFor(500);
            rig.onServer([&large](ReleaseServer& server) { server.setCatalogue(large); });
            std::printf("bench_catalogue: a catalogue of %lld bytes, %d entries of about %d bytes, "
                        "through the full edition's wiring and window; longest gap between the "
                        "%d ms ticks of the window's thread [ms]\n",
                        qint64(large.size()), entries, entryBytes, kTickMs);
            // request->1st entry: the transfer and the parse on the reader's thread; 1st
            // entry->list: the entries handed on one by one on the window's thread.
            std::printf("%-6s %14s %14s %14s %14s %14s %8s\n", "round", "request->1st",
                        "1st->list", "longest->1st", "longest, all", "idle, longest", "ratio");
            TickGaps gaps;
            QList<double> receiving;
            QList<double> reading;
            QList<double> idle;
            for (int round = 1; round <= rounds && result == 0; ++round) {
                const int before = lists;
                QElapsedTimer clock;
                double firstMs = -1;
                double beforeFirst = -1;
                const QMetaObject::Connection first = QObject::connect(
                    &program.downloader(), &Downloader::releasesJsonFetched, [&] {
                        if (firstMs >= 0)
                            return;
                        firstMs = clock.nsecsElapsed() / 1e6;
                        beforeFirst = gaps.sofar();
                    });
                gaps.start();
                clock.start();
                program.downloader().fetchReleasesJson();
                const bool listed = BenchRig::runUntil([&] { return lists > before; }, 60000);
                const double listedMs = clock.nsecsElapsed() / 1e6;
                QObject::disconnect(first);
                if (!listed || program.updateChoices().count() != entries) {
                    std::fprintf(stderr, "round %d: the catalogue was not read whole\n", round);
                    result = 1;
                    break;
                }
                BenchRig::runFor(kSettleMs);
                const double spanMs = clock.nsecsElapsed() / 1e6;
                reading.append(gaps.longest());
                gaps.start();
                BenchRig::runFor(int(spanMs));
                idle.append(gaps.longest());
                receiving.append(beforeFirst);
                std::printf("%-6d %14.0f %14.0f %14.1f %14.1f %14.1f %8.2f\n", round, firstMs,
                            listedMs - firstMs, beforeFirst, reading.last(), idle.last(),
                            reading.last() / idle.last());
            }
            if (result == 0) {
                const double worst = *std::max_element(reading.begin(), reading.end());
                const double idleWorst = *std::max_element(idle.begin(), idle.end());
                std::printf("longest gap while reading: %.1f ms worst, %.1f ms median (until the "
                            "first entry is handed on: %.1f ms worst); idle: %.1f ms worst (goal: "
                            "at most %.0f ms while reading)\n",
                            worst, BenchFigures::median(reading),
                            *std::max_element(receiving.begin(), receiving.end()), idleWorst,
                            kGoalMs);
                std::printf("ROW|catalogue of 8 MiB received and read, longest stall of the "
                            "window's thread / idle (worst of %d)|%.1f ms|%.1f ms|%.2f|<= %.0f ms "
                            "while reading; %d entries, %d ms ticks\n",
                            rounds, worst, idleWorst, worst / idleWorst, kGoalMs, entries, kTickMs);
            }
        }
    }
    rig.stopServer();
    return result;
}
