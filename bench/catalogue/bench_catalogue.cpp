// The version list with a large catalogue: how long from the catalogue's arrival to the list
// being shown, in steps. Prints the figures; asserts nothing about them.
//
//   bench_catalogue [entries]      (100000 unless told)
//
// Steps: the JSON parse (ReleaseCatalogue::parse), the list's rows (ReleaseChoices::from),
// and the whole path in the program: the full edition's Downloader reading the catalogue from
// the local HTTPS server, UpdateChoices building the list, and the shared ChoicesPage showing
// it on an offscreen window until its first frame. For the whole path the plain transfer of
// the same bytes is timed too, so the program's own share can be read off, and the longest
// stall of the window's thread on the way. Also how many rows
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

#include "Downloader.h"
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

bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const QByteArray json = catalogueOf(count);
    std::printf("catalogue: %d entries, %.1f MB\n", count, json.size() / (1024.0 * 1024.0));

    QElapsedTimer t;
    t.start();
    const ReleaseCatalogue catalogue = ReleaseCatalogue::parse(json);
    std::printf("JSON parse alone:                 %8.1f ms\n", ms(t));
    t.restart();
    const ReleaseChoices choices = ReleaseChoices::from(catalogue.entries());
    std::printf("list rows alone:                  %8.1f ms\n", ms(t));

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

    bool listed = false;
    QElapsedTimer arrival;
    QObject::connect(&updateChoices, &UpdateChoices::listChanged, [&] {
        listed = true;
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
    std::printf("whole path (request to first frame): %8.1f ms, of which the transfer %.1f ms\n",
                whole, transfer);
    std::printf("catalogue arrival to list shown:  %8.1f ms\n", whole - transfer);
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
