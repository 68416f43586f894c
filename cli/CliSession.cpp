#include "CliSession.h"

#include "CliExitCode.h"
#include "CliOutput.h"
#include "CliPrompt.h"
#include "CliTransfer.h"
#include "LocalUpdateFile.h"
#include "ReleaseChoices.h"
#include "storage/full/FileManager.h"
#include "UpdateChoices.h"
#include "Platform.h"
#include "UpdateDownload.h"
#include "WiringLog.h"

#include <QFileInfo>
#include <QJsonObject>


CliSession::CliSession(const CliOptions& options, const Platform& platform, const QUrl& server,
                       const Timings& timings, CliOutput& output,
                       const std::atomic<bool>& interrupted)
    : options(options), timings(timings), out(output), interrupted(interrupted),
      instruments(platform, options.port)
{
    wiring = std::make_unique<FullEditionWiring>(instruments.linkPlatform(), server, timings);
    instruments.setFiles(wiring->fileManager());
    qCInfo(lcWiring, "tavlo %s: %d instrument(s) found", qPrintable(CliOptions::commandName(options.command)),
           int(instruments.all().size()));

    MidiHandler& midi = wiring->midiHandler();
    Downloader& downloader = wiring->downloader();
    MainController& controller = wiring->mainController();
    connect(&midi, &MidiHandler::tavloReceivedVersion, this,
            [this](const QString& version) {
                firmware = version;
                if (current == State::FindingInstrument)
                    onInstrumentReady();
            },
            Qt::QueuedConnection);
    connect(&midi, &MidiHandler::deviceFound, this, [this](bool found) {
        if (found && current == State::FindingInstrument && this->options.done)
            onInstrumentReady();
    });
    // Once the whole catalogue is read and the version list is built from it.
    connect(&downloader.updateDownload(), &UpdateDownload::catalogueRead, this, [this] {
        catalogueRead = true;
        onCatalogueRead();
    });
    connect(&downloader, &Downloader::failureReasonChanged, this, [this](const QString& why) {
        if (!why.isEmpty() && !catalogueRead && current == State::ReadingCatalogue)
            finish(CliExitCode::kNetwork, why);
    });
    connect(&downloader.updateDownload(), &UpdateDownload::checkFailed, this,
            [this] { verificationFailed = true; });
    connect(&controller, &MainController::transferFailureReason, this,
            [this](const QString& why) { handOverProblem = why; });
    connect(&midi, &MidiHandler::deviceSetToTransferMode, this, [this] { modeSwitched = true; });
    UpdateFlow& flow = wiring->updateFlow();
    connect(&flow, &UpdateFlow::stateChanged, this, &CliSession::onFlowState);
    connect(&flow, &UpdateFlow::changed, this, &CliSession::onFlowChanged);
    connect(&midi, &MidiHandler::deviceReenumerationFinished, this, &CliSession::onReenumerated);
    connect(&flow.confirmation(), &UpdateConfirmation::stateChanged, this,
            &CliSession::onConfirmation);
    transfer = std::make_unique<CliTransfer>(instruments, *wiring, timings, out);
    connect(transfer.get(), &CliTransfer::finished, this,
            [this](int code, const QString& problem) { finish(code, problem); });

    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, &CliSession::onDeadline);
    poll.setInterval(timings.cli.pollMs);
    connect(&poll, &QTimer::timeout, this, &CliSession::onInterruptPoll);
}

CliSession::~CliSession() = default;

int CliSession::run()
{
    const auto& all = instruments.all();
    const auto& chosen = instruments.chosen();
    if (all.isEmpty()) {
        const QString mode = instruments.volumeMode();
        if (!mode.isEmpty())
            return finishNow(CliExitCode::kNoInstrument,
                             tr("The instrument is in %1 mode and not on MIDI. Switch it off and on "
                                "again to return it to normal.").arg(mode));
        return finishNow(CliExitCode::kNoInstrument,
                         tr("No instrument found. Connect it over USB and switch it on."));
    }
    if (chosen.isEmpty()) {
        instruments.print(out, all, QString());
        return finishNow(CliExitCode::kNoInstrument,
                         tr("No instrument on the port \"%1\".").arg(options.port));
    }
    // Listing is the one command that may see several at once.
    if (chosen.size() > 1 && options.command != CliOptions::Command::List) {
        instruments.print(out, chosen, QString());
        return finishNow(CliExitCode::kNoInstrument,
                         tr("%1 instruments are connected. Choose one with --port NAME.")
                             .arg(chosen.size()));
    }
    deadline.start(timings.cli.instrumentWaitMs);
    poll.start();
    loop.exec();
    return exitCode;
}

int CliSession::finishNow(int code, const QString& problem)
{
    finish(code, problem);
    return exitCode;
}

void CliSession::onDeadline()
{
    if (current == State::FindingInstrument) {
        if (options.command == CliOptions::Command::List) {
            instruments.print(out, instruments.chosen(), firmware);
            finish(CliExitCode::kDone);
            return;
        }
        finish(CliExitCode::kFailed,
               tr("The instrument did not report its firmware version. Switch it off and on "
                  "again and retry."));
    }
}

void CliSession::onInstrumentReady()
{
    deadline.stop();
    switch (options.command) {
    case CliOptions::Command::List:
        instruments.print(out, instruments.chosen(), firmware);
        finish(CliExitCode::kDone);
        return;
    case CliOptions::Command::Transfer:
        current = State::Transferring;
        if (options.done)
            transfer->leave();
        else
            transfer->start(firmware);
        return;
    case CliOptions::Command::Update:
        if (!options.file.isEmpty()) {
            startUpdate();
            return;
        }
        [[fallthrough]];
    case CliOptions::Command::Check:
        current = State::ReadingCatalogue;
        if (catalogueRead)
            onCatalogueRead();
        else if (!wiring->downloader().failureReason().isEmpty())
            finish(CliExitCode::kNetwork, wiring->downloader().failureReason());
        return;
    case CliOptions::Command::None:
        break;
    }
    finish(CliExitCode::kUsage);
}

void CliSession::onCatalogueRead()
{
    if (current != State::ReadingCatalogue)
        return;
    UpdateChoices& choices = wiring->updateChoices();
    latest = choices.latestVersion();
    if (options.command == CliOptions::Command::Check) {
        const bool available = ReleaseChoices::relation(firmware, latest) == ReleaseChoices::Relation::Newer;
        out.print({{QStringLiteral("event"), QStringLiteral("check")},
                   {QStringLiteral("firmware"), firmware},
                   {QStringLiteral("latest"), latest},
                   {QStringLiteral("update_available"), available}},
                  available ? tr("Firmware %1 is installed; %2 is available.").arg(firmware, latest)
                            : tr("Firmware %1 is installed; the latest on offer is %2. Nothing to do.")
                                  .arg(firmware, latest));
        finish(available ? CliExitCode::kUpdateAvailable : CliExitCode::kDone);
        return;
    }
    // The version to install: the one asked for, picked from the list as the window picks
    // it, or the update on offer.
    if (!options.version.isEmpty()) {
        int row = -1;
        QStringList offered;
        for (int i = 0; i < choices.count(); ++i) {
            const QVariantMap entry = choices.describe(i);
            const QString version = entry.value(QStringLiteral("version")).toString();
            if (entry.value(QStringLiteral("pickable")).toBool())
                offered << version;
            if (row < 0 && entry.value(QStringLiteral("pickable")).toBool()
                && ReleaseChoices::relation(options.version, version) == ReleaseChoices::Relation::Same)
                row = i;
        }
        if (row < 0 || !choices.choose(row)) {
            finish(CliExitCode::kUsage, tr("Version %1 is not on offer. The versions on offer: %2.")
                                            .arg(options.version, offered.join(QStringLiteral(", "))));
            return;
        }
        latest = choices.describe(row).value(QStringLiteral("version")).toString();
    }
    const ReleaseChoices::Relation relation = ReleaseChoices::relation(firmware, latest);
    // The same version again only when it was asked for by name (a reinstall).
    if (relation == ReleaseChoices::Relation::Same && options.version.isEmpty()
        && !wiring->interruptedUpdate().offered()) {
        out.print({{QStringLiteral("event"), QStringLiteral("up_to_date")},
                   {QStringLiteral("firmware"), firmware}},
                  tr("The instrument already has firmware %1. Nothing to do.").arg(firmware));
        finish(CliExitCode::kDone);
        return;
    }
    if (relation == ReleaseChoices::Relation::Older && !options.allowDowngrade) {
        finish(CliExitCode::kRefused,
               tr("Firmware %1 is older than the installed %2; add --allow-downgrade to install it.")
                   .arg(latest, firmware));
        return;
    }
    startUpdate();
}

void CliSession::startUpdate()
{
    if (!options.file.isEmpty()) {
        const QString problem = LocalUpdateFile::problem(LocalUpdateFile::pathFrom(options.file), -1);
        if (!problem.isEmpty()) {
            finish(CliExitCode::kVerification, problem);
            return;
        }
    }
    const QString what = options.file.isEmpty()
                             ? tr("firmware %1 from the release server").arg(latest)
                             : tr("the update file %1").arg(QFileInfo(options.file).fileName());
    // Whether the instrument waits in update mode from an interrupted update: known once the
    // storage has looked for its update volume.
    InterruptedUpdate& cutOff = wiring->interruptedUpdate();
    if (cutOff.looking()) {
        connect(&cutOff, &InterruptedUpdate::looked, this, &CliSession::startUpdate,
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
        finish(CliExitCode::kRefused, tr("Not installed; the instrument was not changed."));
        return;
    }
    if (interrupted.load()) {
        onInterruptPoll();
        return;
    }
    // The window's way in: the update screen, then its start (the update on offer, a
    // version picked from the list, or a file at hand).
    current = State::Updating;
    UpdateFlow& flow = wiring->updateFlow();
    flow.open();
    if (!options.file.isEmpty()) {
        // A file at hand goes where a download ends, as the window's "Install from file" does.
        const QString problem = flow.installLocal(options.file, QFileInfo(options.file).fileName());
        if (!problem.isEmpty()) {
            finish(CliExitCode::kVerification, problem);
            return;
        }
    } else if (!options.version.isEmpty()) {
        flow.startChosen();
    } else {
        flow.start();
    }
    if (!flow.started())
        finish(CliExitCode::kFailed, tr("The update could not be started; the instrument was not changed."));
}

void CliSession::onFlowState(UpdateFlow::State state)
{
    if (current != State::Updating)
        return;
    switch (state) {
    case UpdateFlow::State::Copying:
        out.event(QStringLiteral("update_mode"), tr("The instrument is switching to update mode."));
        if (!wiring->updateFlow().awakeText().isEmpty())
            out.note(wiring->updateFlow().awakeText());
        return;
    case UpdateFlow::State::Succeeded:
        out.event(QStringLiteral("file_in_place"),
                  tr("The update file is on the instrument. Telling it to apply the update..."));
        return;
    case UpdateFlow::State::Failed:
        onUpdateFailed();
        return;
    case UpdateFlow::State::NotFinished:
        finish(CliExitCode::kFailed,
               tr("The instrument did not come back to take the update. Switch it off and on "
                  "again; it applies the file it holds."));
        return;
    case UpdateFlow::State::Idle:
        // The instrument went away: what ran was cancelled.
        finish(CliExitCode::kNoInstrument,
               tr("The instrument went away during the update; it was not changed. Connect it "
                  "and run the command again."));
        return;
    case UpdateFlow::State::Choosing:
    case UpdateFlow::State::Downloading:
    case UpdateFlow::State::OtherRoute:
        return;
    }
}

// The progress, and the fallback downloader's steps, as the flow shows them.
void CliSession::onFlowChanged()
{
    const UpdateFlow& flow = wiring->updateFlow();
    if (current != State::Updating)
        return;
    if (flow.progressShown())
        out.progress(flow.progressMode() == QLatin1String("transfer") ? QStringLiteral("copy")
                                                                     : QStringLiteral("download"),
                     flow.progressMode() == QLatin1String("transfer") ? tr("Copying to the instrument")
                                                                     : tr("Downloading"),
                     flow.progress());
    if (flow.state() == UpdateFlow::State::OtherRoute && flow.noticeText() != lastNote) {
        lastNote = flow.noticeText();
        out.note(lastNote);
    }
}

void CliSession::onUpdateFailed()
{
    const UpdateFlow& flow = wiring->updateFlow();
    if (flow.versionLine() == UpdateFlow::Line::TransferFailed && !modeSwitched) {
        // The update-mode message did not go out: the instrument is in normal mode, its
        // volume untouched. The flow's reason says so.
        finish(CliExitCode::kFailed, flow.reasonText());
        return;
    }
    if (flow.versionLine() == UpdateFlow::Line::TransferFailed) {
        finish(CliExitCode::kStorage,
               tr("The update file could not be put onto the instrument: %1 The instrument is in "
                  "update mode; switch it off and on again to return it to normal.")
                   .arg(handOverProblem));
        return;
    }
    if (flow.versionLine() == UpdateFlow::Line::NotApplied
        || flow.versionLine() == UpdateFlow::Line::NotConfirmed) {
        finish(flow.versionLine() == UpdateFlow::Line::NotApplied ? CliExitCode::kNotApplied
                                                                  : CliExitCode::kNotConfirmed,
               flow.reasonText());
        return;
    }
    const QString why = wiring->downloader().failureReason();
    finish(verificationFailed ? CliExitCode::kVerification : CliExitCode::kNetwork,
           why.isEmpty() ? flow.noticeText() : why);
}

void CliSession::onReenumerated(bool success)
{
    if (current != State::Updating || !success
        || wiring->updateFlow().state() != UpdateFlow::State::Succeeded)
        return;
    out.print({{QStringLiteral("event"), QStringLiteral("done")},
               {QStringLiteral("mode"), QStringLiteral("applying")}},
              tr("File transfer complete! Tavlo will now reboot to apply the update."));
    if (stopRequested) {
        finish(CliExitCode::kInterrupted);
        return;
    }
    applying = true;
    onConfirmation(wiring->updateFlow().confirmation().state());
}

// The instrument's return after the update: "update" ends when it says which firmware runs.
void CliSession::onConfirmation(UpdateConfirmation::State state)
{
    const UpdateFlow& flow = wiring->updateFlow();
    if (current != State::Updating || !applying)
        return;
    if (state == UpdateConfirmation::State::Confirmed) {
        out.print({{QStringLiteral("event"), QStringLiteral("confirmed")},
                   {QStringLiteral("firmware"), flow.confirmation().reported()}},
                  flow.confirmationText());
        finish(CliExitCode::kDone);
    } else if (state == UpdateConfirmation::State::Waiting && !waitNoted) {
        waitNoted = true;
        out.note(flow.confirmationText());
    }
}

void CliSession::onInterruptPoll()
{
    if (!interrupted.load() || stopRequested)
        return;
    stopRequested = true;
    const UpdateFlow::State flowState = wiring->updateFlow().state();
    const bool beforeUpdateMode = current != State::Updating
        || flowState == UpdateFlow::State::Downloading || flowState == UpdateFlow::State::OtherRoute;
    switch (current) {
    case State::FindingInstrument:
    case State::ReadingCatalogue:
    case State::Updating:
        if (beforeUpdateMode) {
            wiring->downloader().cancelDownload();
            finish(CliExitCode::kInterrupted,
                   tr("Stopped. The instrument was not changed; it is in normal mode."));
            return;
        }
        if (applying) {
            finish(CliExitCode::kInterrupted,
                   tr("Stopped before the instrument came back; it goes on applying the update "
                      "by itself."));
            return;
        }
        out.note(tr("Stopping after this step: the update file is being handed to the "
                    "instrument, which would otherwise stay in update mode."));
        return;
    case State::Transferring:
        transfer->requestStop();
        return;
    case State::Ended:
        return;
    }
}

void CliSession::finish(int code, const QString& problem)
{
    if (current == State::Ended)
        return;
    current = State::Ended;
    exitCode = code;
    deadline.stop();
    poll.stop();
    if (!problem.isEmpty()) {
        qCWarning(lcWiring, "tavlo: %s", qPrintable(problem));
        out.problem(problem, code);
    }
    qCInfo(lcWiring, "tavlo: exit code %d", code);
    loop.quit();
}
