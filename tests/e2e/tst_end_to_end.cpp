// The whole program through its real window, against the simulated instrument and the local
// release server, with the program's real timings. Each test function is one scenario a user
// meets; CTest runs them as separate processes, in parallel.

#include "EndToEndRig.h"

#include "storage/full/FileManager.h"
#include "SysExMessages.h"
#include "TestTimings.h"

#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>

#include <thread>

namespace {

QByteArray bytesOf(const SysEx::Message& message)
{
    return QByteArray(reinterpret_cast<const char*>(message.data()), int(message.size()));
}

const QString kLatestLine = QStringLiteral("The latest available version is Tvx1.6.0");

} // namespace

class EndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void updateFromStartToFinish();
    void transferOpensFoldersAndReturnsHome();
    void catalogueUnreachableOffersNothing();
    void failedDownloadRecoversThroughFallback();
    void failedDownloadAndFallbackShowFailure();
    void volumeNeverMountsShowsFailure();
    void instrumentUnpluggedDuringTransferWait();
    void unacknowledgedTransferStillOpensTransferScreen();
    void catalogueAtHandBeforeWindowReachesWindow();
};

#define START_RIG(rig)                                                                             \
    EndToEndRig rig;                                                                               \
    QVERIFY2(rig.serve(), qPrintable(rig.error()));                                                \
    QVERIFY2(rig.start(), qPrintable(rig.error()));                                                \
    rig.instrument().plugIn()

void EndToEnd::updateFromStartToFinish()
{
    START_RIG(rig);
    WindowDriver& w = rig.window();

    // The MidiHandler hears the copy's result before the window does.
    QStringList order;
    connect(&rig.program().midiHandler(), &MidiHandler::updateTransferDone, this,
            [&order] { order << QStringLiteral("midiHandler"); });
    connect(&rig.program().mainController(), &MainController::fileTransferComplete, this,
            [&order](bool) { order << QStringLiteral("window"); });
    QSignalSpy applied(&rig.instrument(), &SimInstrument::updateApplied);
    QSignalSpy progress(&rig.program().mainController(), &MainController::copyingFileProgress);

    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("updateButton")), 5000);
    QCOMPARE(w.text(QStringLiteral("connectionlabel")), QStringLiteral("Tavlo is connected"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.instrument().midi().receivedMessages().size(), 1, 3000);

    QVERIFY(w.clickButton(QStringLiteral("Update")));
    QTRY_COMPARE(w.text(QStringLiteral("versionText")), kLatestLine);
    QVERIFY(w.isShown(QStringLiteral("infoText")));
    QVERIFY(w.clickButton(QStringLiteral("Start Update")));

    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("genericProgressBar")), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(w.text(QStringLiteral("versionText")),
                              QStringLiteral("File transfer complete!"), 30000);
    QCOMPARE(w.text(QStringLiteral("infoText")),
             QStringLiteral("File transfer complete! Tavlo will now reboot to apply the update. "
                            "You can now close this application."));
    QVERIFY(w.isShown(QStringLiteral("closeApplicationButton")));
    QVERIFY(!w.isShown(QStringLiteral("dotAndLabelRow")));
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.last().at(0).toInt(), 100);
    QCOMPARE(order, (QStringList{QStringLiteral("midiHandler"), QStringLiteral("window")}));

    // The instrument comes back, hears the update-finish message and applies the file.
    QTRY_COMPARE_WITH_TIMEOUT(applied.size(), 1, 30000);
    const auto updates = rig.instrument().appliedUpdates();
    QCOMPARE(updates.size(), 1);
    QVERIFY(updates.first().bytes == rig.updateFile());
    QCOMPARE(rig.instrument().firmwareVersion(), QStringLiteral("1.6.0"));
    QCOMPARE(rig.sentCount(bytesOf(SysEx::MIDI_SYSEX_UPDATE_MODE)), 1);
    QCOMPARE(rig.sentCount(bytesOf(SysEx::MIDI_SYSEX_UPDATE_FINISH)), 3);
    QCOMPARE(rig.instrument().midi().updateFinishCount(), 3);

    // Losing the instrument while it reboots changes nothing on screen.
    QTRY_VERIFY_WITH_TIMEOUT(rig.instrument().midi().isOnBus(), 15000);
    QCOMPARE(w.text(QStringLiteral("versionText")), QStringLiteral("File transfer complete!"));
    QVERIFY(!w.isShown(QStringLiteral("updateButton")));
}

void EndToEnd::transferOpensFoldersAndReturnsHome()
{
    START_RIG(rig);
    WindowDriver& w = rig.window();
    QSignalSpy ended(&rig.program().midiHandler(), &MidiHandler::transferSysExEndReceived);

    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("transferButton")), 5000);
    QVERIFY(w.clickButton(QStringLiteral("Transfer")));
    QVERIFY(!w.isShown(QStringLiteral("updateButton")));
    QTRY_VERIFY(w.text(QStringLiteral("versionText")).startsWith(QLatin1String("Connecting to Tavlo")));

    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("openProjectsButton")), 15000);
    QVERIFY(w.isShown(QStringLiteral("transferInfoText")));
    const QString root = rig.instrument().storage().rootPath(QStringLiteral("TAVLO"));
    QVERIFY(!root.isEmpty());

    const QList<QPair<QString, QString>> buttons{
        {QStringLiteral("Open Projects"), QStringLiteral("projects")},
        {QStringLiteral("Open Instruments"), QStringLiteral("instrument_definitions")},
        {QStringLiteral("Open MIDI Files"), QStringLiteral("MIDI_Clips")},
        {QStringLiteral("Open Grooves"), QStringLiteral("grooves")},
    };
    for (const auto& [text, folder] : buttons) {
        const int before = rig.instrument().storage().openedFolders().size();
        QVERIFY2(w.clickButton(text), qPrintable(text));
        QTRY_COMPARE(rig.instrument().storage().openedFolders().size(), before + 1);
        QCOMPARE(rig.instrument().storage().openedFolders().last(),
                 QUrl::fromLocalFile(QDir(root).filePath(folder)));
    }

    QSignalSpy dismounted(&rig.instrument().storage(), &SimulatedStorage::volumeDismounted);
    QVERIFY(w.clickButton(QStringLiteral("DONE")));
    QVERIFY(!w.isShown(QStringLiteral("openProjectsButton")));
    QVERIFY(!w.isShown(QStringLiteral("completeTransferButton")));
    QTRY_COMPARE(dismounted.size(), 1);
    QCOMPARE(dismounted.first().at(0).toString(), QStringLiteral("TAVLO"));
    QTRY_VERIFY(w.text(QStringLiteral("versionText")).startsWith(QLatin1String("Finalizing Transfer")));

    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("updateButton")), 20000);
    QVERIFY(w.isShown(QStringLiteral("transferButton")));
    QVERIFY(!w.isShown(QStringLiteral("versionText")));
    QCOMPARE(ended.size(), 1);
    QCOMPARE(rig.instrument().midi().mode(), SimMidiInstrument::Mode::Normal);
    QCOMPARE(w.text(QStringLiteral("connectionlabel")), QStringLiteral("Tavlo is connected"));
}

void EndToEnd::catalogueUnreachableOffersNothing()
{
    EndToEndRig rig;
    rig.server().setResponse("GET", QStringLiteral("/releases/releases.json"),
                             ReleaseServer::Response::error(500));
    QVERIFY2(rig.serve(), qPrintable(rig.error()));
    rig.server().setResponse("GET", QStringLiteral("/releases/releases.json"),
                             ReleaseServer::Response::error(500));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    rig.instrument().plugIn();
    WindowDriver& w = rig.window();

    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("updateButton")), 5000);
    QTRY_COMPARE(rig.server().countRequests("GET", QStringLiteral("/releases/releases.json")), 1);
    QVERIFY(w.clickButton(QStringLiteral("Update")));
    // Said at once instead of waiting for good.
    QCOMPARE(w.text(QStringLiteral("versionText")),
             QStringLiteral("The latest version could not be found."));
    QVERIFY(w.clickButton(QStringLiteral("Start Update")));
    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("tryAgainButton")), 5000);
    QVERIFY(w.isShown(QStringLiteral("closeApplicationButton")));
    QCOMPARE(w.text(QStringLiteral("versionText")), QStringLiteral("Download failed!"));
    // The reason, said once: in the notice, not again under it.
    QVERIFY2(w.text(QStringLiteral("infoText")).contains(QStringLiteral("500")),
             qPrintable(w.text(QStringLiteral("infoText"))));
    QVERIFY(!w.isShown(QStringLiteral("failureReasonText")));
    QCOMPARE(rig.server().countRequests("HEAD", rig.filePath()), 0);
    QCOMPARE(rig.server().countRequests("GET", rig.filePath()), 0);
    QCOMPARE(rig.sentCount(bytesOf(SysEx::MIDI_SYSEX_UPDATE_MODE)), 0);
    QVERIFY(!w.isShown(QStringLiteral("genericProgressBar")));

    // "Try again" once the server is back: the catalogue arrives, the update goes through.
    QCOMPARE(rig.server().countRequests("GET", QStringLiteral("/releases/releases.json")), 2);
    rig.server().setCatalogue(rig.catalogue());
    QVERIFY(w.clickButton(QStringLiteral("Try again")));
    QVERIFY(!w.isShown(QStringLiteral("tryAgainButton")));
    QVERIFY(!w.isShown(QStringLiteral("failureReasonText")));
    QVERIFY(w.isShown(QStringLiteral("startUpdateButton")));
    QVERIFY(w.clickButton(QStringLiteral("Start Update")));
    QTRY_VERIFY_WITH_TIMEOUT(rig.server().countRequests("GET", rig.filePath()) == 1, 5000);
}

void EndToEnd::failedDownloadRecoversThroughFallback()
{
    START_RIG(rig);
    WindowDriver& w = rig.window();
    // The program's own download fails once; curl then fetches the file.
    rig.server().queueResponse("GET", rig.filePath(), ReleaseServer::Response::error(500));
    QSignalSpy status(&rig.program().downloader(), &Downloader::downloadStatus);
    QSignalSpy applied(&rig.instrument(), &SimInstrument::updateApplied);

    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("updateButton")), 5000);
    QVERIFY(w.clickButton(QStringLiteral("Update")));
    QTRY_COMPARE(w.text(QStringLiteral("versionText")), kLatestLine);
    QVERIFY(w.clickButton(QStringLiteral("Start Update")));

    QTRY_VERIFY_WITH_TIMEOUT(status.size() >= 2, 20000);
    QCOMPARE(status.at(0).at(1).toString(), QStringLiteral("Hmm, the download didn\u2019t go through"));
    QCOMPARE(status.at(1).at(1).toString(), QStringLiteral("Download completed"));
    QCOMPARE(status.at(1).at(0).toBool(), true);
    QTRY_COMPARE_WITH_TIMEOUT(w.text(QStringLiteral("versionText")),
                              QStringLiteral("File transfer complete!"), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(applied.size(), 1, 30000);
    QVERIFY(rig.instrument().appliedUpdates().first().bytes == rig.updateFile());
}

void EndToEnd::failedDownloadAndFallbackShowFailure()
{
    START_RIG(rig);
    WindowDriver& w = rig.window();
    rig.server().setResponse("GET", rig.filePath(), ReleaseServer::Response::error(500));

    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("updateButton")), 5000);
    QVERIFY(w.clickButton(QStringLiteral("Update")));
    QTRY_COMPARE(w.text(QStringLiteral("versionText")), kLatestLine);
    QVERIFY(w.clickButton(QStringLiteral("Start Update")));

    QTRY_COMPARE_WITH_TIMEOUT(w.text(QStringLiteral("versionText")), QStringLiteral("Download failed!"),
                              20000);
    QVERIFY(w.text(QStringLiteral("infoText")).startsWith(QLatin1String("Fallback failed: ")));
    QVERIFY(w.isShown(QStringLiteral("infoText")));
    QVERIFY(w.isShown(QStringLiteral("closeApplicationButton")));
    // Nothing was handed to the instrument: it was never switched into update mode.
    QTest::qWait(500);
    QCOMPARE(rig.sentCount(bytesOf(SysEx::MIDI_SYSEX_UPDATE_MODE)), 0);
    QCOMPARE(rig.instrument().midi().mode(), SimMidiInstrument::Mode::Normal);
}

void EndToEnd::volumeNeverMountsShowsFailure()
{
    START_RIG(rig);
    WindowDriver& w = rig.window();
    rig.instrument().storage().setNeverMounts(true);
    QSignalSpy result(&rig.program().mainController(), &MainController::fileTransferComplete);

    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("updateButton")), 5000);
    QVERIFY(w.clickButton(QStringLiteral("Update")));
    QTRY_COMPARE(w.text(QStringLiteral("versionText")), kLatestLine);
    QVERIFY(w.clickButton(QStringLiteral("Start Update")));

    // Five retries three seconds apart, then the failure.
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 1, 30000);
    QCOMPARE(result.first().at(0).toBool(), false);
    QTRY_COMPARE(w.text(QStringLiteral("versionText")), QStringLiteral("File transfer failed!"));
    QCOMPARE(w.text(QStringLiteral("infoText")),
             QStringLiteral("Something went wrong during the file transfer. Please try again or "
                            "contact support."));
    QVERIFY(w.isShown(QStringLiteral("closeApplicationButton")));
    QCOMPARE(rig.sentCount(bytesOf(SysEx::MIDI_SYSEX_UPDATE_FINISH)), 0);
}

void EndToEnd::instrumentUnpluggedDuringTransferWait()
{
    START_RIG(rig);
    WindowDriver& w = rig.window();
    QSignalSpy finished(&rig.program().midiHandler(), &MidiHandler::deviceReenumerationFinished);
    QSignalSpy ack(&rig.program().midiHandler(), &MidiHandler::transferSysExReceived);

    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("transferButton")), 5000);
    QVERIFY(w.clickButton(QStringLiteral("Transfer")));
    // The instrument leaves for transfer mode and is unplugged before it comes back.
    QTRY_VERIFY(!rig.instrument().midi().isOnBus());
    rig.instrument().unplug();

    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 15000);
    QCOMPARE(finished.first().at(0).toBool(), false);
    QCOMPARE(ack.size(), 0);
    QTest::qWait(600);
    // The window keeps waiting: the animation runs, no transfer screen, no red dot.
    QVERIFY(w.text(QStringLiteral("versionText")).startsWith(QLatin1String("Connecting to Tavlo")));
    QVERIFY(!w.isShown(QStringLiteral("openProjectsButton")));
    QCOMPARE(w.text(QStringLiteral("connectionlabel")), QStringLiteral("Tavlo is connected"));
}

void EndToEnd::unacknowledgedTransferStillOpensTransferScreen()
{
    START_RIG(rig);
    WindowDriver& w = rig.window();
    rig.instrument().midi().setReactionEnabled(SimMidiInstrument::Reaction::AcknowledgeTransferMessage,
                                               false);
    QSignalSpy finished(&rig.program().midiHandler(), &MidiHandler::deviceReenumerationFinished);

    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("transferButton")), 5000);
    QVERIFY(w.clickButton(QStringLiteral("Transfer")));
    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("openProjectsButton")), 20000);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().at(0).toBool(), true);
    // One immediate request, then three resends after the instrument came back.
    QCOMPARE(rig.sentCount(bytesOf(SysEx::MIDI_SYSEX_TRANSFER_START)), 4);
}

void EndToEnd::catalogueAtHandBeforeWindowReachesWindow()
{
    EndToEndRig rig;
    QVERIFY2(rig.serve(), qPrintable(rig.error()));
    // The first wiring phase requests the catalogue; give the reply time to arrive while no
    // event is processed, then bring up the window.
    FullEditionWiring wiring(rig.instrument().platform(), rig.server().baseUrl(), TestTimings::fast());
    QSignalSpy fetched(&wiring.downloader(), &Downloader::latestVersionFetched);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    WindowDriver w;
    wiring.publish(w.engine());
    w.engine().load(QUrl(QStringLiteral("qrc:/Tavlo_App/main.qml")));
    QCOMPARE(fetched.size(), 0);
    QVERIFY(w.adopt());
    QTRY_COMPARE(fetched.size(), 1);
    // The window's handler saw it: "Update" shows the version on offer.
    rig.instrument().plugIn();
    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("updateButton")), 5000);
    QVERIFY(w.clickButton(QStringLiteral("Update")));
    QCOMPARE(w.text(QStringLiteral("versionText")), kLatestLine);
}

QTEST_MAIN(EndToEnd)
#include "tst_end_to_end.moc"
