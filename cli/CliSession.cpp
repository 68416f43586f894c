#include "CliSession.h"

#include "CliBackup.h"
#include "CliExitCode.h"
#include "CliOutput.h"
#include "CliRestore.h"
#include "CliTransfer.h"
#include "CliUpdate.h"
#include "ReleaseChoices.h"
#include "UpdateDownload.h"
#include "UpdateChoices.h"
#include "Platform.h"
#include "WiringLog.h"

#include <QDir>
#include <QJsonObject>


CliSession::CliSession(const CliOptions& options, const Platform& platform, const QUrl& server,
                       const Timings& timings, CliOutput& output,
                       const std::atomic<bool>& interrupted)
    : options(options), timings(timings), out(output), interrupted(interrupted),
      instruments(platform, options.port)
{
    wiring = std::make_unique<FullEditionWiring>(instruments.linkPlatform(), server, timings);
    // Where "tavlo backup --to" puts the backup, and "tavlo restore --from" looks for them.
    if (!options.backupsTo.isEmpty())
        wiring->setBackupsRoot(QDir(options.backupsTo).absolutePath());
    if (!options.backupsFrom.isEmpty())
        wiring->setBackupsRoot(QDir(options.backupsFrom).absolutePath());
    instruments.setFiles(wiring->fileManager());
    qCInfo(lcWiring, "tavlo %s: %d instrument(s) found", qPrintable(CliOptions::commandName(options.command)),
           int(instruments.all().size()));

    MidiHandler& midi = wiring->midiHandler();
    Downloader& downloader = wiring->downloader();
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
    backup = std::make_unique<CliBackup>(*wiring, out);
    connect(backup.get(), &CliBackup::ended, this, [this](bool, int code, const QString& problem) {
        if (current == State::BackingUp)
            finish(code, problem);
    });
    update = std::make_unique<CliUpdate>(*wiring, this->options, out, interrupted, *backup);
    connect(update.get(), &CliUpdate::finished, this,
            [this](int code, const QString& problem) { finish(code, problem); });
    if (options.command == CliOptions::Command::Transfer) {
        transfer = std::make_unique<CliTransfer>(instruments, *wiring, timings, out);
        connect(transfer.get(), &CliTransfer::finished, this,
                [this](int code, const QString& problem) { finish(code, problem); });
    }
    restore = std::make_unique<CliRestore>(*wiring, out, options.yes);
    connect(restore.get(), &CliRestore::finished, this,
            [this](int code, const QString& problem) { finish(code, problem); });

    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, &CliSession::onDeadline);
    poll.setInterval(timings.cli.pollMs);
    connect(&poll, &QTimer::timeout, this, &CliSession::onInterruptPoll);
}

CliSession::~CliSession() = default;

int CliSession::run()
{
    // The backups are listed without the instrument.
    if (options.command == CliOptions::Command::Restore && options.backup.isEmpty()) {
        current = State::Restoring;
        restore->list();
        return exitCode;
    }
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
    case CliOptions::Command::Backup:
        current = State::BackingUp;
        backup->backUpNow(firmware);
        return;
    case CliOptions::Command::Restore:
        current = State::Restoring;
        restore->start(firmware, options.backup, wiring->backupFlow().backupsRoot());
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
    case CliOptions::Command::History: // handled by CliRun, without an instrument
    case CliOptions::Command::Doctor:  // handled by CliRun (CliDoctor)
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
    current = State::Updating;
    update->start(firmware, latest);
}

void CliSession::onInterruptPoll()
{
    if (!interrupted.load() || stopRequested)
        return;
    stopRequested = true;
    switch (current) {
    case State::FindingInstrument:
    case State::ReadingCatalogue:
        wiring->downloader().cancelDownload();
        finish(CliExitCode::kInterrupted,
               tr("Stopped. The instrument was not changed; it is in normal mode."));
        return;
    case State::Updating:
        update->requestStop();
        return;
    case State::Transferring:
        transfer->requestStop();
        return;
    case State::BackingUp:
        backup->requestStop();
        return;
    case State::Restoring:
        restore->requestStop();
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
