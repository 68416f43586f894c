// The full edition's MidiHandler against the simulated instrument, plugged in and unplugged
// over and over at random (seeded) intervals, with a random mix of cycles: unplugged before
// the version request goes out, kept until the version reply, or put into transfer mode and
// unplugged at a random moment of the wait that follows. The device timings are the
// production ones divided by kDivisor, the instrument's round trip likewise.
//
// Prints: the resident memory growth per cycle (after a warm-up), the detections
// (deviceFound(true)) against the plug-ins, the version replies against the cycles that waited
// for one, and what was left stuck: a detection that never came, a wait that never ended, a
// loss never reported, a send made after the instrument had left and the link knew it (a
// timer of a connection gone), or a version request more than one per connection.
//
// Each step is given a generous bound (a few polls) and then as long again as the machine
// needs, up to a limit far beyond any poll: a step that ends past its bound is counted late
// and its time shows in the distribution printed (a loaded machine stretches these), one that
// has not ended by the limit is stuck. With SOAK_TRACE set, the events of every cycle with a
// late or stuck step (the instrument's joins, leaves and messages read, every look of the
// program at its ports, the program's sends and reports) are printed with their times.
// No pass/fail; the exit code is 1 when a count is off or anything was stuck.
#include "DeviceTimings.h"
#include "LoggingUsbLookup.h"
#include "device/full/MidiHandler.h"
#include "SimMidiBus.h"
#include "SimMidiInstrument.h"
#include "SoakLog.h"
#include "SysExMessages.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kDivisor = 100;

DeviceTimings soakTimings()
{
    DeviceTimings t = DeviceTimings::production();
    for (int* time : {&t.presencePollMs, &t.versionRequestDelayMs, &t.reconnectDelayMs,
                      &t.reconnectPollMs, &t.firstSendDelayMs, &t.resendIntervalMs,
                      &t.graceTimeMs, &t.ackTimeoutMs, &t.retryDelayMs})
        *time = std::max(1, *time / kDivisor);
    return t;
}

// Resident memory in KiB (Linux); -1 elsewhere.
long residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * 4 : -1;
}

// Runs the event loop until done() holds or ms have passed; whether done() held.
bool runUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        const qint64 left = ms - clock.elapsed();
        if (left <= 0)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, static_cast<int>(left));
    }
    return true;
}

// How long the steps of one kind took (ms), and how many went past their bound.
struct Durations
{
    std::vector<qint64> ms;
    int late = 0;

    void print(const char* what) const
    {
        std::vector<qint64> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        auto at = [&](double q) { return sorted.empty() ? 0LL : static_cast<long long>(sorted[static_cast<size_t>(q * (sorted.size() - 1))]); };
        std::printf("%s: %zu, median %lld ms, 99%% %lld ms, 99.9%% %lld ms, max %lld ms; past the bound %d\n", what,
                    sorted.size(), at(0.5), at(0.99), at(0.999), at(1.0), late);
    }
};

void pause(int ms)
{
    runUntil([] { return false; }, ms);
}

struct Counts
{
    int plugIns = 0;
    int detections = 0;
    int losses = 0;
    int waitsStarted = 0;
    int waitsFinished = 0;
    int versionCyclesAwaited = 0;
    int versionReplies = 0;
    int resendsAfterRecovery = 0; // the one resend of a send that found the instrument gone
    // Stuck or wrong.
    int notDetected = 0;
    int versionsMissing = 0;
    int waitsNotEnded = 0;
    int lossesNotReported = 0;
    int sendsAfterLeaving = 0;
    int extraVersionRequests = 0;
    Durations detection;   // from the plug-in to deviceFound(true)
    Durations waitEnd;     // from the unplug to the end of the wait
    Durations lossReport;  // from the unplug (or the wait's end) to the loss known
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 10000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 1u;
    std::mt19937 random(seed);
    auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };

    const DeviceTimings t = soakTimings();
    // Generous bounds: a detection takes a poll, a wait at most the acknowledgment time-out
    // (or the poll limit) and its grace time.
    const int detectBoundMs = 20 * t.presencePollMs + 200;
    const int waitBoundMs = t.reconnectDelayMs + t.reconnectPollMs * t.reconnectPollLimit + t.ackTimeoutMs
                            + t.graceTimeMs + 20 * t.presencePollMs + 500;
    // A step not ended by then never ends: hundreds of polls, ten times the longest wait.
    const int stuckLimitMs = 10 * waitBoundMs;

    SimMidiBus bus;
    SimMidiInstrument instrument(&bus);
    instrument.setRejoinDelay(std::max(1, 1000 / kDivisor));
    SoakLog log;
    MidiHandler handler(bus.backend(), std::make_shared<LoggingUsbLookup>(bus.usbLookup(), log), t);

    const bool trace = qEnvironmentVariableIsSet("SOAK_TRACE");
    QObject::connect(&instrument, &SimMidiInstrument::joinedBus, [&] { log.note(QStringLiteral("instrument on the bus")); });
    QObject::connect(&instrument, &SimMidiInstrument::leftBus, [&] { log.note(QStringLiteral("instrument off the bus")); });
    QObject::connect(&instrument, &SimMidiInstrument::messageReceived, [&](const QByteArray& m) {
        log.note(QStringLiteral("instrument read %1").arg(QString::fromLatin1(m.toHex(' '))));
    });
    QObject::connect(&bus, &SimMidiBus::programSent, [&](const QString&, const QByteArray& m) {
        log.note(QStringLiteral("program sent %1").arg(QString::fromLatin1(m.toHex(' '))));
    });
    QObject::connect(&bus, &SimMidiBus::programSendWasDropped, [&](const QByteArray& m) {
        log.note(QStringLiteral("program sent %1 on a closed port").arg(QString::fromLatin1(m.toHex(' '))));
    });
    QObject::connect(&handler, &MidiHandler::deviceFound, [&](bool found) {
        log.note(QStringLiteral("deviceFound(%1)").arg(found ? "true" : "false"));
    });
    QObject::connect(&handler, &MidiHandler::deviceReenumerationFinished, [&](bool success) {
        log.note(QStringLiteral("wait finished (%1)").arg(success ? "success" : "failure"));
    });
    // Runs until done() holds: true if within boundMs; past it, late is counted and the step
    // given up to the stuck limit; the time taken goes into the distribution when it ended.
    int cycle = 0;
    auto step = [&](const std::function<bool()>& done, int boundMs, Durations& d, const char* what) {
        QElapsedTimer took;
        took.start();
        const bool ended = runUntil(done, boundMs) || runUntil(done, stuckLimitMs - boundMs);
        // The loop may come back long after the bound on a stalled machine, the step done.
        const bool inBound = ended && took.elapsed() <= boundMs;
        if (ended)
            d.ms.push_back(took.elapsed());
        if (!inBound) {
            ++d.late;
            if (trace)
                log.print(cycle, (std::string(what) + (ended ? ": late" : ": stuck")).c_str());
        }
        return ended;
    };
    Counts c;
    bool onBus = false;
    bool waitRunning = false;
    bool lossKnown = true; // the link has reported the loss (or its wait gave up)
    bool lossJustReported = false;
    int versionRequestsThisConnection = 0;
    int versionsThisCycle = 0;

    QObject::connect(&handler, &MidiHandler::deviceFound, [&](bool found) {
        if (found) {
            ++c.detections;
            versionRequestsThisConnection = 0;
            lossKnown = false;
        } else {
            ++c.losses;
            lossKnown = true;
            // A send that found the instrument gone reports the loss and then goes out once
            // more, in the same turn of the event loop: that resend is no timer of its own.
            lossJustReported = true;
            QTimer::singleShot(0, &handler, [&] { lossJustReported = false; });
        }
    });
    QObject::connect(&handler, &MidiHandler::deviceReenumerationFinished, [&](bool success) {
        ++c.waitsFinished;
        waitRunning = false;
        if (!success)
            lossKnown = true;
    });
    QObject::connect(&handler, &MidiHandler::tavloReceivedVersion, [&](const QString&) {
        ++c.versionReplies;
        ++versionsThisCycle;
    });
    auto noteSend = [&](const QByteArray& message) {
        if (!onBus && !waitRunning && lossKnown && lossJustReported) {
            ++c.resendsAfterRecovery;
        } else if (!onBus && !waitRunning && lossKnown) {
            ++c.sendsAfterLeaving;
            if (trace)
                std::printf("send after leaving: %s\n", message.toHex(' ').constData());
        }
        const std::vector<unsigned char> bytes(message.begin(), message.end());
        if (bytes == SysEx::MIDI_SYSEX_VERSION_REQUEST && ++versionRequestsThisConnection > 1)
            ++c.extraVersionRequests;
    };
    QObject::connect(&bus, &SimMidiBus::programSent, [&](const QString&, const QByteArray& m) { noteSend(m); });
    QObject::connect(&bus, &SimMidiBus::programSendWasDropped, noteSend);

    const int warmUp = std::min(1000, cycles / 10);
    long warmKiB = residentKiB();
    QElapsedTimer clock;
    clock.start();

    for (cycle = 0; cycle < cycles; ++cycle) {
        if (cycle == warmUp)
            warmKiB = residentKiB();
        versionsThisCycle = 0;
        // The simulated instrument keeps every message it received; that record is no part
        // of the program's memory.
        instrument.forgetReceivedMessages();
        log.clear();

        // Plug in: a freshly plugged instrument is in its normal mode.
        instrument.setMode(SimMidiInstrument::Mode::Normal);
        const int detectionsBefore = c.detections;
        ++c.plugIns;
        log.note(QStringLiteral("soak plugs in"));
        instrument.joinBus();
        onBus = true;
        if (!step([&] { return c.detections > detectionsBefore; }, detectBoundMs, c.detection, "detection")) {
            ++c.notDetected;
        } else {
            switch (between(0, 2)) {
            case 0: // unplugged at once or a little later, the version request maybe still due
                pause(between(0, t.versionRequestDelayMs + 2));
                break;
            case 1: // kept until the version reply, and a while longer
                ++c.versionCyclesAwaited;
                if (!runUntil([&] { return versionsThisCycle > 0; }, detectBoundMs))
                    ++c.versionsMissing;
                pause(between(0, 3 * t.presencePollMs));
                break;
            case 2: // a transfer-mode start, unplugged at a random moment of the wait
                pause(between(0, t.versionRequestDelayMs + 2));
                ++c.waitsStarted;
                waitRunning = true;
                log.note(QStringLiteral("soak starts transfer mode"));
                handler.sendTransferSysEx();
                pause(between(0, t.reconnectDelayMs + t.ackTimeoutMs / 2));
                break;
            }
        }

        // Unplug, and let the link settle: every wait ends and the loss is known.
        log.note(QStringLiteral("soak unplugs"));
        instrument.leaveBus();
        onBus = false;
        if (waitRunning && !step([&] { return !waitRunning; }, waitBoundMs, c.waitEnd, "wait end"))
            ++c.waitsNotEnded;
        if (!step([&] { return lossKnown; }, detectBoundMs, c.lossReport, "loss report"))
            ++c.lossesNotReported;
        // Stays unplugged a while; nothing may be sent now.
        pause(between(0, 2 * t.presencePollMs + t.versionRequestDelayMs));

        if ((cycle + 1) % 1000 == 0) {
            std::printf("cycle %5d: %6.1f s, resident %ld KiB\n", cycle + 1, clock.elapsed() / 1000.0,
                        residentKiB());
            std::fflush(stdout);
        }
    }

    const long endKiB = residentKiB();
    const int measured = cycles - warmUp;
    const double growth = measured > 0 ? double(endKiB - warmKiB) / measured : 0.0;
    std::printf("\n%d cycles (seed %u) in %.1f s; device timings / %d\n", cycles, seed,
                clock.elapsed() / 1000.0, kDivisor);
    std::printf("resident memory: %ld KiB after %d warm-up cycles, %ld KiB at the end: %.4f KiB per cycle\n",
                warmKiB, warmUp, endKiB, growth);
    std::printf("detections %d of %d plug-ins; losses reported %d\n", c.detections, c.plugIns, c.losses);
    std::printf("version replies %d; cycles that waited for one %d, of which without one %d\n",
                c.versionReplies, c.versionCyclesAwaited, c.versionsMissing);
    std::printf("transfer waits started %d, ended %d\n", c.waitsStarted, c.waitsFinished);
    std::printf("bounds: detection and loss report %d ms, wait end %d ms; stuck after %d ms\n",
                detectBoundMs, waitBoundMs, stuckLimitMs);
    c.detection.print("detections");
    c.waitEnd.print("wait ends after the unplug");
    c.lossReport.print("losses known after the unplug");
    std::printf("resends into closed ports after a send found the instrument gone: %d\n",
                c.resendsAfterRecovery);
    std::printf("stuck: not detected %d, waits never ended %d, losses never reported %d, "
                "sends after the instrument left %d, extra version requests %d\n",
                c.notDetected, c.waitsNotEnded, c.lossesNotReported, c.sendsAfterLeaving,
                c.extraVersionRequests);

    const bool exact = c.detections == c.plugIns && c.waitsFinished == c.waitsStarted;
    const bool stuck = c.notDetected + c.versionsMissing + c.waitsNotEnded + c.lossesNotReported
                           + c.sendsAfterLeaving + c.extraVersionRequests
                       > 0;
    std::printf("%s\n", exact && !stuck && growth < 0.1 ? "OK" : "NOT OK");
    return exact && !stuck ? 0 : 1;
}
