// The main window's flows, driven through stand-ins of the four published objects: the
// button handlers, the signal handlers and the screens one after another.

#include "MainWindowFixture.h"
#include "WindowExpectations.h"

#include <QGuiApplication>
#include <QQuickItem>
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
using namespace WindowExpectations;

namespace {

const QString kLatestPrefix = QStringLiteral("The latest available version is Tvx");
const QString kInstalled = QStringLiteral("The latest version is already installed!");

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

    std::unique_ptr<MainWindowFixture> f;

    bool playAll(const QStringList& steps) { return f->playAll(steps); }

private slots:
    void init()
    {
        f = std::make_unique<MainWindowFixture>();
        QVERIFY(f->load());
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
            {"copy 70", "row progress info", green, connected, ""},
            {"copyDone true", "info exit", green, connected, "File transfer complete!"},
            {"lost", "info exit", green, connected, "File transfer complete!"},
        };
        // Unplugged while the download runs: it is cancelled, the window waits for the
        // instrument again, and its return offers "Update" afresh.
        QTest::newRow("unplugged during the download") << QList<Checkpoint>{
            {"found", "row update", green, connected, ""},
            {"version 1.5.0", "row update transfer", green, connected, ""},
            {"latest 1.6.0", "row update transfer", green, connected, kLatestPrefix + "1.6.0"},
            {"click Update", "row version info start", green, connected, kLatestPrefix + "1.6.0"},
            {"click Start Update", "row version info", green, connected, ""},
            {"download 40", "row progress info", green, connected, ""},
            {"lost", "row instructions", red, notConnected, ""},
            {"found", "row update transfer", green, connected, ""},
            {"click Update", "row version info start", green, connected, kLatestPrefix + "1.6.0"},
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
                                             << QStringList{} << "row version info exit" << ""
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
        // Unplugged after Start Update: back to waiting, and the return offers Update afresh.
        QTest::newRow("found: after an unplug during the update offers Update")
            << QStringList{"found", "click Update", "click Start Update", "lost"} << "found"
            << "row update" << "green" << "update_started=false" << "" << "";
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
        QTest::newRow("download retried") << (updating + QStringList{"download 60"}) << "status true Using curl"
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
};

QTEST_MAIN(WindowFlowsTest)
#include "tst_ui_window_flows.moc"
