// The rules of the flows, whatever window shows them: each row plays reports and presses
// onto one edition's flows (FlowScript) and compares what the window would show, and the
// calls the flows made, with what the row expects.

#include "FlowScript.h"

#include <QSignalSpy>
#include <QTest>

namespace {
const QStringList kHome{"found", "version 1.5.2", "latest 1.6.0"};
const QStringList kStarted = kHome + QStringList{"open", "start"};
const QStringList kCopying = kStarted + QStringList{"download 100", "downloaded", "copy 75"};
const QStringList kInTransfer = kHome + QStringList{"transfer", "ack"};
const QString kWarning = QStringLiteral("PLEASE MAKE SURE THAT TA");
} // namespace

class FlowsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fullEdition_data();
    void fullEdition() { check(UpdateFlowPolicy::fullEdition()); }
    void updateOnlyEdition_data();
    void updateOnlyEdition() { check(UpdateFlowPolicy::updateOnlyEdition()); }
    void lineTexts();
    void interruptedUpdate_data();
    void interruptedUpdate();
    void changedOncePerTurn_data();
    void changedOncePerTurn();

private:
    static void columns();
    static void check(const UpdateFlowPolicy& policy);
};

void FlowsTest::columns()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("calls");
}

void FlowsTest::check(const UpdateFlowPolicy& policy)
{
    QFETCH(QStringList, steps);
    QFETCH(QString, shown);
    QFETCH(QStringList, calls);
    FlowScript script(policy);
    QVERIFY2(script.play(steps), qPrintable(script.error()));
    QCOMPARE(script.shown(), shown);
    QCOMPARE(script.calls, calls);
}

// An instrument that waits in update mode from an update that was cut off: looked for each
// time it is found while nothing runs, offered in place of Update and Transfer, and finished
// without a second update-mode message by whatever starts next.
void FlowsTest::interruptedUpdate_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("looks");
    QTest::addColumn<QStringList>("starts");
    const QStringList none;
    const QStringList found{"found", "version 1.5.2", "latest 1.6.0"};
    QTest::newRow("found: looked for") << found << "Idle Latest | - | update transfer | green" << 1 << none;
    QTest::newRow("no update volume") << found + QStringList{"volume no"}
                                      << "Idle Latest | - | update transfer | green" << 1 << none;
    QTest::newRow("its update volume: the offer") << found + QStringList{"volume yes"}
                                                  << "Idle Latest | - | finish | green" << 1 << none;
    QTest::newRow("an answer after a loss is dropped") << found + QStringList{"lost", "volume yes"}
                                                       << "Idle Latest | - | - | red" << 1 << none;
    QTest::newRow("lost: the offer goes") << found + QStringList{"volume yes", "lost"}
                                          << "Idle Latest | - | - | red" << 1 << none;
    QTest::newRow("found again: looked for again") << found + QStringList{"volume yes", "lost", "found", "volume no"}
                                                   << "Idle Latest | - | update transfer | green" << 2 << none;
    QTest::newRow("finish: no update-mode message")
        << found + QStringList{"volume yes", "finish"} << "Downloading Latest | " + kWarning + " | - | green" << 1
        << QStringList{"in update mode"};
    QTest::newRow("a start while offered finishes it (tavlo)")
        << found + QStringList{"volume yes", "open", "start"} << "Downloading Latest | " + kWarning + " | - | green" << 1
        << QStringList{"in update mode"};
    QTest::newRow("then an ordinary update again")
        << found + QStringList{"volume yes", "finish", "status fail Network down", "retry", "start"}
        << "Downloading Latest | " + kWarning + " | - | green" << 1 << QStringList{"in update mode", "normal"};
    QTest::newRow("not looked for while an update runs")
        << found + QStringList{"open", "start", "found"} << "Downloading Latest | " + kWarning + " | - | green" << 1
        << QStringList{"normal"};
    QTest::newRow("a finish not offered does nothing") << found + QStringList{"finish"}
                                                       << "Idle Latest | - | update transfer | green" << 1 << none;
}

void FlowsTest::interruptedUpdate()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, shown);
    QFETCH(int, looks);
    QFETCH(QStringList, starts);
    FlowScript script(UpdateFlowPolicy::fullEdition());
    QVERIFY2(script.play(steps), qPrintable(script.error()));
    QCOMPARE(script.shown(), shown);
    QCOMPARE(script.looks, looks);
    QCOMPARE(script.starts, starts);
}

void FlowsTest::fullEdition_data()
{
    columns();
    const QStringList none;
    const QStringList download{"downloadFile"};
    // The home screen and the transfer threshold.
    QTest::newRow("at start") << QStringList{} << "Idle Looking | - | - | orange" << none;
    QTest::newRow("found, no version yet") << QStringList{"found"} << "Idle Looking | - | update | green" << none;
    QTest::newRow("1.5.0 offers transfer") << QStringList{"found", "version 1.5.0"}
                                           << "Idle Looking | - | update transfer | green" << none;
    QTest::newRow("version before found") << QStringList{"version 1.10", "found"}
                                          << "Idle Looking | - | update transfer | green" << none;
    QTest::newRow("1.4.9 offers no transfer") << QStringList{"found", "version 1.4.9"}
                                              << "Idle Looking | - | update | green" << none;
    QTest::newRow("a release candidate of 1.5.0 offers it")
        << QStringList{"found", "version 1.5.0-rc"} << "Idle Looking | - | update transfer | green" << none;
    QTest::newRow("lost") << QStringList{"found", "version 1.5.0", "lost"} << "Idle Looking | - | - | red" << none;

    // The update screen.
    QTest::newRow("update screen before the catalogue") << QStringList{"found", "open"}
        << "Choosing Looking | " + kWarning + " | start | green" << none;
    QTest::newRow("the catalogue arrives") << QStringList{"found", "open", "latest 1.6.0"}
        << "Choosing Latest | " + kWarning + " | start | green" << none;
    QTest::newRow("catalogue unavailable") << QStringList{"found", "reason Server down", "open"}
        << "Choosing NotFound | " + kWarning + " | start | green" << none;
    QTest::newRow("already installed") << QStringList{"found", "installed", "open"}
        << "Choosing AlreadyInstalled | The latest version is al | exit | green" << none;
    QTest::newRow("lost on the update screen: start dimmed") << QStringList{"found", "open", "lost"}
        << "Choosing Looking | " + kWarning + " | start(dim) | red" << none;
    QTest::newRow("a dimmed start starts nothing") << QStringList{"found", "open", "lost", "start"}
        << "Choosing Looking | " + kWarning + " | start(dim) | red" << none;
    QTest::newRow("no update screen in transfer mode") << kInTransfer + QStringList{"open"}
        << "Idle Latest Open | - | folders | green" << QStringList{"sendTransferSysEx"};

    // The download.
    QTest::newRow("progress clamped above") << kStarted + QStringList{"download 150"}
        << "Downloading Latest 100% | " + kWarning + " | - | green" << download;
    QTest::newRow("progress clamped below") << kStarted + QStringList{"download -5"}
        << "Downloading Latest 0% | " + kWarning + " | - | green" << download;
    QTest::newRow("a failure says its reason once") << kStarted + QStringList{"reason Server says 500", "status fail Server says 500"}
        << "Failed DownloadFailed | Server says 500 | exit retry | green" << download;
    QTest::newRow("a failure with a reason of its own") << kStarted + QStringList{"reason Timed out", "status fail Network down"}
        << "Failed DownloadFailed | Network down / Timed out | exit retry | green" << download;
    QTest::newRow("the other route") << kStarted + QStringList{"download 40", "status ok Hmm"}
        << "OtherRoute OtherRoute | Hmm | - | green" << download;
    QTest::newRow("the other route fails") << kStarted + QStringList{"status ok Hmm", "status fail Fallback failed"}
        << "Failed DownloadFailed | Fallback failed | exit retry | green" << download;
    QTest::newRow("try again") << kStarted + QStringList{"status fail Network down", "retry"}
        << "Choosing Latest | " + kWarning + " | start | green" << download;
    QTest::newRow("try again, start again") << kStarted + QStringList{"status fail Network down", "retry", "start"}
        << "Downloading Latest | " + kWarning + " | - | green" << QStringList{"downloadFile", "downloadFile"};
    QTest::newRow("unplugged while downloading: back to waiting") << kStarted + QStringList{"download 40", "lost"}
        << "Idle Latest | - | - | red" << download;
    QTest::newRow("and found again: Update afresh") << kStarted + QStringList{"download 40", "lost", "found"}
        << "Idle Latest | - | update transfer | green" << download;
    QTest::newRow("found while downloading changes nothing") << kStarted + QStringList{"lost", "found", "open", "start", "found"}
        << "Downloading Latest | " + kWarning + " | - | green" << QStringList{"downloadFile", "downloadFile"};

    // The copy and its end.
    QTest::newRow("copying") << kCopying << "Copying Latest 75% | " + kWarning + " | - | green" << download;
    const QString waiting = "Succeeded Complete | File transfer complete! + Waiting for Tavlo to restart with fi | exit | hidden";
    QTest::newRow("copied") << kCopying + QStringList{"copied"} << waiting << download;
    QTest::newRow("copied: the reboot is not a loss") << kCopying + QStringList{"copied", "lost", "found"}
        << waiting << download;

    // The instrument's return after the update.
    const QString confirmed = "Succeeded Complete | File transfer complete! + Tavlo now runs firmware 1.6.0. | exit | hidden";
    const QString notApplied = "Failed NotApplied | - / Tavlo came back with fir | exit retry | hidden";
    QTest::newRow("back with the new firmware") << kCopying + QStringList{"copied", "lost", "found", "version 1.6.0"}
        << confirmed << download;
    QTest::newRow("a report before the copy ends confirms nothing")
        << kCopying + QStringList{"version 1.6.0", "copied"} << waiting << download;
    QTest::newRow("back with the old firmware") << kCopying + QStringList{"copied", "version 1.5.2", "elapse 250"}
        << notApplied << download;
    QTest::newRow("the old firmware, then a reboot brings the new")
        << kCopying + QStringList{"copied", "version 1.5.2", "version 1.6.0", "elapse 450"} << confirmed << download;
    QTest::newRow("the old firmware twice") << kCopying + QStringList{"copied", "version 1.5.2", "version 1.5.2", "elapse 250"}
        << notApplied << download;
    QTest::newRow("never back") << kCopying + QStringList{"copied", "elapse 450"}
        << "Failed NotConfirmed | - / Tavlo did not come back | exit retry | hidden" << download;
    QTest::newRow("a file from the computer: its firmware is whatever comes back")
        << kStarted + QStringList{"file", "downloaded", "copied", "version 1.4.0"}
        << "Succeeded Complete | File transfer complete! + Tavlo now runs firmware 1.4.0. | exit | hidden" << download;
    QTest::newRow("try again after a return without the update")
        << kCopying + QStringList{"copied", "version 1.5.2", "elapse 250", "retry", "elapse 450"}
        << "Choosing Latest | " + kWarning + " | start | hidden" << download;
    QTest::newRow("not finished ends the wait") << kCopying + QStringList{"copied", "notFinished Unplug Tavlo", "elapse 450"}
        << "NotFinished NotFinished | Tavlo has not been told / Unplug Tavlo | exit retry | hidden" << download;
    QTest::newRow("copy failed") << kCopying + QStringList{"copyFailed The volume went away."}
        << "Failed TransferFailed | Something went wrong dur / The volume went away. Ta | exit retry | green" << download;
    QTest::newRow("lost on the failure screen: it stays") << kCopying + QStringList{"copyFailed x", "lost"}
        << "Failed TransferFailed | Something went wrong dur / x Tavlo may still be in | exit retry | red" << download;
    QTest::newRow("found on the failure screen: shown") << kCopying + QStringList{"copyFailed x", "lost", "found"}
        << "Failed TransferFailed | Something went wrong dur / x Tavlo may still be in | exit retry | green" << download;
    // The update-mode message did not go out: the reason alone, no word of update mode.
    QTest::newRow("update mode not reached") << kStarted + QStringList{"downloaded", "modeFailed Check the cable."}
        << "Failed TransferFailed | Something went wrong dur / Check the cable. | exit retry | green" << download;
    QTest::newRow("update mode not reached, told first") << kStarted + QStringList{"modeFailed Check the cable.", "downloaded"}
        << "Failed TransferFailed | Something went wrong dur / Check the cable. | exit retry | green" << download;
    QTest::newRow("a late mode failure after the copy failed") << kCopying + QStringList{"copyFailed x", "modeFailed y"}
        << "Failed TransferFailed | Something went wrong dur / x Tavlo may still be in | exit retry | green" << download;
    QTest::newRow("not finished") << kCopying + QStringList{"copied", "notFinished Unplug Tavlo"}
        << "NotFinished NotFinished | Tavlo has not been told / Unplug Tavlo | exit retry | hidden" << download;
    QTest::newRow("a late copy result after not finished") << kCopying + QStringList{"notFinished Unplug Tavlo", "copied"}
        << "NotFinished NotFinished | Tavlo has not been told / Unplug Tavlo | exit retry | green" << download;

    // The transfer mode.
    QTest::newRow("transfer: connecting") << kHome + QStringList{"transfer", "lost"}
        << "Idle Latest Connecting | - | - | green" << QStringList{"sendTransferSysEx"};
    QTest::newRow("transfer: open") << kInTransfer << "Idle Latest Open | - | folders | green"
                                    << QStringList{"sendTransferSysEx"};
    QTest::newRow("transfer: lost while open") << kInTransfer + QStringList{"lost", "done"}
        << "Idle Latest Open | - | folders | red" << QStringList{"sendTransferSysEx"};
    QTest::newRow("transfer: done") << kInTransfer + QStringList{"done", "lost"}
        << "Idle Latest Finalizing | - | - | green" << QStringList{"sendTransferSysEx", "completeTransfer"};
    QTest::newRow("transfer: eject refused, DONE again") << kInTransfer + QStringList{"done", "ejectFailed"}
        << "Idle Latest Open | - | folders | green" << QStringList{"sendTransferSysEx", "completeTransfer"};
    QTest::newRow("transfer: a drive that is not Tavlo's, named") << kInTransfer + QStringList{"refused A drive named TAVLO", "done", "ejectFailed"}
        << "Idle Latest Open | - / A drive named TAVLO | folders | green" << QStringList{"sendTransferSysEx", "completeTransfer"};
    QTest::newRow("transfer: the reason goes with the transfer mode") << kInTransfer + QStringList{"refused A drive", "done", "endAck", "transfer"}
        << "Idle Latest Connecting | - | - | green" << QStringList{"sendTransferSysEx", "completeTransfer", "sendTransferSysEx"};
    QTest::newRow("transfer: a refusal on the home screen is not shown") << kHome + QStringList{"refused A drive"}
        << "Idle Latest | - | update transfer | green" << none;
    QTest::newRow("transfer: ended") << kInTransfer + QStringList{"done", "endAck"}
        << "Idle Latest | - | update transfer | green" << QStringList{"sendTransferSysEx", "completeTransfer"};
    QTest::newRow("transfer needs 1.5.0") << QStringList{"found", "version 1.4.0", "transfer"}
        << "Idle Looking | - | update | green" << none;
}

void FlowsTest::updateOnlyEdition_data()
{
    columns();
    const QStringList download{"downloadFile"};
    QTest::newRow("progress on the line") << kStarted + QStringList{"download 40"}
        << "Downloading Progress | " + kWarning + " | - | green" << download;
    QTest::newRow("a failure told by its reason alone") << kStarted + QStringList{"reason The list is not JSON."}
        << "Failed DownloadFailed | - / The list is not JSON. | exit retry | green" << download;
    QTest::newRow("lost on the update screen closes it") << QStringList{"found", "latest 1.6.0", "open", "lost"}
        << "Idle Latest | - | - | red" << QStringList{};
    QTest::newRow("start is not dimmed") << QStringList{"found", "open"}
        << "Choosing Looking | " + kWarning + " | start | green" << QStringList{};
    QTest::newRow("copied: the indicator stays, the reboot is not a loss") << kCopying + QStringList{"copied", "lost"}
        << "Succeeded Complete | File transfer complete! + Waiting for Tavlo to restart with fi | exit | green" << download;
    QTest::newRow("back with the new firmware, then unplugged") << kCopying + QStringList{"copied", "lost", "found", "version 1.6.0", "lost"}
        << "Succeeded Complete | File transfer complete! + Tavlo now runs firmware 1.6.0. | exit | red" << download;
}

// What the version line says in the words the window shows.
void FlowsTest::lineTexts()
{
    FlowScript full(UpdateFlowPolicy::fullEdition());
    QVERIFY(full.play(kStarted));
    QCOMPARE(full.update.versionLineText(), QStringLiteral("The latest available version is Tvx1.6.0"));
    FlowScript updater(UpdateFlowPolicy::updateOnlyEdition());
    QVERIFY(updater.play(kStarted + QStringList{"download 150"}));
    QCOMPARE(updater.update.versionLineText(), QStringLiteral("Downloading... 150%"));
    updater.update.onCopyProgressText(QStringLiteral("40%"));
    QCOMPARE(updater.update.versionLineText(), QStringLiteral("Transfering file... 40%"));
    QVERIFY(updater.play({"copied", "found", "version 1.6.0"}));
    QCOMPARE(updater.update.versionLineText(), QStringLiteral("File transfer complete!"));
}

// The latest versions a catalogue hands on one by one are told to the window once per
// event-loop turn, after it; every other report is told at once (and takes a waiting notice
// along), a report that changes nothing shown not at all. What is read right after a report is
// already what it left.
void FlowsTest::changedOncePerTurn_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("burst");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("latest");
    QTest::addColumn<int>("toldAtOnce");   // the update flow's changed() during the burst
    QTest::addColumn<int>("toldInAll");    // and after the turn has ended
    QTest::addColumn<int>("presenceTold");

    QStringList catalogue;
    for (int i = 0; i < 300; ++i)
        catalogue << QStringLiteral("latest 1.%1.%2").arg(i / 100).arg(i % 100);
    QTest::newRow("a catalogue's entries, one by one") << kHome.mid(0, 2) << catalogue
        << "Idle Latest | - | update transfer | green" << "1.2.99" << 0 << 1 << 0;
    QTest::newRow("on the update screen") << kHome.mid(0, 2) + QStringList{"open"} << catalogue
        << "Choosing Latest | " + kWarning + " | start | green" << "1.2.99" << 0 << 1 << 0;
    QTest::newRow("the same version again") << kHome << QStringList{"latest 1.6.0", "latest 1.6.0"}
        << "Idle Latest | - | update transfer | green" << "1.6.0" << 0 << 0 << 0;
    QTest::newRow("each step of the progress") << kStarted
        << QStringList{"download 10", "download 20", "download 30"}
        << "Downloading Latest 30% | " + kWarning + " | - | green" << "1.6.0" << 3 << 3 << 0;
    QTest::newRow("a version, then progress that tells it along") << kStarted
        << QStringList{"latest 1.7.0", "download 10"}
        << "Downloading Latest 10% | " + kWarning + " | - | green" << "1.7.0" << 1 << 1 << 0;
    QTest::newRow("found and its version") << QStringList{} << QStringList{"found", "version 1.5.2"}
        << "Idle Looking | - | update transfer | green" << "" << 2 << 2 << 2;
    QTest::newRow("found again, the same version") << kHome << QStringList{"found", "version 1.5.2"}
        << "Idle Latest | - | update transfer | green" << "1.6.0" << 0 << 0 << 0;
}

void FlowsTest::changedOncePerTurn()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, burst);
    QFETCH(QString, shown);
    QFETCH(QString, latest);
    QFETCH(int, toldAtOnce);
    QFETCH(int, toldInAll);
    QFETCH(int, presenceTold);
    FlowScript script(UpdateFlowPolicy::fullEdition());
    QVERIFY2(script.play(before), qPrintable(script.error()));
    QCoreApplication::processEvents();
    QSignalSpy update(&script.update, &UpdateFlow::changed);
    QSignalSpy presence(&script.presence, &Presence::changed);

    QVERIFY2(script.play(burst), qPrintable(script.error()));
    QCOMPARE(script.shown(), shown);
    QCOMPARE(script.update.latestVersion(), latest);
    QCOMPARE(update.size(), toldAtOnce);
    QCOMPARE(presence.size(), presenceTold);
    QCoreApplication::processEvents();
    QCOMPARE(update.size(), toldInAll);
    // Told once: the next turns bring nothing more.
    QCoreApplication::processEvents();
    QCOMPARE(update.size(), toldInAll);
    QCOMPARE(presence.size(), presenceTold);
}

QTEST_GUILESS_MAIN(FlowsTest)
#include "tst_flows.moc"
