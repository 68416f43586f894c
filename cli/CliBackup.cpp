#include "CliBackup.h"

#include "CliExitCode.h"
#include "CliOutput.h"
#include "FirmwareVersion.h"
#include "SizeText.h"
#include "app/full/FullEditionWiring.h"

#include <QJsonObject>

namespace {

constexpr int kPercentStep = 5;

QString stepName(BackupFlow::State state)
{
    switch (state) {
    case BackupFlow::State::Entering:
        return QStringLiteral("entering");
    case BackupFlow::State::Copying:
        return QStringLiteral("copying");
    case BackupFlow::State::Leaving:
        return QStringLiteral("leaving");
    default:
        return QString();
    }
}

} // namespace

CliBackup::CliBackup(FullEditionWiring& wiring, CliOutput& output, QObject* parent)
    : QObject(parent), flow(wiring.backupFlow()), out(output)
{
    connect(&flow, &BackupFlow::stateChanged, this, &CliBackup::onState);
    connect(&flow, &BackupFlow::changed, this, &CliBackup::onChanged);
}

QString CliBackup::needsTransferMode(const QString& firmware)
{
    return tr("Backups need firmware 1.5.0 or later; the instrument has %1.").arg(firmware);
}

void CliBackup::backUpNow(const QString& firmware)
{
    if (flow.backupsRoot().isEmpty()) {
        finish(false, CliExitCode::kUsage, tr("There is no folder for backups; name one with --to DIR."));
        return;
    }
    watching = true;
    lastPercent = -1;
    flow.backUpNow();
    // Not offered: the firmware (said first, as the window's missing button cannot say it),
    // or the instrument busy otherwise.
    if (flow.state() == BackupFlow::State::Idle && watching)
        finish(false, CliExitCode::kBackupFailed,
               FirmwareVersion::offersTransfer(firmware) ? tr("The backup could not be started; the "
                                                              "instrument was not changed.")
                                                         : needsTransferMode(firmware));
}

bool CliBackup::watchUpdateStart(const std::function<void()>& startThroughTheFlow)
{
    watching = true;
    lastPercent = -1;
    began = false;
    startThroughTheFlow();
    // The update started at once: no backup to watch.
    if (!began)
        watching = false;
    return began;
}

void CliBackup::requestStop()
{
    if (!watching || stopRequested)
        return;
    stopRequested = true;
    out.note(tr("Stopping the backup; nothing is kept. Waiting for the instrument to return to "
                "normal mode."));
    flow.cancel();
}

void CliBackup::onState(BackupFlow::State state)
{
    if (!watching)
        return;
    const BackupFlow::State before = lastState;
    lastState = state;
    began = true;
    switch (state) {
    case BackupFlow::State::Entering:
        out.event(QStringLiteral("backup_started"), flow.titleText());
        [[fallthrough]];
    case BackupFlow::State::Copying:
    case BackupFlow::State::Leaving:
        out.print({{QStringLiteral("event"), QStringLiteral("backup_step")},
                   {QStringLiteral("step"), stepName(state)}},
                  flow.statusText());
        if (stopRequested && state == BackupFlow::State::Copying)
            flow.cancel(); // asked while the instrument switched: carried out now
        return;
    case BackupFlow::State::Done:
        out.print({{QStringLiteral("event"), QStringLiteral("backup_done")},
                   {QStringLiteral("folder"), flow.folder()},
                   {QStringLiteral("files"), flow.files()},
                   {QStringLiteral("bytes"), flow.bytes()}},
                  flow.statusText());
        finish(true, CliExitCode::kDone);
        return;
    case BackupFlow::State::Failed:
    case BackupFlow::State::Cancelled: {
        const bool cancelled = state == BackupFlow::State::Cancelled;
        out.print({{QStringLiteral("event"), QStringLiteral("backup_failed")},
                   {QStringLiteral("cancelled"), cancelled},
                   {QStringLiteral("reason"), flow.statusText()}},
                  QString());
        finish(false, cancelled ? CliExitCode::kInterrupted : CliExitCode::kBackupFailed,
               flow.statusText());
        return;
    }
    case BackupFlow::State::Idle:
        // Before an update a complete backup goes straight back to Idle and starts the update.
        if (before == BackupFlow::State::Leaving && !flow.folder().isEmpty()) {
            out.print({{QStringLiteral("event"), QStringLiteral("backup_done")},
                       {QStringLiteral("folder"), flow.folder()},
                       {QStringLiteral("files"), flow.files()},
                       {QStringLiteral("bytes"), flow.bytes()}},
                      tr("Saved and checked: %1 (%2) in \"%3\".")
                          .arg(SizeText::files(flow.files()), SizeText::bytes(flow.bytes()),
                               flow.folder()));
            finish(true, CliExitCode::kDone);
        }
        return;
    }
}

// The copy's progress: every percent as JSON, a bar (or a line every tenth when piped) else.
void CliBackup::onChanged()
{
    // Once the step is printed (the flow says it changed before it says its new state), and
    // once the size of the whole is known.
    if (!watching || lastState != BackupFlow::State::Copying || flow.state() != BackupFlow::State::Copying)
        return;
    if (!flow.progressShown() || flow.bytes() <= 0)
        return;
    // At most every few percent, and the end.
    const int percent = flow.progress();
    if (lastPercent >= 0 && percent < lastPercent + kPercentStep && !(percent == 100 && lastPercent < 100))
        return;
    lastPercent = percent;
    out.progress(QStringLiteral("backup"), tr("Backing up"), percent,
                 {{QStringLiteral("event"), QStringLiteral("backup_progress")},
                  {QStringLiteral("percent"), percent},
                  {QStringLiteral("files"), flow.files()},
                  {QStringLiteral("total_bytes"), flow.bytes()}});
}

void CliBackup::finish(bool ok, int code, const QString& problem)
{
    watching = false;
    Q_EMIT ended(ok, stopRequested && !ok ? CliExitCode::kInterrupted : code, problem);
}
