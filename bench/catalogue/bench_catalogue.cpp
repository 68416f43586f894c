// The version list with a large catalogue: how long from the catalogue's arrival to the list
// being shown, in steps. Prints the figures; asserts nothing about them.
//
//   bench_catalogue [entries] [--steps] [--availability-log]     (100000 entries unless told)
//
// --availability-log: with the program's update availability log, which logs two lines for
// each entry of the catalogue on the window's thread (without it, the path of the parts
// alone).
// --steps: the parse and the list's rows alone, without the server and the window (for a
// run under valgrind --tool=callgrind, whose instruction counts are steadier than times on a
// loaded machine).
//
// Steps: the JSON parse (ReleaseCatalogue::parse), the list's rows (ReleaseChoices::from),
// and the whole path in the program: the full edition's Downloader reading the catalogue from
// the local HTTPS server, UpdateChoices building the list, and the shared ChoicesPage showing
// it on an offscreen window until its first frame. The program's own share is timed from the
// catalogue's arrival (the reply finished, its bytes in hand) to that frame, step by step;
// the plain transfer of the same bytes is printed beside it, and the longest stall of the
// window's thread on the way. Also how many rows
// the list view made, and the frame time while it scrolls through the whole list.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "download/full/Downloader.h"
#include "ReleaseCatalogue.h"
#include "ReleaseChoices.h"
#include "ReleaseServer.h"
#include "UpdateChoices.h"

namespace {

QByteArray catalogueOf(int count)
{
    QByteArray json = "[";
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            json += ',';
        const QByteArray v = QByteArray::number(1 + i / 10000) + '.' + QByteArray::number(i / 100 % 100)
                             + '.' + QByteArray::number(i % 100);
        json += R"({"file_name":"tavlo-)" + v + R"(.tvq","version":")" + v
                + R"(","total_file_size":"2097152","release_date":"2026-11-30","code_name":"Bench",)"
                + R"("uuid":"00000000-0000-4000-8000-)" + QByteArray::number(100000000000LL + i)
                + R"(","release_notes":"- faster start\n- the tuner holds its setting"})";
    }
    return json + "]";
}

double ms(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// CPU time in ms: of this thread, or of the whole process (every thread).
double cpuMs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    // The thread sleeps in its event loop as the program's would (a busy loop here would take
    // a core from the reader's thread); a timer wakes it to check the condition.
    QTimer wake;
    wake.start(2);
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return done();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool stepsOnly = arguments.contains(QStringLiteral("--steps"));
    const bool withLog = arguments.contains(QStringLiteral("--availability-log"));
    int count = 100000;
    for (const QString& argument : arguments) {
        if (!argument.startsWith(QLatin1Char('-')))
            count = std::max(1, argument.toInt());
    }
    const QByteArray json = catalogueOf(count);
    std::printf("catalogue: %d entries, %.1f MB\n", count, json.size() / (1024.0 * 1024.0));

    // The pure steps, on this thread: wall time and this thread's CPU time. Their results
    // are gone before the whole path runs, as in the program, which holds one catalogue.
    QElapsedTimer t;
    {
        t.start();
        double cpu = cpuMs(CLOCK_THREAD_CPUTIME_ID);
        const ReleaseCatalogue catalogue = ReleaseCatalogue::parse(json);
        std::printf("JSON parse alone:                 %8.1f ms (CPU %.1f ms)\n", ms(t),
                    cpuMs(CLOCK_THREAD_CPUTIME_ID) - cpu);
        t.restart();
        cpu = cpuMs(CLOCK_THREAD_CPUTIME_ID);
        const ReleaseChoices choices = ReleaseChoices::from(catalogue.entries());
        std::printf("list rows alone:                  %8.1f ms (CPU %.1f ms)\n", ms(t),
                    cpuMs(CLOCK_THREAD_CPUTIME_ID) - cpu);
        if (stepsOnly)
            return choices.count() == count ? 0 : 1;
    }

    ReleaseServer server;
    server.setCatalogue(json);
    if (!server.start()) {
        std::fprintf(stderr, "release server: %s\n", qPrintable(server.errorText()));
        return 1;
    }
    ReleaseServer::trustInThisProcess();

    // The plain transfer of the same bytes.
    QNetworkAccessManager network;
    t.restart();
    QNetworkReply* plain = network.get(QNetworkRequest(QUrl(server.baseUrl().toString()
                                                            + QStringLiteral("/releases/releases.json"))));
    waitFor([plain] { return plain->isFinished(); }, 60000);
    const double transfer = ms(t);
    plain->deleteLater();

    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/qt-project.org/imports"));
    Downloader downloader(server.baseUrl());
    // The moments on the way, on the window's thread. The arrival is the access manager's
    // finished(): emitted for the reply before the reply's own finished() reaches the
    // program's handler, so it marks the bytes in hand, before the program touches them.
    bool listed = false;
    double arrivedAt = -1, handedAt = -1, takenAt = -1, readAt = -1, listedAt = -1;
    double cpuAtArrival = 0;
    if (auto* manager = downloader.findChild<QNetworkAccessManager*>()) {
        QObject::connect(manager, &QNetworkAccessManager::finished, [&] {
            if (arrivedAt < 0) {
                arrivedAt = ms(t);
                cpuAtArrival = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
            }
        });
    }
    UpdateDownload& core = downloader.updateDownload();
    QObject::connect(&core, &UpdateDownload::readRequested, [&] { handedAt = ms(t); });
    // Once: the signal comes for every entry, and the benchmark's slot should not weigh.
    QMetaObject::Connection firstEntry;
    firstEntry = QObject::connect(&core, &UpdateDownload::releasesJsonFetched, [&] {
        takenAt = ms(t);
        QObject::disconnect(firstEntry);
    });
    // Connected before UpdateChoices is: the list is built in the same emission, after this.
    QObject::connect(&core, &UpdateDownload::catalogueRead, [&] { readAt = ms(t); });
    if (withLog) {
        // As both editions wire it (UpdatePathConnections): two log lines per entry, here to
        // standard error.
        QObject::connect(
            &downloader, &Downloader::releasesJsonFetched, &downloader,
            [&downloader] { Downloader::logUpdateAvailable(downloader.currentLatestVersion()); },
            Qt::DirectConnection);
    }
    UpdateChoices updateChoices(downloader.updateDownload());
    updateChoices.setInstalledVersion(QStringLiteral("1.5.2"));
    engine.rootContext()->setContextProperty(QStringLiteral("updateChoices"), &updateChoices);
    QQmlComponent component(&engine);
    component.setData(R"(
        import QtQuick 2.15
        import Tavlo_Controls 1.0
        Window {
            width: 360; height: 750; visible: true; color: "black"
            property alias page: page
            ChoicesPage { id: page; choices: updateChoices; columnWidth: 180; pageTop: 240 }
        }
    )", QUrl());
    QQuickWindow* window = qobject_cast<QQuickWindow*>(component.create());
    if (!window) {
        std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
        return 1;
    }
    QObject* page = window->property("page").value<QObject*>();
    int frames = 0;
    QObject::connect(window, &QQuickWindow::frameSwapped, [&frames] { ++frames; });
    waitFor([&frames] { return frames > 0; }, 5000);

    QObject::connect(&updateChoices, &UpdateChoices::listChanged, [&] {
        listed = true;
        listedAt = ms(t);
        QMetaObject::invokeMethod(page, "show");
    });
    // The window thread's longest stall while the catalogue arrives and is read: a 5 ms
    // timer on it, and the longest gap between its ticks.
    QTimer tick;
    tick.setInterval(5);
    QElapsedTimer sinceTick;
    double longestStall = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longestStall = std::max(longestStall, ms(sinceTick));
        sinceTick.restart();
    });
    t.restart();
    sinceTick.start();
    tick.start();
    downloader.fetchReleasesJson();
    waitFor([&listed] { return listed; }, 120000);
    tick.stop();
    longestStall = std::max(longestStall, ms(sinceTick));
    const int framesBefore = frames;
    waitFor([&] { return frames > framesBefore; }, 5000);
    const double whole = ms(t);
    const double cpuToShown = cpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpuAtArrival;
    std::printf("whole path (request to first frame): %8.1f ms; a plain transfer takes %.1f ms\n",
                whole, transfer);
    if (arrivedAt < 0) {
        std::fprintf(stderr, "the catalogue's arrival was not seen\n");
        return 1;
    }
    std::printf("catalogue arrival to list shown:  %8.1f ms (goal 200 ms: ratio %.2f)\n",
                whole - arrivedAt, (whole - arrivedAt) / 200.0);
    const auto step = [](const char* what, double from, double to) {
        if (from >= 0 && to >= 0)
            std::printf("  %-32s %8.1f ms\n", what, to - from);
    };
    step("arrival to the reader", arrivedAt, handedAt);
    step("reading aside", handedAt >= 0 ? handedAt : arrivedAt, takenAt);
    step("taking the entries", takenAt, readAt);
    step("the list model", readAt, listedAt);
    step("showing, to the first frame", listedAt, whole);
    std::printf("  CPU time of the process meanwhile %8.1f ms (all threads)\n", cpuToShown);
    std::printf("longest stall of the window thread meanwhile: %.1f ms\n", longestStall);

    QQuickItem* list = window->findChild<QQuickItem*>(QStringLiteral("versionList"));
    QQuickItem* content = list ? list->property("contentItem").value<QQuickItem*>() : nullptr;
    const int made = content ? int(content->childItems().size()) : -1;
    std::printf("list rows: %d; rows made by the list view: %d\n",
                list ? list->property("count").toInt() : -1, made);

    // Scrolling: jump through the list in 200 steps, one frame each.
    double worst = 0;
    QElapsedTimer scroll;
    scroll.start();
    for (int step = 1; step <= 200 && list; ++step) {
        QElapsedTimer frame;
        frame.start();
        const int before = frames;
        list->setProperty("currentIndex", int(qint64(count - 1) * step / 200));
        waitFor([&] { return frames > before; }, 2000);
        worst = std::max(worst, ms(frame));
    }
    std::printf("scrolling 200 jumps: %.1f ms in all, slowest frame %.1f ms\n", ms(scroll), worst);
    delete window;
    return 0;
}
