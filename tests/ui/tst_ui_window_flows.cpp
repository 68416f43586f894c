// The main window's flows, driven through stand-ins of the four published objects: the
// button handlers, the signal handlers and the screens one after another.

#include "MessageRecorder.h"
#include "StandInSet.h"
#include "WindowDriver.h"
#include "WindowExpectations.h"

#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

// Compares inside a loop and names the step that failed.
#define CHECK_EQ_AT(actual, expected, where)                                                                \
    do {                                                                                                    \
        const QString a_ = (actual);                                                                        \
        const QString e_ = (expected);                                                                      \
        QVERIFY2(a_ == e_, qPrintable(QStringLiteral("step %1: got \"%2\", expected \"%3\"")             \
                                          .arg(QString::fromUtf8(where), a_, e_)));                         \
    } while (false)

using namespace WindowExpectations;

namespace {

const QUrl kMainUrl(QStringLiteral("qrc:/Tavlo_App/main.qml"));
const QString kLatestPrefix = QStringLiteral("The latest available version is Tvx");
const QString kInstalled = QStringLiteral("The latest version is already installed!");

// One window with the four stand-ins published. The recorder is made first and goes last,
// so it also hears what the engine says while it tears the window down.
struct Fixture
{
    MessageRecorder messages;
    StandInSet objects;
    WindowDriver driver;

    Fixture() { objects.publishTo(driver); }
};

struct Checkpoint
{
    QString step;
    QString shown;
    QString dot;
    QString label;
    QString versionLine; // checked only when not empty
};

} // namespace

Q_DECLARE_METATYPE(QList<Checkpoint>)

class WindowFlowsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Fixture> f;

    bool playAll(const QStringList& steps)
    {
        for (const QString& step : steps) {
            if (!f->objects.play(step, f->driver)) {
                qWarning("step failed: %s", qPrintable(f->objects.error()));
                return false;
            }
        }
        return true;
    }

    // The window's dots tick every 500 ms; here they tick every kTick ms so that five
    // ticks go by quickly, and the rhythm is checked against that.
    static constexpr int kTick = 100;

    // The window's timer of the dots, once it is seen to tick every 500 ms, set to tick
    // every kTick ms; null when there is no such timer or it ticks at another rate.
    QObject* loadingTimer()
    {
        QObject* timer = f->driver.root()->findChild<QObject*>(QStringLiteral("loadingTimer"));
        if (!timer || timer->property("interval").toInt() != 500)
            return nullptr;
        timer->setProperty("interval", kTick);
        return timer;
    }

private slots:
    void init()
    {
        f = std::make_unique<Fixture>();
        QVERIFY(f->driver.load(kMainUrl));
    }

    void cleanup()
    {
        const QStringList warnings = f->messages.warnings();
        f.reset();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
    }

    // ------------------------------------------------------------------ screens in sequence
    void screensInSequence_data()
    {
        QTest::addColumn<QList<Checkpoint>>("timeline");
        const QString orange = QStringLiteral("orange"), green = QStringLiteral("green"),
                      red = QStringLiteral("red");
        const QString looking = QStringLiteral("Looking for Tavlo"),
                      connected = QStringLiteral("Tavlo is connected"),
                      notConnected = QStringLiteral("Tavlo is not connected");

        QTest::newRow("update succeeds") << QList<Checkpoint>{
            {"", "row instructions", orange, looking, ""},
            {"found", "row update", green, connected, ""},
            {"version 1.5.0", "row update transfer", green, connected, ""},
            {"latest 1.6.0", "row update transfer", green, connected, kLatestPrefix + "1.6.0"},
            {"click Update", "row version info start", green, connected, kLatestPrefix + "1.6.0"},
            {"click Start Update", "row version info", green, connected, ""},
            {"download 40", "row progress info", green, connected, ""},
            {"lost", "row progress info instructions", red, notConnected, ""},
            {"found", "row progress info instructions", red, notConnected, ""},
            {"copy 70", "row progress info instructions", red, notConnected, ""},
            {"copyDone true", "info exit instructions", red, notConnected, "File transfer complete!"},
            {"lost", "info exit instructions", red, notConnected, "File transfer complete!"},
        };
        QTest::newRow("update while connected throughout") << QList<Checkpoint>{
            {"version 1.4.9", "row instructions", orange, looking, ""},
            {"found", "row update", green, connected, ""},
            {"click Update", "row version info start", green, connected,
             "Looking for the latest version or Tvx..."},
            {"latest 1.6.0", "row version info start", green, connected, kLatestPrefix + "1.6.0"},
            {"click Start Update", "row version info", green, connected, ""},
            {"download 100", "row progress info", green, connected, ""},
            {"copy 10", "row progress info", green, connected, ""},
            {"copyDone false", "row info exit", green, connected, "File transfer failed!"},
            {"lost", "row info exit instructions", red, notConnected, ""},
        };
        QTest::newRow("transfer and back") << QList<Checkpoint>{
            {"found", "row update", green, connected, ""},
            {"version 1.10", "row update transfer", green, connected, ""},
            {"click Transfer", "row version", green, connected, "Connecting to Tavlo"},
            {"lost", "row version", green, connected, ""},
            {"found", "row version", green, connected, ""},
            {"transferAck", "row projects definitions midi grooves transferInfo done", green, connected, ""},
            {"click Open Projects", "row projects definitions midi grooves transferInfo done", green, connected, ""},
            {"click DONE", "row version", green, connected, "Finalizing Transfer"},
            {"lost", "row version", green, connected, ""},
            {"found", "row version", green, connected, ""},
            {"transferEndAck", "row update transfer", green, connected, ""},
            {"lost", "row instructions", red, notConnected, ""},
            {"found", "row update transfer", green, connected, ""},
        };
        QTest::newRow("disconnected and back") << QList<Checkpoint>{
            {"lost", "row instructions", red, notConnected, ""},
            {"found", "row update", green, connected, ""},
            {"lost", "row instructions", red, notConnected, ""},
            {"version 1.5.0", "row instructions", red, notConnected, ""},
            {"found", "row update transfer", green, connected, ""},
        };
        QTest::newRow("no update needed") << QList<Checkpoint>{
            {"found", "row update", green, connected, ""},
            {"latest 1.5.0", "row update", green, connected, kLatestPrefix + "1.5.0"},
            {"versionCheck true", "row update", green, connected, kInstalled},
            {"click Update", "row version info exit", green, connected, kInstalled},
        };
    }

    void screensInSequence()
    {
        QFETCH(QList<Checkpoint>, timeline);
        for (int i = 0; i < timeline.size(); ++i) {
            const Checkpoint& point = timeline.at(i);
            const QByteArray where = QByteArray::number(i) + ": " + point.step.toUtf8();
            if (!point.step.isEmpty())
                QVERIFY2(f->objects.play(point.step, f->driver), (where + " " + f->objects.error().toUtf8()).constData());
            CHECK_EQ_AT(shownNow(f->driver), normalised(point.shown), where);
            CHECK_EQ_AT(dotColour(f->driver), QColor(point.dot).name(), where);
            CHECK_EQ_AT(label(f->driver), point.label, where);
            if (!point.versionLine.isEmpty())
                CHECK_EQ_AT(f->driver.text(QStringLiteral("versionText")), point.versionLine, where);
        }
    }

    // ------------------------------------------------------------------ button handlers
    void buttonHandlers_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("flags");
        QTest::addColumn<bool>("quits");

        const QStringList home{"found", "version 1.5.0"};
        const QStringList transferScreen{"found", "version 1.5.0", "click Transfer", "transferAck"};
        const QString folders = QStringLiteral("row projects definitions midi grooves transferInfo done");

        QTest::newRow("Update") << home << "Update" << QStringList{} << "row version info start"
                                << "inUpdateFlow=true update_started=false" << false;
        QTest::newRow("Update, nothing newer") << (home + QStringList{"versionCheck true"}) << "Update"
                                               << QStringList{} << "row version info exit"
                                               << "inUpdateFlow=true update_available=false" << false;
        QTest::newRow("Transfer") << home << "Transfer" << QStringList{"midiHandler.sendTransferSysEx"}
                                  << "row version" << "inReenumeration=true inTransferFlow=false" << false;
        QTest::newRow("Start Update") << (home + QStringList{"click Update"}) << "Start Update"
                                      << QStringList{"downloader.downloadFile"} << "row version info"
                                      << "update_started=true inUpdateFlow=false" << false;
        QTest::newRow("EXIT, nothing newer") << (home + QStringList{"versionCheck true", "click Update"}) << "EXIT"
                                             << QStringList{} << "row version info exit" << "inUpdateFlow=false"
                                             << true;
        QTest::newRow("EXIT after a result")
            << (home + QStringList{"click Update", "click Start Update", "download 100", "copyDone true"})
                                             << "EXIT" << QStringList{} << "info exit" << "inUpdateFlow=false" << true;
        QTest::newRow("Open Projects") << transferScreen << "Open Projects" << QStringList{"fileManagerBridge.openProjects"}
                                       << folders << "inTransferFlow=true inReenumeration=false" << false;
        QTest::newRow("Open Instruments") << transferScreen << "Open Instruments"
                                          << QStringList{"fileManagerBridge.openInstrumentDefinitions"} << folders
                                          << "inTransferFlow=true inReenumeration=false" << false;
        QTest::newRow("Open MIDI Files") << transferScreen << "Open MIDI Files"
                                         << QStringList{"fileManagerBridge.openMidiFiles"} << folders
                                         << "inTransferFlow=true inReenumeration=false" << false;
        QTest::newRow("Open Grooves") << transferScreen << "Open Grooves" << QStringList{"fileManagerBridge.openGrooves"}
                                      << folders << "inTransferFlow=true inReenumeration=false" << false;
        QTest::newRow("DONE") << transferScreen << "DONE" << QStringList{"fileManagerBridge.completeTransfer"}
                              << "row version" << "inTransferFlow=true inReenumeration=true" << false;
    }

    void buttonHandlers()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, button);
        QFETCH(QStringList, calls);
        QFETCH(QString, shown);
        QFETCH(QString, flags);
        QFETCH(bool, quits);

        QVERIFY(playAll(setup));
        f->objects.clearCalls();
        QSignalSpy quitSpy(&f->driver.engine(), &QQmlEngine::quit);
        // A quit request is only counted here; it must not reach the application.
        QObject::disconnect(&f->driver.engine(), nullptr, QCoreApplication::instance(), nullptr);

        QVERIFY2(f->driver.clickButton(button), qPrintable("not shown: " + button));
        QCOMPARE(f->objects.allCalls(), calls);
        QCOMPARE(shownNow(f->driver), normalised(shown));
        QCOMPARE(flagMismatch(f->driver, flags), QString());
        QCOMPARE(quitSpy.count(), quits ? 1 : 0);
    }

    // A second press of a folder button asks again; each press is one call.
    void folderButtonsRepeat()
    {
        QVERIFY(playAll({"found", "version 1.5.0", "click Transfer", "transferAck", "click Open Grooves",
                         "click Open Grooves", "click Open Projects"}));
        QCOMPARE(f->objects.allCalls(),
                 (QStringList{"midiHandler.sendTransferSysEx", "fileManagerBridge.openGrooves",
                              "fileManagerBridge.openGrooves", "fileManagerBridge.openProjects"}));
    }

    // ------------------------------------------------------------------ signal handlers
    void signalHandlers_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("signal");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("dot");
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QString>("versionLine");
        QTest::addColumn<QString>("infoLine");

        const QStringList home{"found", "version 1.5.0"};
        const QStringList updateScreen{"found", "version 1.5.0", "click Update"};
        const QStringList updating{"found", "version 1.5.0", "click Update", "click Start Update", "download 10"};
        const QStringList connecting{"found", "version 1.5.0", "click Transfer"};
        const QStringList transferScreen = connecting + QStringList{"transferAck"};
        const QStringList finalizing = transferScreen + QStringList{"click DONE"};
        const QString folders = QStringLiteral("row projects definitions midi grooves transferInfo done");
        const QString warning = QStringLiteral(
            "PLEASE MAKE SURE THAT TAVLO IS CONNECTED TO THE BREAKOUT MODULE AND THAT THE MIDI USB PORT IS NOT "
            "CONNECTED TO ANY DEVICE \n \n \n The update will take several minutes and Tavlo might reboot multiple "
            "times during the process. \n \n  DO NOT UNPLUG power or disconnect the Breakout Module until the update "
            "is done");

        // deviceFound(true)
        QTest::newRow("found: home") << QStringList{} << "found" << "row update" << "green"
                                     << "update_started=false" << "" << "";
        QTest::newRow("found: update screen hides Update") << (updateScreen + QStringList{"lost"}) << "found"
                                                            << "row version info start" << "green"
                                                            << "inUpdateFlow=true" << "" << "";
        QTest::newRow("found: connecting keeps buttons") << connecting << "found" << "row version" << "green"
                                                          << "inReenumeration=true" << "" << "";
        QTest::newRow("found: transfer screen keeps buttons") << (transferScreen + QStringList{"lost"}) << "found"
                                                               << folders << "green" << "inTransferFlow=true" << ""
                                                               << "";
        QTest::newRow("found: after Start Update only connects")
            << QStringList{"found", "click Update", "click Start Update", "lost"} << "found"
            << "row version info instructions" << "red" << "update_started=true" << "" << "";
        // deviceFound(false)
        QTest::newRow("lost: home") << home << "lost" << "row instructions" << "red" << "" << "" << "";
        QTest::newRow("lost: connecting ignored") << connecting << "lost" << "row version" << "green"
                                                  << "inReenumeration=true" << "" << "";
        QTest::newRow("lost: finalizing ignored") << finalizing << "lost" << "row version" << "green"
                                                  << "inReenumeration=true" << "" << "";
        QTest::newRow("lost: transfer screen shown") << transferScreen << "lost" << (folders + " instructions")
                                                     << "red" << "inReenumeration=false" << "" << "";
        QTest::newRow("lost: after success ignored") << (updating + QStringList{"copyDone true"}) << "lost"
                                                     << "info exit" << "green" << "" << "" << "";
        // tavloReceivedVersion
        QTest::newRow("version: home, old") << QStringList{"found"} << "version 1.4.9" << "row update" << "green"
                                            << "deviceVersion=1.4.9" << "" << "";
        QTest::newRow("version: home, new") << QStringList{"found"} << "version 1.5.0" << "row update transfer"
                                            << "green" << "deviceVersion=1.5.0" << "" << "";
        QTest::newRow("version: downgrade hides Transfer") << home << "version 1.4.0" << "row update" << "green"
                                                           << "deviceVersion=1.4.0" << "" << "";
        QTest::newRow("version: update screen") << updateScreen << "version 1.6.0" << "row version info start"
                                                << "green" << "deviceVersion=1.6.0" << "" << "";
        QTest::newRow("version: transfer screen") << transferScreen << "version 1.6.0" << folders << "green"
                                                  << "deviceVersion=1.6.0" << "" << "";
        QTest::newRow("version: connecting") << connecting << "version 1.6.0" << "row version" << "green"
                                             << "deviceVersion=1.6.0" << "" << "";
        QTest::newRow("version: updating") << updating << "version 1.6.0" << "row progress info" << "green"
                                           << "deviceVersion=1.6.0" << "" << "";
        // transferSysExReceived / transferSysExEndReceived
        QTest::newRow("transfer acknowledged") << (QStringList{"latest 1.7.0"} + connecting) << "transferAck"
                                               << folders << "green" << "inTransferFlow=true inReenumeration=false"
                                               << kLatestPrefix + "1.7.0" << "";
        QTest::newRow("transfer end acknowledged") << (QStringList{"latest 1.7.0"} + finalizing) << "transferEndAck"
                                                   << "row update transfer" << "green"
                                                   << "inTransferFlow=false inReenumeration=false"
                                                   << kLatestPrefix + "1.7.0" << "";
        // Downloader
        QTest::newRow("latest: hidden line updated") << home << "latest 2.0.1" << "row update transfer" << "green"
                                                     << "latestVersion=2.0.1" << kLatestPrefix + "2.0.1" << "";
        QTest::newRow("latest: shown line updated") << updateScreen << "latest 2.0.1" << "row version info start"
                                                    << "green" << "latestVersion=2.0.1" << kLatestPrefix + "2.0.1"
                                                    << warning;
        QTest::newRow("download progress") << (updateScreen + QStringList{"click Start Update"}) << "download 5"
                                           << "row progress info" << "green" << "" << "" << warning;
        QTest::newRow("versionCheck true") << home << "versionCheck true" << "row update transfer" << "green"
                                           << "update_available=false" << kInstalled
                                           << "The latest version is already installed! You can now close this "
                                              "application.";
        QTest::newRow("versionCheck false") << home << "versionCheck false" << "row update transfer" << "green"
                                            << "update_available=true" << "" << "";
        QTest::newRow("download failed") << updating << "status false Connection refused" << "row info exit"
                                         << "green" << "" << "Download failed!" << "Connection refused";
        QTest::newRow("download retried") << (updating + QStringList{"status false x"}) << "status true Using curl"
                                          << "row info" << "green" << ""
                                          << QString::fromUtf8("Trying a different route now\u2014hang tight...")
                                          << "Using curl";
        // MainController
        QTest::newRow("copy progress") << updating << "copy 33" << "row progress info" << "green" << "" << "" << "";
        QTest::newRow("copy succeeded") << updating << "copyDone true" << "info exit" << "green"
                                        << "inReenumeration=true" << "File transfer complete!"
                                        << "File transfer complete! Tavlo will now reboot to apply the update. You "
                                           "can now close this application.";
        QTest::newRow("copy failed") << updating << "copyDone false" << "row info exit" << "green"
                                     << "inReenumeration=false" << "File transfer failed!"
                                     << "Something went wrong during the file transfer. Please try again or contact "
                                        "support.";
    }

    void signalHandlers()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, signal);
        QFETCH(QString, shown);
        QFETCH(QString, dot);
        QFETCH(QString, flags);
        QFETCH(QString, versionLine);
        QFETCH(QString, infoLine);

        QVERIFY(playAll(setup));
        f->objects.clearCalls();
        QVERIFY2(f->objects.play(signal, f->driver), qPrintable(f->objects.error()));
        QCOMPARE(shownNow(f->driver), normalised(shown));
        QCOMPARE(dotColour(f->driver), QColor(dot).name());
        QCOMPARE(flagMismatch(f->driver, flags), QString());
        if (!versionLine.isEmpty())
            QCOMPARE(f->driver.text("versionText"), versionLine);
        if (!infoLine.isEmpty())
            QCOMPARE(f->driver.text("infoText"), infoLine);
        QCOMPARE(f->objects.allCalls(), QStringList{});
    }

    void versionCheckIsLogged()
    {
        QVERIFY(playAll({"versionCheck true"}));
        QVERIFY(f->messages.infos().contains(kInstalled));
    }

    // The version and the connection may arrive in either order.
    void versionBeforeOrAfterConnection_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("shown");
        QTest::newRow("1.5.0 after") << QStringList{"found", "version 1.5.0"} << "row update transfer";
        QTest::newRow("1.5.0 before") << QStringList{"version 1.5.0", "found"} << "row update transfer";
        QTest::newRow("1.4.9 after") << QStringList{"found", "version 1.4.9"} << "row update";
        QTest::newRow("1.4.9 before") << QStringList{"version 1.4.9", "found"} << "row update";
    }

    void versionBeforeOrAfterConnection()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, shown);
        QVERIFY(playAll(steps));
        QCOMPARE(shownNow(f->driver), normalised(shown));
    }

    // ------------------------------------------------------------------ version rules
    void compareVersions_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("expected");
        QTest::newRow("equal") << "1.5.0" << "1.5.0" << 0;
        QTest::newRow("missing part is 0") << "1.5" << "1.5.0" << 0;
        QTest::newRow("missing part is 0, reversed") << "1.5.0" << "1.5" << 0;
        QTest::newRow("numeric, not text") << "1.10.0" << "1.9.9" << 1;
        QTest::newRow("numeric, reversed") << "1.9.9" << "1.10.0" << -1;
        QTest::newRow("suffix ignored") << "1.5.0-rc" << "1.5.0" << 0;
        QTest::newRow("first part decides") << "2.0" << "1.99.99" << 1;
        QTest::newRow("longer and greater") << "1.5.0.1" << "1.5" << 1;
        QTest::newRow("longer and lesser") << "1.4.9.9" << "1.5" << -1;
        QTest::newRow("leading zeros") << "01.05.00" << "1.5.0" << 0;
        QTest::newRow("eight is decimal") << "1.08" << "1.7" << 1;
        QTest::newRow("text part counts as equal") << "1.x.3" << "1.9.2" << 1;
        QTest::newRow("empty against version") << "" << "1.5.0" << -1;
        QTest::newRow("empty against empty") << "" << "" << 0;
        QTest::newRow("patch lower") << "1.4.9" << "1.5.0" << -1;
    }

    void compareVersions()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, expected);
        QCOMPARE(f->driver.call("compareVersions", {a, b}).toInt(), expected);
    }

    void transferOfferRule_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("offered");
        QTest::newRow("1.4.9") << "1.4.9" << false;
        QTest::newRow("1.5.0") << "1.5.0" << true;
        QTest::newRow("1.5") << "1.5" << true;
        QTest::newRow("1.10") << "1.10" << true;
        QTest::newRow("2.0.0") << "2.0.0" << true;
        QTest::newRow("1.5.0-rc") << "1.5.0-rc" << true;
        QTest::newRow("0.9") << "0.9" << false;
        QTest::newRow("no version yet") << "" << false;
    }

    void transferOfferRule()
    {
        QFETCH(QString, version);
        QFETCH(bool, offered);
        QVERIFY(playAll({"found"}));
        if (!version.isEmpty())
            QVERIFY(playAll({"version " + version}));
        QVERIFY(f->driver.isShown("updateButton"));
        QCOMPARE(f->driver.isShown("transferButton"), offered);
    }

    // ------------------------------------------------------------------ progress
    void progressClamping_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<double>("percentage");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("caption");
        QTest::newRow("download 40") << "download 40" << 40.0 << "downloading" << "40%" << "Downloading...";
        QTest::newRow("download 150") << "download 150" << 100.0 << "downloading" << "100%" << "Downloading...";
        QTest::newRow("download -5") << "download -5" << 0.0 << "downloading" << "0%" << "Downloading...";
        QTest::newRow("download huge") << "download 9223372036854775807" << 100.0 << "downloading" << "100%"
                                       << "Downloading...";
        QTest::newRow("copy 0") << "copy 0" << 0.0 << "transfer" << "0%" << "Transferring...";
        QTest::newRow("copy 150") << "copy 150" << 100.0 << "transfer" << "100%" << "Transferring...";
        QTest::newRow("copy -5") << "copy -5" << 0.0 << "transfer" << "0%" << "Transferring...";
        QTest::newRow("copy 100") << "copy 100" << 100.0 << "transfer" << "100%" << "Transferring...";
    }

    void progressClamping()
    {
        QFETCH(QString, step);
        QFETCH(double, percentage);
        QFETCH(QString, mode);
        QFETCH(QString, number);
        QFETCH(QString, caption);
        QVERIFY(playAll({"found", "click Update", "click Start Update", step}));
        QQuickItem* bar = f->driver.item("genericProgressBar");
        QVERIFY(bar && bar->isVisible());
        QCOMPARE(bar->property("percentage").toDouble(), percentage);
        QCOMPARE(bar->property("mode").toString(), mode);
        QCOMPARE(bar->property("fileName").toString(), QString());
        QCOMPARE(f->driver.item("percentText", bar)->property("text").toString(), number);
        QCOMPARE(f->driver.item("label", bar)->property("text").toString(), caption);
        const QQuickItem* fill = f->driver.item("progressFill", bar);
        const QQuickItem* track = f->driver.item("progressBar", bar);
        QVERIFY(fill && track);
        QCOMPARE(fill->width(), track->width() * percentage / 100.0);
        QVERIFY(!f->driver.isShown("versionText"));
    }

    // While the progress bar is shown the version line sits below it, else below the logo.
    void versionLineFollowsProgressBar()
    {
        QVERIFY(playAll({"found", "click Update"}));
        const QQuickItem* logo = f->driver.item("logoContainer");
        const QQuickItem* version = f->driver.item("versionText");
        QQuickItem* bar = f->driver.item("genericProgressBar");
        const qreal h = f->driver.window()->height();
        QCOMPARE(version->y(), logo->y() + logo->height() + 0.02 * h);
        bar->setVisible(true);
        QCOMPARE(version->y(), bar->y() + bar->height() + 0.02 * h);
    }

    // ------------------------------------------------------------------ loading animation
    void loadingAnimation_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("base");
        QTest::newRow("connecting") << QStringList{"found", "version 1.5.0", "click Transfer"}
                                    << "Connecting to Tavlo";
        QTest::newRow("finalizing")
            << QStringList{"found", "version 1.5.0", "click Transfer", "transferAck", "click DONE"}
            << "Finalizing Transfer";
    }

    void loadingAnimation()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, base);
        QQuickItem* version = f->driver.item("versionText");
        QVERIFY(version);
        QVERIFY(loadingTimer());
        QStringList frames;
        QList<qint64> times;
        QElapsedTimer clock;
        clock.start();

        QVERIFY(playAll(setup));
        QCOMPARE(version->property("text").toString(), base);
        QVERIFY(version->isVisible());
        frames << version->property("text").toString();
        times << clock.elapsed();
        // Sample the text while five ticks go by.
        QString last = frames.constLast();
        while (frames.size() < 6 && clock.elapsed() < 10 * kTick) {
            QTest::qWait(5);
            const QString now = version->property("text").toString();
            if (now != last) {
                frames << now;
                times << clock.elapsed();
                last = now;
            }
        }
        QCOMPARE(frames, (QStringList{base, base + ".", base + "..", base + "...", base, base + "."}));
        for (int i = 1; i < times.size(); ++i) {
            const qint64 step = times.at(i) - times.at(i - 1);
            QVERIFY2(step > 0.4 * kTick && step < 1.6 * kTick,
                     qPrintable(QString("tick %1 took %2 ms").arg(i).arg(step)));
        }
    }

    // The acknowledgment stops the dots; the text does not change afterwards.
    void loadingStopsOnAcknowledgment()
    {
        QVERIFY(loadingTimer());
        QVERIFY(playAll({"latest 1.8.0", "found", "version 1.5.0", "click Transfer"}));
        // Two ticks and a bit, so that the acknowledgment comes with dots shown.
        QTest::qWait(2 * kTick + kTick / 5);
        QCOMPARE(f->driver.root()->property("_loadingDots").toInt(), 2);
        QVERIFY(playAll({"transferAck"}));
        QCOMPARE(f->driver.root()->property("_loadingDots").toInt(), 0);
        const QString stopped = f->driver.text("versionText");
        QCOMPARE(stopped, kLatestPrefix + "1.8.0");
        QTest::qWait(2 * kTick + kTick / 2);
        QCOMPARE(f->driver.text("versionText"), stopped);
        // DONE starts a fresh cycle from the base text.
        QVERIFY(playAll({"click DONE"}));
        QCOMPARE(f->driver.text("versionText"), QStringLiteral("Finalizing Transfer"));
    }

    // ------------------------------------------------------------------ enabled while disconnected
    void disabledWhileDisconnected_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("call");
        QTest::addColumn<bool>("followsConnection");
        const QStringList transferLost{"found", "version 1.5.0", "click Transfer", "transferAck", "lost"};
        QTest::newRow("Start Update") << QStringList{"found", "click Update", "lost"} << "Start Update"
                                      << "downloader.downloadFile" << true;
        QTest::newRow("Open Projects") << transferLost << "Open Projects" << "fileManagerBridge.openProjects" << true;
        QTest::newRow("Open Instruments") << transferLost << "Open Instruments"
                                          << "fileManagerBridge.openInstrumentDefinitions" << true;
        QTest::newRow("Open MIDI Files") << transferLost << "Open MIDI Files" << "fileManagerBridge.openMidiFiles"
                                         << true;
        QTest::newRow("Open Grooves") << transferLost << "Open Grooves" << "fileManagerBridge.openGrooves" << true;
        QTest::newRow("DONE") << transferLost << "DONE" << "fileManagerBridge.completeTransfer" << true;
        QTest::newRow("EXIT stays enabled")
            << QStringList{"found", "click Update", "click Start Update", "status false no route", "lost"} << "EXIT"
            << "" << false;
    }

    void disabledWhileDisconnected()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, button);
        QFETCH(QString, call);
        QFETCH(bool, followsConnection);
        QObject::disconnect(&f->driver.engine(), nullptr, QCoreApplication::instance(), nullptr);

        QVERIFY(playAll(setup));
        f->objects.clearCalls();
        QQuickItem* target = f->driver.button(button);
        QVERIFY(target && target->isVisible());
        QCOMPARE(dotColour(f->driver), QColor("red").name());
        if (!followsConnection) {
            QVERIFY(target->isEnabled());
            QCOMPARE(target->opacity(), 1.0);
            return;
        }
        QVERIFY(!target->isEnabled());
        QCOMPARE(target->opacity(), 0.5);
        QVERIFY(f->driver.click(target));
        QCOMPARE(f->objects.allCalls(), QStringList{});

        QVERIFY(playAll({"found"}));
        QVERIFY(target->isEnabled());
        QCOMPARE(target->opacity(), 1.0);
        QVERIFY(f->driver.click(target));
        QCOMPARE(f->objects.allCalls(), QStringList{call});
    }

    // ------------------------------------------------------------------ layout
    void layoutFollowsWindow_data()
    {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::newRow("minimum") << 360 << 750;
        QTest::newRow("between") << 450 << 900;
        QTest::newRow("maximum") << 540 << 1080;
    }

    void layoutFollowsWindow()
    {
        QFETCH(int, w);
        QFETCH(int, h);
        QQuickWindow* window = f->driver.window();
        QCOMPARE(window->minimumSize(), QSize(360, 750));
        QCOMPARE(window->maximumSize(), QSize(540, 1080));
        window->resize(w, h);
        QTRY_COMPARE(window->width(), w);
        QTRY_COMPARE(window->height(), h);
        const qreal l = 0.5 * w;
        const QQuickItem* logo = f->driver.item("logoContainer");
        QTRY_COMPARE(logo->width(), l);
        QCOMPARE(logo->height(), l);
        QCOMPARE(logo->y(), 0.08 * h);
        // Centring snaps to whole pixels.
        QVERIFY(qAbs(logo->x() + l / 2 - w / 2.0) <= 1);
        const qreal logoBottom = logo->y() + l;

        struct Expected
        {
            const char* name;
            qreal top;
            qreal height; // < 0: not checked
        };
        const QQuickItem* update = f->driver.item("updateButton");
        const QQuickItem* projects = f->driver.item("openProjectsButton");
        const QQuickItem* info = f->driver.item("infoText");
        const QQuickItem* version = f->driver.item("versionText");
        const Expected expected[] = {
            {"updateButton", logoBottom + 0.1 * h, l / 3},
            {"transferButton", update->y() + update->height() + 0.02 * h, l / 3},
            {"genericProgressBar", logoBottom + 0.01 * h, 120},
            {"versionText", logoBottom + 0.02 * h, l / 2},
            {"infoText", version->y() + version->height() + 0.1 * h, l / 4},
            {"infoConnectText", logoBottom + 0.08 * h, -1},
            {"startUpdateButton", info->y() + info->height() + 0.2 * h, l / 3},
            {"closeApplicationButton", info->y() + info->height() + 0.2 * h, l / 3},
            {"openProjectsButton", logoBottom + 0.08 * h, l / 3.2},
            {"openDefinitionsButton", projects->y() + projects->height() + 0.01 * h, l / 3.2},
        };
        for (const Expected& e : expected) {
            const QQuickItem* item = f->driver.item(e.name);
            QVERIFY2(item, e.name);
            QVERIFY2(qFuzzyCompare(item->y() + 1, e.top + 1), qPrintable(QString("%1 top %2, expected %3")
                                                                             .arg(e.name).arg(item->y()).arg(e.top)));
            QVERIFY2(qFuzzyCompare(item->width(), l), e.name);
            QVERIFY2(qAbs(item->x() + l / 2 - w / 2.0) <= 1, e.name);
            if (e.height >= 0)
                QVERIFY2(qFuzzyCompare(item->height(), e.height), e.name);
        }
        // Captions in whole pixels, rounded down.
        const std::pair<const char*, int> captions[] = {
            {"updateButton", int(l / 3 * 0.35)},
            {"startUpdateButton", int(l / 3 * 0.25)},
            {"closeApplicationButton", int(l / 3 * 0.25)},
            {"versionText", int(l / 2 * 0.15)},
            {"infoText", int(l / 4 * 0.21)},
            {"infoConnectText", qMax(int(l * 0.038), 11)},
            {"transferInfoText", qMax(int(l * 0.04), 12)},
        };
        for (const auto& [name, pixels] : captions)
            QVERIFY2(f->driver.item(name)->property("font").value<QFont>().pixelSize() == pixels, name);
        const QQuickItem* projectsCaption = qvariant_cast<QQuickItem*>(projects->property("contentItem"));
        QCOMPARE(projectsCaption->property("font").value<QFont>().pixelSize(), qMax(int(l / 3.2 * 0.22), 9));

        const QQuickItem* dot = f->driver.item("connectionIndication");
        QCOMPARE(dot->width(), 0.055 * l);
        QCOMPARE(dot->height(), 0.055 * l);
        const QQuickItem* label = f->driver.item("connectionlabel");
        QCOMPARE(label->property("font").value<QFont>().pixelSize(), qMax(9, qRound(0.06 * l)));
        const QQuickItem* row = f->driver.item("dotAndLabelRow");
        QVERIFY(row->width() <= 0.8 * l + 0.001);
        QCOMPARE(row->height(), 0.18 * l);
        QCOMPARE(row->mapToItem(logo, QPointF(0, 0)).y(), l + 10);
    }
};

QTEST_MAIN(WindowFlowsTest)
#include "tst_ui_window_flows.moc"
