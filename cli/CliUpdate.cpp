#include "CliUpdate.h"

#include "CliBackup.h"
#include "CliExitCode.h"
#include "CliOptions.h"
#include "CliOutput.h"
#include "CliPrompt.h"
#include "FirmwareVersion.h"
#include "LocalUpdateFile.h"
#include "app/full/FullEditionWiring.h"

#include <QFileInfo>
#include <QJsonObject>
#include <QTimer>

CliUpdate::CliUpdate(FullEditionWiring& wiring, const CliOptions& options, CliOutput& output,
                     const std::atomic<bool>& interrupted, CliBackup& backup, QObject* parent)
    : QObject(parent), wiring(wiring), options(options), out(output), interrupted(interrupted),
      flow(wiring.updateFlow()), backup(backup)
{
    connect(&backup, &CliBackup::ended, this, &CliUpdate::onBackupEnded);
    MidiHandler& midi = wiring.midiHandler();
    connect(&wiring.downloader().updateDownload(), &UpdateDownload::checkFailed, this,
            [this] { verificationFailed = true; });
    connect(&wiring.mainController(), &MainController::transferFailureReason, this,
            [this](const QString& why) { handOverProblem = why; });
    connect(&midi, &MidiHandler::deviceSetToTransferMode, this, [this] { modeSwitched = true; });
    connect(&flow, &UpdateFlow::stateChanged, this, &CliUpdate::onFlowState);
    connect(&flow, &UpdateFlow::changed, this, &CliUpdate::onFlowChanged);
    connect(&midi, &MidiHandler::deviceReenumerationFinished, this, &CliUpdate::onReenumerated);
    connect(&flow.confirmation(), &UpdateConfirmation::stateChanged, this,
            &CliUpdate::onConfirmation);
}

void CliUpdate::start(const QString& installed, const QString& offered)
{
    firmware = installed;
    version = offered;
    if (!options.file.isEmpty()) {
        const QString problem = LocalUpdateFile::problem(LocalUpdateFile::pathFrom(options.file), -1);
        if (!problem.isEmpty()) {
            end(CliExitCode::kVerification, problem);
            return;
        }
    }
    const QString what = options.file.isEmpty()
                             ? tr("firmware %1 from the release server").arg(version)
                             : tr("the update file %1").arg(QFileInfo(options.file).fileName());
    // Whether the instrument waits in update mode from an interrupted update: known once the
    // storage has looked for its update volume.
    InterruptedUpdate& cutOff = wiring.interruptedUpdate();
    if (cutOff.looking()) {
        connect(&cutOff, &InterruptedUpdate::looked, this,
                [this] {
                    if (!ended)
                        start(firmware, version);
                },
                Qt::SingleShotConnection);
        return;
    }
    if (cutOff.offered())
        out.event(QStringLiteral("interrupted"),
                  tr("An update of the instrument was interrupted; it waits in update mode. "
                     "This update finishes it."));
    if (!options.yes)
        out.ask(tr("Install %1 on the instrument (firmware %2)? [y/N] ").arg(what, firmware));
    if (!options.yes && !CliPrompt::confirm()) {
        end(CliExitCode::kRefused, tr("Not installed; the instrument was not changed."));
        return;
    }
    if (interrupted.load()) {
        requestStop();
        return;
    }
    // The window's way in: the update screen, then its start (the update on offer, a
    // version picked from the list, or a file at hand).
    begun = true;
    flow.open();
    if (!chooseBackup())
        return;
    // The window's "Start Update", its pick from the list or its "Install from file": each
    // through the backup flow, which makes the backup first where it is on and offered.
    BackupFlow& backupFlow = wiring.backupFlow();
    QString problem;
    const bool backingUp = backup.watchUpdateStart([&] {
        if (!options.file.isEmpty())
            // A file at hand goes where a download ends.
            problem = backupFlow.installLocal(options.file, QFileInfo(options.file).fileName());
        else if (!options.version.isEmpty())
            backupFlow.startChosenUpdate();
        else
            backupFlow.startUpdate();
    });
    if (!problem.isEmpty()) {
        end(CliExitCode::kVerification, problem);
        return;
    }
    if (backingUp)
        return;
    if (!flow.started())
        end(CliExitCode::kFailed, tr("The update could not be started; the instrument was not changed."));
}

bool CliUpdate::chooseBackup()
{
    BackupFlow& backupFlow = wiring.backupFlow();
    backupFlow.setBeforeUpdate(options.backupFirst != CliOptions::BackupChoice::Off);
    if (options.backupFirst != CliOptions::BackupChoice::On || backupFlow.optionOffered())
        return true;
    // Asked for, but the flow would go without it: said, and nothing started.
    const QString why = !FirmwareVersion::offersTransfer(firmware) ? CliBackup::needsTransferMode(firmware)
        : backupFlow.backupsRoot().isEmpty() ? tr("There is no folder for backups.")
                                             : tr("No backup can be made now.");
    end(CliExitCode::kBackupFailed,
        tr("%1 The update was not started; run it with --no-backup to update without a backup.").arg(why));
    return false;
}

void CliUpdate::onBackupEnded(bool ok, int code, const QString& problem)
{
    if (ended)
        return;
    if (!ok) {
        end(code, problem);
        return;
    }
    // The flow starts the update right after its backup's end; an update file found unusable
    // only then is its reason.
    QTimer::singleShot(0, this, [this] {
        if (ended || flow.started())
            return;
        const BackupFlow& backupFlow = wiring.backupFlow();
        if (backupFlow.failed())
            end(CliExitCode::kVerification, backupFlow.reason());
        else
            end(CliExitCode::kFailed, tr("The update could not be started; the instrument was not changed."));
    });
}

void CliUpdate::requestStop()
{
    if (ended || stopRequested)
        return;
    stopRequested = true;
    if (backup.running()) {
        backup.requestStop();
        return;
    }
    const UpdateFlow::State state = flow.state();
    if (!begun || state == UpdateFlow::State::Downloading || state == UpdateFlow::State::OtherRoute) {
        wiring.downloader().cancelDownload();
        end(CliExitCode::kInterrupted, tr("Stopped. The instrument was not changed; it is in normal mode."));
        return;
    }
    if (applying) {
        end(CliExitCode::kInterrupted,
            tr("Stopped before the instrument came back; it goes on applying the update by itself."));
        return;
    }
    out.note(tr("Stopping after this step: the update file is being handed to the instrument, "
                "which would otherwise stay in update mode."));
}

void CliUpdate::onFlowState(UpdateFlow::State state)
{
    if (!begun || ended)
        return;
    switch (state) {
    case UpdateFlow::State::Downloading:
        // Stopped while the backup before it ended: the download is not begun.
        if (stopRequested) {
            wiring.downloader().cancelDownload();
            end(CliExitCode::kInterrupted, tr("Stopped. The instrument was not changed; it is in normal mode."));
        }
        return;
    case UpdateFlow::State::Copying:
        out.event(QStringLiteral("update_mode"), tr("The instrument is switching to update mode."));
        if (!flow.awakeText().isEmpty())
            out.note(flow.awakeText());
        return;
    case UpdateFlow::State::Succeeded:
        out.event(QStringLiteral("file_in_place"),
                  tr("The update file is on the instrument. Telling it to apply the update..."));
        return;
    case UpdateFlow::State::Failed:
        onFailed();
        return;
    case UpdateFlow::State::NotFinished:
        end(CliExitCode::kFailed,
            tr("The instrument did not come back to take the update. Switch it off and on again; "
               "it applies the file it holds."));
        return;
    case UpdateFlow::State::Idle:
        // The instrument went away: what ran was cancelled.
        end(CliExitCode::kNoInstrument,
            tr("The instrument went away during the update; it was not changed. Connect it and "
               "run the command again."));
        return;
    case UpdateFlow::State::Choosing:
    case UpdateFlow::State::OtherRoute:
        return;
    }
}

// The progress, and the fallback downloader's steps, as the flow shows them.
void CliUpdate::onFlowChanged()
{
    if (!begun || ended)
        return;
    const bool copying = flow.progressMode() == QLatin1String("transfer");
    if (flow.progressShown())
        out.progress(copying ? QStringLiteral("copy") : QStringLiteral("download"),
                     copying ? tr("Copying to the instrument") : tr("Downloading"), flow.progress());
    if (flow.state() == UpdateFlow::State::OtherRoute && flow.noticeText() != lastNote) {
        lastNote = flow.noticeText();
        out.note(lastNote);
    }
}

void CliUpdate::onFailed()
{
    const UpdateFlow::Line line = flow.versionLine();
    if (line == UpdateFlow::Line::TransferFailed && !modeSwitched) {
        // The update-mode message did not go out: the instrument is in normal mode, its
        // volume untouched. The flow's reason says so.
        end(CliExitCode::kFailed, flow.reasonText());
        return;
    }
    if (line == UpdateFlow::Line::TransferFailed) {
        end(CliExitCode::kStorage,
            tr("The update file could not be put onto the instrument: %1 The instrument is in "
               "update mode; switch it off and on again to return it to normal.")
                .arg(handOverProblem));
        return;
    }
    if (line == UpdateFlow::Line::NotApplied || line == UpdateFlow::Line::NotConfirmed) {
        end(line == UpdateFlow::Line::NotApplied ? CliExitCode::kNotApplied : CliExitCode::kNotConfirmed,
            flow.reasonText());
        return;
    }
    const QString why = wiring.downloader().failureReason();
    end(verificationFailed ? CliExitCode::kVerification : CliExitCode::kNetwork,
        why.isEmpty() ? flow.noticeText() : why);
}

void CliUpdate::onReenumerated(bool success)
{
    if (!begun || ended || !success || flow.state() != UpdateFlow::State::Succeeded)
        return;
    out.print({{QStringLiteral("event"), QStringLiteral("done")},
               {QStringLiteral("mode"), QStringLiteral("applying")}},
              tr("File transfer complete! Tavlo will now reboot to apply the update."));
    if (stopRequested) {
        end(CliExitCode::kInterrupted);
        return;
    }
    applying = true;
    onConfirmation(flow.confirmation().state());
}

// The instrument's return after the update: the command ends when it says which firmware runs.
void CliUpdate::onConfirmation(UpdateConfirmation::State state)
{
    if (!applying || ended)
        return;
    if (state == UpdateConfirmation::State::Confirmed) {
        out.print({{QStringLiteral("event"), QStringLiteral("confirmed")},
                   {QStringLiteral("firmware"), flow.confirmation().reported()}},
                  flow.confirmationText());
        end(CliExitCode::kDone);
    } else if (state == UpdateConfirmation::State::Waiting && !waitNoted) {
        waitNoted = true;
        out.note(flow.confirmationText());
    }
}

void CliUpdate::end(int code, const QString& problem)
{
    if (ended)
        return;
    ended = true;
    emit finished(code, problem);
}
