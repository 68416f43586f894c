#include "CliRestore.h"

#include "CliExitCode.h"
#include "CliOutput.h"
#include "CliPrompt.h"
#include "FirmwareVersion.h"
#include "app/full/FullEditionWiring.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

namespace {

constexpr int kPercentStep = 5;

QString stepName(RestoreFlow::State state)
{
    switch (state) {
    case RestoreFlow::State::Checking:
        return QStringLiteral("checking");
    case RestoreFlow::State::Entering:
        return QStringLiteral("entering");
    case RestoreFlow::State::Planning:
        return QStringLiteral("comparing");
    case RestoreFlow::State::Writing:
        return QStringLiteral("writing");
    case RestoreFlow::State::Leaving:
        return QStringLiteral("leaving");
    default:
        return QString();
    }
}

} // namespace

CliRestore::CliRestore(FullEditionWiring& wiring, CliOutput& output, bool yes, QObject* parent)
    : QObject(parent), flow(wiring.restoreFlow()), out(output), yes(yes)
{
    connect(&flow, &RestoreFlow::stateChanged, this, &CliRestore::onState);
    connect(&flow, &RestoreFlow::changed, this, &CliRestore::onChanged);
}

QString CliRestore::folderFor(const QString& backup, const QString& backupsRoot)
{
    // A name is one folder below the backups folder, never one that climbs out of it; any
    // other folder is taken by its path (its manifest decides whether it is a backup).
    const bool plainName = !backup.contains(QLatin1Char('/')) && !backup.contains(QLatin1Char('\\'))
        && backup != QLatin1String(".") && backup != QLatin1String("..");
    if (plainName && !backupsRoot.isEmpty()) {
        const QFileInfo named(QDir(backupsRoot).filePath(backup));
        if (named.isDir())
            return named.absoluteFilePath();
    }
    const QFileInfo path(backup);
    return path.isDir() ? path.absoluteFilePath() : QString();
}

void CliRestore::list()
{
    flow.refresh();
    const QVariantList rows = flow.backupRows();
    if (rows.isEmpty()) {
        out.event(QStringLiteral("no_backups"), tr("There is no backup yet."));
        end(CliExitCode::kDone);
        return;
    }
    for (const QVariant& row : rows) {
        const QVariantMap map = row.toMap();
        const QString folder = map.value(QStringLiteral("folder")).toString();
        const QString name = QDir(folder).dirName();
        const QString text = map.value(QStringLiteral("text")).toString();
        out.print({{QStringLiteral("event"), QStringLiteral("backup")},
                   {QStringLiteral("name"), name},
                   {QStringLiteral("folder"), folder},
                   {QStringLiteral("text"), text}},
                  QStringLiteral("%1  %2").arg(name, text));
    }
    end(CliExitCode::kDone);
}

void CliRestore::start(const QString& firmware, const QString& backup, const QString& backupsRoot)
{
    if (!FirmwareVersion::offersTransfer(firmware)) {
        end(CliExitCode::kBackupFailed,
            tr("Restoring needs firmware 1.5.0 or later; the instrument has %1.").arg(firmware));
        return;
    }
    const QString folder = folderFor(backup, backupsRoot);
    if (folder.isEmpty()) {
        end(CliExitCode::kBackupFailed,
            backupsRoot.isEmpty() ? tr("There is no backup folder \"%1\".").arg(backup)
                                  : tr("There is no backup \"%1\", neither as a folder nor in %2. "
                                       "\"tavlo restore\" lists the backups.")
                                        .arg(backup, QDir::toNativeSeparators(backupsRoot)));
        return;
    }
    watching = true;
    flow.chooseFolder(folder);
    if (flow.state() == RestoreFlow::State::Idle && !ended)
        end(CliExitCode::kBackupFailed, tr("The restore could not be started; the instrument was not changed."));
}

void CliRestore::requestStop()
{
    if (ended || stopRequested)
        return;
    stopRequested = true;
    switch (flow.state()) {
    case RestoreFlow::State::Checking:
    case RestoreFlow::State::Writing:
        out.note(tr("Stopping the restore. Waiting for the instrument to return to normal mode."));
        flow.cancel();
        return;
    case RestoreFlow::State::Asking:
        flow.decline();
        return;
    case RestoreFlow::State::Entering:
    case RestoreFlow::State::Planning:
    case RestoreFlow::State::Leaving:
        // Nothing is written before the question, which is then answered no.
        out.note(tr("Stopping once the instrument can be returned to normal mode."));
        return;
    default:
        end(CliExitCode::kInterrupted);
        return;
    }
}

void CliRestore::onState(RestoreFlow::State state)
{
    if (!watching || ended)
        return;
    const RestoreFlow::State before = lastState;
    lastState = state;
    switch (state) {
    case RestoreFlow::State::Checking:
        out.event(QStringLiteral("restore_started"), flow.titleText());
        [[fallthrough]];
    case RestoreFlow::State::Entering:
    case RestoreFlow::State::Planning:
    case RestoreFlow::State::Writing:
    case RestoreFlow::State::Leaving:
        out.print({{QStringLiteral("event"), QStringLiteral("restore_step")},
                   {QStringLiteral("step"), stepName(state)}},
                  flow.statusText());
        return;
    case RestoreFlow::State::Asking:
        ask();
        return;
    case RestoreFlow::State::Done:
        out.print({{QStringLiteral("event"), QStringLiteral("restore_done")},
                   {QStringLiteral("folder"), flow.chosenFolder()},
                   {QStringLiteral("files"), flow.written()}},
                  flow.statusText());
        end(stopRequested ? CliExitCode::kInterrupted : CliExitCode::kDone);
        return;
    case RestoreFlow::State::Failed:
        checkFailed = before == RestoreFlow::State::Checking;
        out.print({{QStringLiteral("event"), QStringLiteral("restore_failed")},
                   {QStringLiteral("reason"), flow.statusText()},
                   {QStringLiteral("files"), flow.written()}},
                  QString());
        end(stopRequested ? CliExitCode::kInterrupted
            : checkFailed ? CliExitCode::kBackupChanged
                          : CliExitCode::kBackupFailed,
            flow.statusText());
        return;
    case RestoreFlow::State::Cancelled:
        out.print({{QStringLiteral("event"), QStringLiteral("restore_cancelled")},
                   {QStringLiteral("files"), flow.written()}},
                  flow.statusText());
        end(stopRequested ? CliExitCode::kInterrupted : CliExitCode::kRefused);
        return;
    case RestoreFlow::State::Idle:
    case RestoreFlow::State::Choosing:
        return;
    }
}

void CliRestore::ask()
{
    const QStringList lines = flow.differing();
    // One file a line below the flow's sentence; the names are the backup's, shown plain.
    QString text = flow.statusText();
    for (const QString& line : lines)
        text += QStringLiteral("\n  ") + line;
    out.print({{QStringLiteral("event"), QStringLiteral("restore_differing")},
               {QStringLiteral("files"), QJsonArray::fromStringList(lines)}},
              text);
    if (stopRequested) {
        flow.decline();
        return;
    }
    if (yes) {
        flow.confirm();
        return;
    }
    if (!CliPrompt::inputIsTerminal()) {
        out.note(tr("There is nobody at a terminal to answer, so nothing is replaced; add --yes "
                    "to replace the files."));
        flow.decline();
        return;
    }
    out.ask(tr("Replace these files on Tavlo? [y/N] "));
    CliPrompt::confirmLater(this, [this](bool replace) {
        if (ended || flow.state() != RestoreFlow::State::Asking)
            return;
        if (replace && !stopRequested)
            flow.confirm();
        else
            flow.decline();
    });
}

// The writing's progress: at most every few percent, and the end.
void CliRestore::onChanged()
{
    // Once the step is printed (the flow says it changed before it says its new state).
    if (!watching || ended || lastState != RestoreFlow::State::Writing || !flow.progressShown())
        return;
    const int percent = flow.progress();
    if (lastPercent >= 0 && percent < lastPercent + kPercentStep && !(percent == 100 && lastPercent < 100))
        return;
    lastPercent = percent;
    out.progress(QStringLiteral("restore"), tr("Restoring"), percent,
                 {{QStringLiteral("event"), QStringLiteral("restore_progress")},
                  {QStringLiteral("percent"), percent}});
}

void CliRestore::end(int code, const QString& problem)
{
    if (ended)
        return;
    ended = true;
    Q_EMIT finished(code, problem);
}
