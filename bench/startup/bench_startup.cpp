// Start-up of a program under the X display in DISPLAY (Xvfb in scripts/bench.sh): the time
// from exec to its first top-level window being mapped, and its resident memory once the
// window has been up for a while, against a bare `qml` ApplicationWindow, side by side in
// alternating rounds. Prints figures only; the last lines are rows for scripts/bench.sh.
//
// Usage: bench_startup --program PATH --qml PATH_TO_QML_RUNNER [--rounds N] [--settle MS]
#include <BenchFigures.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <poll.h>

namespace {

struct Start
{
    double mappedMs = -1;
    double residentMib = -1;
    // The processor time all its threads had used when the window was mapped: unlike the
    // wall time, it hardly grows when other work shares the cores.
    double cpuMs = -1;
};

// The processor time of every thread of the process so far (from each thread's schedstat,
// in nanoseconds); -1 when it cannot be read.
double cpuMsOf(qint64 pid)
{
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    const QStringList ids = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (ids.isEmpty())
        return -1;
    double total = 0;
    for (const QString& id : ids) {
        QFile stat(tasks.filePath(id + QStringLiteral("/schedstat")));
        if (stat.open(QIODevice::ReadOnly))
            total += stat.readAll().split(' ').value(0).toDouble() / 1e6;
    }
    return total;
}

double residentMibOf(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// Starts the program and waits for a window of it (a new child of the root that is not an
// override-redirect popup) to be mapped.
Start startOnce(xcb_connection_t* x, const QString& program, const QStringList& arguments, int settleMs)
{
    Start start;
    while (xcb_generic_event_t* stale = xcb_poll_for_event(x))
        std::free(stale);
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    const int fd = xcb_get_file_descriptor(x);
    while (timer.elapsed() < 30000 && start.mappedMs < 0) {
        pollfd waitFor{fd, POLLIN, 0};
        ::poll(&waitFor, 1, 50);
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const auto* mapped = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (!mapped->override_redirect && start.mappedMs < 0) {
                    start.mappedMs = timer.nsecsElapsed() / 1e6;
                    start.cpuMs = cpuMsOf(process.processId());
                }
            }
            std::free(event);
        }
        if (process.state() == QProcess::NotRunning)
            break;
    }
    if (start.mappedMs >= 0) {
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < settleMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        start.residentMib = residentMibOf(process.processId());
    }
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
    }
    return start;
}



} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const QString program = BenchFigures::valueAfter(arguments, "--program", QString());
    const QString qmlRunner = BenchFigures::valueAfter(arguments, "--qml", QStringLiteral("/usr/lib/qt6/bin/qml"));
    const int rounds = std::max(1, BenchFigures::valueAfter(arguments, "--rounds", "5").toInt());
    const int settleMs = BenchFigures::valueAfter(arguments, "--settle", "1500").toInt();

    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (program.isEmpty() || xcb_connection_has_error(x)) {
        std::fprintf(stderr, "bench_startup: needs --program and an X display in DISPLAY\n");
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    QTemporaryDir work;
    const QString bare = work.filePath(QStringLiteral("bare.qml"));
    {
        QFile file(bare);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write("import QtQuick\nimport QtQuick.Controls\n"
                   "ApplicationWindow { width: 640; height: 480; visible: true; title: \"bare\" }\n");
    }

    std::printf("bench_startup: exec to window mapped, %d rounds, resident memory %d ms after\n",
                rounds, settleMs);
    std::printf("%-6s %-12s %12s %14s %14s\n", "round", "program", "mapped [ms]", "resident [MiB]",
                "cpu at map [ms]");
    QList<double> ourMs, bareMs, ourMib, bareMib, ourCpu, bareCpu;
    for (int round = 1; round <= rounds; ++round) {
        const Start ours = startOnce(x, program, {}, settleMs);
        const Start theirs = startOnce(x, qmlRunner, {bare}, settleMs);
        if (ours.mappedMs < 0 || theirs.mappedMs < 0) {
            std::fprintf(stderr, "a window never showed (%s)\n", ours.mappedMs < 0 ? "program" : "qml");
            return 1;
        }
        std::printf("%-6d %-12s %12.0f %14.1f %14.0f\n", round, "program", ours.mappedMs, ours.residentMib,
                    ours.cpuMs);
        std::printf("%-6d %-12s %12.0f %14.1f %14.0f\n", round, "bare qml", theirs.mappedMs, theirs.residentMib,
                    theirs.cpuMs);
        ourMs << ours.mappedMs;
        bareMs << theirs.mappedMs;
        ourMib << ours.residentMib;
        bareMib << theirs.residentMib;
        ourCpu << ours.cpuMs;
        bareCpu << theirs.cpuMs;
    }
    xcb_disconnect(x);
    // Not a row: the wall time's ratio moves with whatever else runs on the machine, the
    // processor time's much less; both are printed so that a busy run can be told apart.
    std::printf("processor time at map (all threads, medians): program %.0f ms, bare qml %.0f ms, ratio %.2f\n",
                BenchFigures::median(ourCpu), BenchFigures::median(bareCpu),
                BenchFigures::median(ourCpu) / BenchFigures::median(bareCpu));
    std::printf("ROW|start-up, exec to window mapped / bare qml ApplicationWindow|%.0f ms|%.0f ms|%.2f|<= 1.1\n",
                BenchFigures::median(ourMs), BenchFigures::median(bareMs), BenchFigures::median(ourMs) / BenchFigures::median(bareMs));
    std::printf("ROW|start-up, resident memory (bare qml %.0f MiB)|%.0f MiB|%.0f MiB|%.2f|<= 130 MiB\n",
                BenchFigures::median(bareMib), BenchFigures::median(ourMib), BenchFigures::median(bareMib), BenchFigures::median(ourMib) / BenchFigures::median(bareMib));
    return 0;
}
