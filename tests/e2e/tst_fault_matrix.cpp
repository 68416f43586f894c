// The fault matrix: the whole program (an edition's wiring, see RigEdition.h) against the
// simulated instrument and the local release server, one fault per row; built once per
// edition. Most rows read and press the flows the window binds to; a handful go through
// the real window (FaultScreen). Each row checks where the
// user ends up (the screen and the reason under it), the instrument's mode, that nothing
// partial or unverified is left in the download folder or on the volume, and that the way
// back works: "Try again" (after a replug where the screen says so), or the replug itself
// from the waiting state, ends in a complete update once the fault is gone.
//
// The rows run in shards (FAULT_SHARD=k/n, see CMakeLists.txt) so that CTest runs them in
// parallel; every timing is the short one of TestTimings.
#include "FaultMatrixRow.h"
#include "FaultScreen.h"

#include "EndToEndRig.h"
#include "KeyboardCheck.h"
#include "KnownScreenFaults.h"
#include "LayoutCheck.h"
#include "Startup.h"
#include "SysExMessages.h"

#include <QDirIterator>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Fault = FaultMatrixRow::Fault;

class FaultMatrix : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The server's certificate authority lives for the whole process: made before any rig
    // points the temporary folder into its own (removed) one.
    // The fonts as the programs register them, for the layout check.
    void initTestCase()
    {
        QVERIFY(!ReleaseServer::caCertificatePath().isEmpty());
        QCOMPARE(Startup::registerFonts(), 3);
    }
    // A rig points TMPDIR into its own folder, which goes with it: every row starts from
    // this process's own, so that the parts a rig makes before it (the simulated volumes'
    // folder) never land in a folder that is gone or is shared with another process.
    void init() { qputenv("TMPDIR", QFile::encodeName(processTemp.path())); }
    void faults_data();
    void faults();
    // The program ends at a stage of the update and is started again: it sees the
    // instrument waiting in update mode and finishes the update from there.
    void interruptedThenFinished_data();
    void interruptedThenFinished();

private:
    QTemporaryDir processTemp;
};

namespace {

const QString kWaiting = QStringLiteral("(waiting)");
// The update screen stays, "Start Update" dimmed and the connection instructions shown,
// until the instrument is back.
const QString kWaitingOnUpdateScreen = QStringLiteral("(waiting on the update screen)");
const QString kComplete = QStringLiteral("File transfer complete!");
const QString kDownloadFailed = QStringLiteral("Download failed!");
const QString kTransferFailed = QStringLiteral("File transfer failed!");
const QString kNotFinished = QStringLiteral("The update was not finished!");

// Files under root whose names mark them partial, and files under the final names whose
// content is not the update file.
QStringList leftovers(const QString& root, const QStringList& finalNames, const QByteArray& good)
{
    QStringList bad;
    if (root.isEmpty())
        return bad;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = it.fileName();
        if (name.endsWith(QLatin1String(".part")))
            bad << path;
        if (finalNames.contains(name)) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly) || file.readAll() != good)
                bad << path + QStringLiteral(" (not the update file)");
        }
    }
    return bad;
}

bool waitingOnUpdateScreen(FaultScreen& w)
{
    return !w.startEnabled() && w.isShown(QStringLiteral("startUpdateButton"))
        && w.text(QStringLiteral("connectionlabel")) == QStringLiteral("Tavlo is not connected");
}

// The faults of today's windows (KnownScreenFaults) that a row's end screen shows.
QStringList screenFaults(Fault fault, const QString& screen)
{
    if (QLatin1String(RigEdition::kName) == QLatin1String("updater")) {
        // Every failure screen of the update-only window puts "Try again" partly below its
        // bottom.
        if (screen == kDownloadFailed || screen == kTransferFailed || screen == kNotFinished)
            return {"retry-below-window"};
        return {};
    }
    switch (fault) {
    // The screen shown while the instrument is away gets the connection instructions on top.
    case Fault::UnplugBeforeStart:
    case Fault::UnplugDuringVolumeWait:
    case Fault::UnplugDuringCopy:
    case Fault::UnplugDuringFinalWait:
    case Fault::RejoinsLate:
    case Fault::UnplugOnFailureScreen:
        return {"instructions-over-screen"};
    default:
        return {};
    }
}

bool waitingShown(FaultScreen& w)
{
    return !w.isShown(QStringLiteral("startUpdateButton")) && !w.isShown(QStringLiteral("tryAgainButton"))
        && !w.isShown(QStringLiteral("genericProgressBar")) && !w.isShown(QStringLiteral("versionText"))
        && w.text(QStringLiteral("connectionlabel")) == QStringLiteral("Tavlo is not connected");
}

} // namespace

void FaultMatrix::faults_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("screen"); // the version line at the end, or kWaiting
    QTest::addColumn<QString>("reason"); // a part of the reason under the failure text
    QTest::addColumn<int>("mode");       // the instrument's mode at the end
    QTest::addColumn<bool>("window");    // through the real window
    const int normal = int(SimMidiInstrument::Mode::Normal);
    const int update = int(SimMidiInstrument::Mode::Update);
    const QString shard = qEnvironmentVariable("FAULT_SHARD");
    const int shardIndex = shard.section(QLatin1Char('/'), 0, 0).toInt();
    const int shardCount = qMax(1, shard.section(QLatin1Char('/'), 1, 1).toInt());
    int index = 0;
    // The rows through the real window: a failure told in the notice, one told under it,
    // an unplug while the copy runs, and the end screen of an update that was not finished.
    const QList<Fault> throughWindow{Fault::Catalogue500, Fault::CatalogueGarbage,
                                     Fault::UnplugDuringCopy, Fault::UnplugDuringFinalWait,
                                     Fault::VolumeReadOnly};
    const auto row = [&](const char* name, Fault fault, const QString& screen,
                         const QString& reason, int mode) {
        if (shard.isEmpty() || index++ % shardCount == shardIndex - 1)
            QTest::newRow(name) << int(fault) << screen << reason << mode
                                << throughWindow.contains(fault);
    };

    // The release server: the catalogue.
    row("catalogue 404", Fault::Catalogue404, kDownloadFailed, "404", normal);
    row("catalogue 500", Fault::Catalogue500, kDownloadFailed, "500", normal);
    row("catalogue not JSON", Fault::CatalogueGarbage, kDownloadFailed, "not JSON", normal);
    row("catalogue empty array", Fault::CatalogueEmpty, kDownloadFailed, "empty", normal);
    row("catalogue not an array", Fault::CatalogueObject, kDownloadFailed, "not an array", normal);
    row("catalogue cut off", Fault::CatalogueCutOff, kDownloadFailed, "", normal);
    row("catalogue file name unusable", Fault::CatalogueBadName, kDownloadFailed, "", normal);
    row("server certificate not trusted", Fault::ServerUntrusted, kDownloadFailed, "certificate", normal);
    // The release server: the update file (the Qt download, then curl, both meet the fault).
    row("file 404", Fault::File404, kDownloadFailed, "404", normal);
    row("file 500", Fault::File500, kDownloadFailed, "500", normal);
    row("file 403", Fault::File403, kDownloadFailed, "403", normal);
    row("file longer than announced", Fault::FileWrongLength, kDownloadFailed, "", normal);
    row("file body ends early", Fault::FileEndsEarly, kDownloadFailed, "", normal);
    row("file connection reset at once", Fault::FileReset, kDownloadFailed, "", normal);
    row("file stalls", Fault::FileStalls, kDownloadFailed, "", normal);
    row("file redirected to http", Fault::FileRedirectHttp, kDownloadFailed, "insecure", normal);
    row("file shorter than announced", Fault::FileShortLength, kDownloadFailed, "", normal);
    row("file checksum mismatch", Fault::ChecksumMismatch, kDownloadFailed, "checksum", normal);
    row("catalogue checksum unreadable", Fault::ChecksumUnreadable, kDownloadFailed, "checksum", normal);
    row("file size mismatch", Fault::SizeMismatch, kDownloadFailed, "size", normal);
    // A proxy (the system's setting) in front of the server: asking at the file for a password
    // none was given for (the Qt download, then curl, meet it), refusing from the start.
    row("proxy asks for a password", Fault::ProxyAsksForPassword, kDownloadFailed,
        "asks for a user name and password", normal);
    row("proxy refuses the connection", Fault::ProxyRefuses, kDownloadFailed,
        "refused the connection", normal);
    // The second route.
    if (RigEdition::kHasCurlFallback) {
    row("curl missing", Fault::CurlMissing, kDownloadFailed, "not installed", normal);
    row("curl fails after the Qt download failed", Fault::CurlFails, kDownloadFailed, "500", normal);
    row("curl stalls", Fault::CurlStalls, kDownloadFailed, "", normal);
    row("curl rescues a failed download", Fault::CurlRescues, kComplete, "", normal);
    }
    // The local disk.
    row("download folder unusable", Fault::DownloadFolderUnusable, kDownloadFailed, "download folder", normal);
    row("downloaded file vanishes", Fault::DownloadVanishes, kTransferFailed, "could not be read", update);
    if (FaultMatrixRow::canLimitVolumes())
        row("download folder's disk full", Fault::DownloadDiskFull, kDownloadFailed, "full", normal);
    // The volume.
    row("volume read-only", Fault::VolumeReadOnly, kTransferFailed, "read-only", update);
    // Writable as far as the volume list says, but the system refuses the file: its reason,
    // and what to check (on Windows: Controlled Folder Access or an antivirus program).
    if (FaultMatrixRow::canRefuseWrites())
        row("volume refuses writes", Fault::VolumeRefusesWrites, kTransferFailed,
            "did not let your user write", update);
    row("volume never mounts", Fault::VolumeNeverMounts, kTransferFailed, "did not appear", update);
    row("volume mounts too late", Fault::VolumeMountsTooLate, kTransferFailed, "did not appear", update);
    row("volume mounts late, in time", Fault::VolumeMountsLate, kComplete, "", normal);
    if (RigEdition::kEjects)
        row("volume busy at eject", Fault::VolumeBusy, kTransferFailed, "in use", update);
    row("volume holds a stale update file", Fault::VolumeStaleFile, kComplete, "", normal);
    if (FaultMatrixRow::canLimitVolumes())
        row("volume too small", Fault::VolumeFull, kTransferFailed, "larger than", update);
    row("volume not ready", Fault::VolumeNotReady, kTransferFailed, "did not appear", update);
    // The instrument.
    row("instrument gives no answer", Fault::InstrumentSilent, kTransferFailed, "did not appear", normal);
    row("instrument refuses the mode switch", Fault::InstrumentRefuses, kTransferFailed, "did not appear", normal);
    row("unplugged on the update screen", Fault::UnplugBeforeStart,
        RigEdition::kStaysOnUpdateScreenWhenUnplugged ? kWaitingOnUpdateScreen : kWaiting, "", normal);
    row("unplugged during the download", Fault::UnplugDuringDownload, kWaiting, "", normal);
    if (RigEdition::kHasCurlFallback)
        row("unplugged during the curl download", Fault::UnplugDuringCurl, kWaiting, "", normal);
    row("unplugged while the volume is awaited", Fault::UnplugDuringVolumeWait, kTransferFailed, "did not appear", normal);
    row("unplugged during the copy", Fault::UnplugDuringCopy, kTransferFailed, "went away", normal);
    // The full edition ejects the volume and waits for the instrument before it sends the
    // finish message; the update-only edition sends it at once after the copy.
    if (RigEdition::kEjects) {
        row("unplugged during the final wait", Fault::UnplugDuringFinalWait, kNotFinished, "Unplug Tavlo", normal);
        row("re-joins too late after the eject", Fault::RejoinsLate, kNotFinished, "did not come back", update);
    }
    row("unplugged on the failure screen", Fault::UnplugOnFailureScreen, kTransferFailed, "did not appear", normal);
    row("the update-mode send fails", Fault::UpdateModeSendFails, kTransferFailed, "switch to update mode", normal);
    row("back with the old firmware", Fault::KeepsOldFirmware, "The update was not applied!",
        "came back with firmware 1.5.2: the update was not applied", normal);
    // Volumes that are not the instrument's one volume.
    row("a stranger with the update label", Fault::StrangerUpdateVolume, kTransferFailed,
        "A drive named tavloupd that is not Tavlo is connected; it was left alone.", update);
    row("two of the instrument's update volumes", Fault::TwoOwnUpdateVolumes, kTransferFailed,
        "More than one Tavlo drive named tavloupd", update);
}

void FaultMatrix::faults()
{
    QFETCH(int, fault);
    QFETCH(QString, screen);
    QFETCH(QString, reason);
    QFETCH(int, mode);
    QFETCH(bool, window);

    EndToEndRig rig;
    FaultMatrixRow row(Fault(fault), rig);
    QVERIFY2(row.before(window), qPrintable(rig.error()));
    std::unique_ptr<FaultScreen> screenShown;
    if (window)
        screenShown = std::make_unique<WindowScreen>(rig.window());
    else
        screenShown = std::make_unique<FlowScreen>(rig.program().presence(), rig.program().updateFlow());
    FaultScreen& w = *screenShown;

    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("updateButton")), 5000);
    QVERIFY(w.clickButton(QStringLiteral("Update")));
    row.onUpdateScreen();
    if (screen == kWaitingOnUpdateScreen) {
        QTRY_VERIFY_WITH_TIMEOUT(waitingOnUpdateScreen(w), 5000);
    } else {
        // Pressed once the window has seen the unplug: a press in the moment before it does
        // starts an update that ends on a failure screen of its own (another row).
        // The window may have left the update screen by then (no button to press).
        if (Fault(fault) == Fault::UnplugBeforeStart) {
            QTRY_COMPARE_WITH_TIMEOUT(w.text(QStringLiteral("connectionlabel")), QStringLiteral("Tavlo is not connected"), 5000);
            w.clickButton(QStringLiteral("Start Update"));
        } else {
            QVERIFY(w.clickButton(QStringLiteral("Start Update")));
        }
        if (screen == kWaiting)
            QTRY_VERIFY_WITH_TIMEOUT(waitingShown(w), 20000);
        else
            QTRY_COMPARE_WITH_TIMEOUT(w.text(QStringLiteral("versionText")), screen, 30000);
    }
    row.atEnd();

    // The screen stays what it is, with its reason and its buttons.
    QTest::qWait(300);
    if (screen == kWaiting) {
        QVERIFY(waitingShown(w));
    } else if (screen == kWaitingOnUpdateScreen) {
        QVERIFY(waitingOnUpdateScreen(w));
        w.clickButton(QStringLiteral("Start Update")); // dimmed: a press starts nothing
        QTest::qWait(200);
        QCOMPARE(rig.server().countRequests("GET", rig.filePath()), 0);
    } else {
        QCOMPARE(w.text(QStringLiteral("versionText")), screen);
        const bool failed = screen != kComplete;
        QCOMPARE(w.isShown(QStringLiteral("tryAgainButton")), failed);
        QVERIFY(w.isShown(QStringLiteral("closeApplicationButton")));
        // The reason under the failure text, or in the notice when it says it already.
        const QString why = w.text(QStringLiteral("failureReasonText")).isEmpty()
            ? w.text(QStringLiteral("infoText")) : w.text(QStringLiteral("failureReasonText"));
        if (failed)
            QVERIFY(!why.isEmpty());
        QVERIFY2(why.contains(reason), qPrintable(why));
    }
    // What the user meets there passes the layout and keyboard check, but for the faults its
    // screen is known to show.
    if (window) {
        QQuickWindow* shown = rig.window().window();
        KnownScreenFaults::verify(LayoutCheck::problems(shown) + KeyboardCheck::tabOrder(shown),
                                  screenFaults(Fault(fault), screen));
        if (QTest::currentTestFailed())
            return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(int(rig.instrument().midi().mode()), mode, 3000);
    // A file that cannot fit, or whose checksum cannot be read, is not even asked for.
    if (Fault(fault) == Fault::DownloadDiskFull || Fault(fault) == Fault::ChecksumUnreadable)
        QCOMPARE(rig.server().countRequests("GET", rig.filePath()), 0);
    const QStringList finalNames{QString::fromLatin1(EndToEndRig::kFileName),
                                 QString::fromLatin1(SimInstrument::kUpdateFileName)};
    QStringList bad = leftovers(rig.downloadRoot(), finalNames, rig.updateFile());
    bad += leftovers(rig.instrument().storage().rootPath(QString::fromLatin1(SimInstrument::kUpdateVolumeLabel)),
                     finalNames, rig.updateFile());
    QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    const QString confirmed = QStringLiteral("Tavlo now runs firmware %1.").arg(QString::fromLatin1(EndToEndRig::kVersion));
    if (screen == kComplete) {
        QTRY_COMPARE_WITH_TIMEOUT(rig.instrument().appliedUpdates().size(), 1, 15000);
        QTRY_COMPARE_WITH_TIMEOUT(w.text(QStringLiteral("confirmationText")), confirmed, 15000);
        // The computer was kept awake from the update-mode message to the confirmation.
        QCOMPARE(rig.instrument().sleepGuard().holds(), 1);
        QVERIFY(!rig.instrument().sleepGuard().held());
        return;
    }
    // A failure screen lets the computer sleep again.
    QVERIFY(!rig.instrument().sleepGuard().held());

    // The way back, with the fault gone.
    QSignalSpy applied(&rig.instrument(), &SimInstrument::updateApplied);
    row.clear();
    if (screen == kWaiting) {
        rig.instrument().plugIn();
        QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("updateButton")), 5000);
        QVERIFY(w.clickButton(QStringLiteral("Update")));
    } else if (screen == kWaitingOnUpdateScreen) {
        rig.instrument().plugIn();
    } else {
        if (mode == int(SimMidiInstrument::Mode::Update) || row.unplugged()) {
            // As the screen says: unplug it, plug it in again, then Try again.
            rig.instrument().unplug();
            QTest::qWait(300);
            rig.instrument().plugIn();
            QTRY_VERIFY_WITH_TIMEOUT(rig.instrument().midi().isOnBus(), 5000);
            QTest::qWait(300);
            QCOMPARE(w.text(QStringLiteral("versionText")), screen); // the screen stayed
        }
        QVERIFY(w.clickButton(QStringLiteral("Try again")));
    }
    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("startUpdateButton")), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(w.startEnabled(), 5000);
    QVERIFY(w.clickButton(QStringLiteral("Start Update")));
    // Generous: on a loaded machine the short timings stretch (the CI cores are shared).
    QTRY_COMPARE_WITH_TIMEOUT(w.text(QStringLiteral("versionText")), kComplete, 60000);
    QTRY_COMPARE_WITH_TIMEOUT(applied.size(), 1, 30000);
    QVERIFY(rig.instrument().appliedUpdates().constLast().bytes == rig.updateFile());
    QTRY_COMPARE_WITH_TIMEOUT(w.text(QStringLiteral("confirmationText")), confirmed, 15000);
    QTRY_VERIFY_WITH_TIMEOUT(!rig.instrument().sleepGuard().held(), 5000);
}

void FaultMatrix::interruptedThenFinished_data()
{
    QTest::addColumn<bool>("duringCopy"); // else: just after the update-mode message
    QTest::addColumn<bool>("here");       // this shard runs the row
    // One row in each of the last shards.
    const QString shard = qEnvironmentVariable("FAULT_SHARD");
    const int shardIndex = shard.section(QLatin1Char('/'), 0, 0).toInt();
    const int shardCount = qMax(1, shard.section(QLatin1Char('/'), 1, 1).toInt());
    QTest::newRow("crash after the update-mode message, then a restart")
        << false << (shard.isEmpty() || shardIndex == shardCount);
    QTest::newRow("crash during the copy, then a restart")
        << true << (shard.isEmpty() || shardIndex == qMax(1, shardCount - 1));
}

void FaultMatrix::interruptedThenFinished()
{
    QFETCH(bool, duringCopy);
    QFETCH(bool, here);
    if (!here)
        QSKIP("another shard runs this row");
    EndToEndRig rig;
    QVERIFY2(rig.serve(), qPrintable(rig.error()));
    // The copy may end while the program is torn down: an eject then would hand the file over
    // and the instrument would wait without its volume, which is not this row. The volume
    // refuses to be ejected until the program is started again.
    SimVolumeOptions holdsOn;
    holdsOn.busy = true;
    if (duringCopy)
        rig.instrument().setUpdateVolumeOptions(holdsOn);
    rig.instrument().plugIn();
    QVERIFY(rig.start(false));
    const QString updateLabel = QString::fromLatin1(SimInstrument::kUpdateVolumeLabel);
    {
        UpdateFlow& flow = rig.program().updateFlow();
        QTRY_VERIFY_WITH_TIMEOUT(flow.updateOffered(), 5000);
        // Nothing was interrupted: no offer to finish anything.
        QVERIFY(!rig.program().interruptedUpdate().offered());
        flow.open();
        QTRY_VERIFY_WITH_TIMEOUT(flow.startShown() && flow.startEnabled(), 5000);
        flow.start();
        // The copy starts as soon as the volume is there: the program ends in that moment.
        bool crashed = false;
        const QMetaObject::Connection onMount = QObject::connect(
            &rig.instrument().storage(), &SimulatedStorage::volumeMounted,
            [&](const QString& label, const QString&) {
                if (duringCopy && label == updateLabel && !crashed) {
                    crashed = true;
                    rig.crash();
                }
            });
        QTRY_VERIFY_WITH_TIMEOUT(rig.instrument().midi().mode() == SimMidiInstrument::Mode::Update, 20000);
        if (duringCopy)
            QTRY_VERIFY_WITH_TIMEOUT(crashed, 20000);
        QObject::disconnect(onMount);
    }
    rig.crash();
    // A copy cut off half-way leaves its temporary file (whatever the teardown left).
    if (duringCopy) {
        QFile partial(QDir(rig.instrument().storage().rootPath(updateLabel)).filePath(QStringLiteral("tvxxfer.tmp")));
        QVERIFY(partial.open(QIODevice::WriteOnly | QIODevice::Truncate));
        partial.write(rig.updateFile().left(rig.updateFile().size() / 2));
        partial.close();
    }
    QVERIFY(!rig.instrument().sleepGuard().held());
    // Left in update mode, with its volume.
    QTRY_VERIFY_WITH_TIMEOUT(rig.instrument().storage().isMounted(updateLabel), 5000);
    QCOMPARE(rig.instrument().midi().mode(), SimMidiInstrument::Mode::Update);
    QVERIFY(rig.instrument().appliedUpdates().isEmpty());
    const QByteArray updateMode(reinterpret_cast<const char*>(SysEx::MIDI_SYSEX_UPDATE_MODE.data()),
                                qsizetype(SysEx::MIDI_SYSEX_UPDATE_MODE.size()));
    QCOMPARE(rig.sentCount(updateMode), 1);

    // Started again: the offer to finish, in place of "Update".
    rig.instrument().storage().setBusy(updateLabel, false);
    QVERIFY(rig.start(false));
    UpdateFlow& flow = rig.program().updateFlow();
    InterruptedUpdate& interrupted = rig.program().interruptedUpdate();
    QTRY_VERIFY_WITH_TIMEOUT(interrupted.offered(), 20000);
    QCOMPARE(interrupted.text(), QStringLiteral("An update of Tavlo was interrupted. Finish it now?"));
    QVERIFY(!flow.updateOffered());
    interrupted.finish();
    QVERIFY(!interrupted.offered());
    QTRY_COMPARE_WITH_TIMEOUT(flow.versionLineText(), QStringLiteral("File transfer complete!"), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(rig.instrument().appliedUpdates().size(), 1, 15000);
    QVERIFY(rig.instrument().appliedUpdates().constFirst().bytes == rig.updateFile());
    QTRY_COMPARE_WITH_TIMEOUT(flow.confirmationText(),
                              QStringLiteral("Tavlo now runs firmware %1.").arg(QString::fromLatin1(EndToEndRig::kVersion)),
                              15000);
    // No second update-mode message: the instrument was in update mode already.
    QCOMPARE(rig.sentCount(updateMode), 1);
    QVERIFY(!rig.instrument().sleepGuard().held());
    QVERIFY(rig.instrument().sleepGuard().holds() >= 2);
    const QStringList finalNames{QString::fromLatin1(EndToEndRig::kFileName),
                                 QString::fromLatin1(SimInstrument::kUpdateFileName)};
    QStringList bad = leftovers(rig.downloadRoot(), finalNames, rig.updateFile());
    bad += leftovers(rig.instrument().storage().rootPath(updateLabel), finalNames, rig.updateFile());
    QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
}

QTEST_MAIN(FaultMatrix)
#include "tst_fault_matrix.moc"
