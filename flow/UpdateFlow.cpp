#include "UpdateFlow.h"

#include "Presence.h"
#include "UpdateChoices.h"
#include "UpdateFlowTexts.h"

#include <QMetaObject>

#include <algorithm>

UpdateFlow::UpdateFlow(Presence& presence, const UpdateFlowPolicy& policy,
                       const FlowTimings& timings, QObject* parent)
    : QObject(parent), presence(presence), policy(policy), confirming(timings)
{
    // What the presence shows is part of what this flow shows (updateOffered, startEnabled).
    connect(&presence, &Presence::changed, this, [this] { changeNotice.now(); });
    connect(&presence, &Presence::lost, this, &UpdateFlow::onLost);
    connect(&presence, &Presence::versionReported, this,
            [this] { confirming.onVersionReported(this->presence.firmware()); });
    connect(&confirming, &UpdateConfirmation::stateChanged, this, &UpdateFlow::onConfirmation);
}

void UpdateFlow::setDownloader(QObject* object)
{
    downloader = object;
}

void UpdateFlow::setChoices(UpdateChoices* published)
{
    if (choices)
        disconnect(choices, nullptr, this, nullptr);
    choices = published;
    if (choices)
        connect(choices, &UpdateChoices::upToDateChanged, this, &UpdateFlow::showUpToDate);
}

bool UpdateFlow::started() const
{
    return current != State::Idle && current != State::Choosing;
}

bool UpdateFlow::updateOffered() const
{
    return current == State::Idle && !transferBusy && !finishOffered && presence.indicatorShown()
        && presence.indicator() == Presence::Indicator::Connected;
}

bool UpdateFlow::startEnabled() const
{
    return !policy.startNeedsConnection || presence.connected();
}

QString UpdateFlow::versionLineText() const
{
    if (screen.line == Line::UpToDate)
        return choices ? choices->upToDateText() : QString();
    return UpdateFlowTexts::versionLine(screen.line, latest, screen.lineDetail);
}

QString UpdateFlow::confirmationText() const
{
    return UpdateFlowTexts::confirmation(confirming.state(), installing, confirming.reported());
}

QString UpdateFlow::noticeText() const
{
    return UpdateFlowTexts::notice(screen.notice, screen.message);
}

void UpdateFlow::setState(State next)
{
    const bool changedState = current != next;
    current = next;
    // While the update runs, a found instrument changes nothing on screen; a failure screen
    // shows it again.
    presence.holdFound(next == State::Downloading || next == State::OtherRoute
                       || next == State::Copying || next == State::Succeeded);
    // From the update-mode message to the confirmation's end a sleep would cut the update off.
    // (Succeeded comes just before its confirmation starts.)
    const bool confirmationOpen = confirming.waiting()
        || confirming.state() == UpdateConfirmation::State::Idle;
    stayAwake.follow(next == State::Copying || (next == State::Succeeded && confirmationOpen));
    changeNotice.now();
    if (changedState)
        emit stateChanged(next);
}

void UpdateFlow::open()
{
    if (current != State::Idle || transferBusy)
        return;
    screen.lineShown = true;
    screen.noticeVisible = true;
    screen.startVisible = available;
    screen.exitVisible = !available;
    screen.choicesOn = choices != nullptr;
    setState(State::Choosing);
    showUpToDate();
}

void UpdateFlow::showUpToDate()
{
    if (!screen.choicesOn || !choices || !choices->upToDate())
        return;
    if (screen.line == Line::UpToDate && !screen.startVisible && screen.exitVisible)
        return;
    screen.line = Line::UpToDate;
    screen.startVisible = false;
    screen.exitVisible = true;
    changeNotice.now();
}

void UpdateFlow::beginUpdate()
{
    // While an interrupted update is offered, the instrument waits in update mode: whatever
    // starts now finishes it, without a second update-mode message.
    const bool inUpdateMode = finishOffered;
    finishOffered = false;
    emit updateStarting(inUpdateMode);
    setState(State::Downloading);
}

void UpdateFlow::finishInterrupted()
{
    if (!finishOffered || current != State::Idle || transferBusy)
        return;
    open();
    if (current != State::Choosing)
        return;
    if (choices)
        choices->chooseDefault();
    fetch();
}

void UpdateFlow::setFinishOffered(bool offered)
{
    finishOffered = offered;
    changeNotice.now();
}

void UpdateFlow::start()
{
    if (current != State::Choosing || !screen.startVisible || !startEnabled())
        return;
    if (choices)
        choices->chooseDefault();
    fetch();
}

void UpdateFlow::startChosen()
{
    if (current == State::Choosing)
        fetch();
}

void UpdateFlow::fetch()
{
    screen.leaveChoices();
    beginUpdate();
    // After the state: a download that fails at once reports while the call runs.
    if (downloader)
        QMetaObject::invokeMethod(downloader, "downloadFile");
}

QString UpdateFlow::installLocal(const QString& urlOrPath, const QString& summary)
{
    if (current != State::Choosing || !choices)
        return UpdateFlowTexts::cannotInstallNow();
    // Started first: the file is handed on while the call runs.
    const UpdateScreen before = screen;
    screen.leaveChoices();
    screen.line = Line::LocalFile;
    screen.lineDetail = summary;
    beginUpdate();
    const QString problem = choices->installLocalFile(urlOrPath);
    if (problem.isEmpty())
        return problem;
    // Nothing went on: back to the update screen as it was.
    screen = before;
    setState(State::Choosing);
    return problem;
}

void UpdateFlow::retry()
{
    if (current != State::Failed && current != State::NotFinished)
        return;
    confirming.cancel();
    presence.expectAbsence(false);
    // The update screen anew, as after "Update".
    screen.close();
    screen.progressVisible = false;
    screen.line = latest.isEmpty() ? Line::Looking : Line::Latest;
    current = State::Idle;
    open();
}

void UpdateFlow::onLatestVersion(const QString& version)
{
    const Line before = screen.line;
    const bool offerLine = before == Line::Looking || before == Line::NotFound
        || before == Line::Latest || before == Line::AlreadyInstalled || before == Line::UpToDate;
    if (!screen.resultShown && offerLine)
        screen.line = Line::Latest;
    // A catalogue hands on every entry in turn: what is shown changes with most of them, and
    // the window hears of it once per event-loop turn. Every other report is told at once
    // ("tavlo" prints each step of the progress).
    if (screen.line != before || latest != version)
        changeNotice.mark();
    latest = version;
    showUpToDate();
}

void UpdateFlow::onDownloadProgress(qlonglong value)
{
    if (!started())
        return;
    screen.showProgress(policy.progressAsText, int(std::clamp<qlonglong>(value, -1, 101)),
                        QStringLiteral("downloading"), UpdateFlowTexts::downloading(value));
    setState(State::Downloading);
}

void UpdateFlow::onDownloaded(bool success)
{
    if (success && (current == State::Downloading || current == State::OtherRoute)) {
        installing = fileVersion ? fileVersion() : QString();
        setState(State::Copying);
    }
}

void UpdateFlow::onCopyProgress(int value)
{
    if (!started())
        return;
    screen.showProgress(policy.progressAsText, value, QStringLiteral("transfer"),
                        QString::number(value) + QLatin1Char('%'));
    setState(State::Copying);
}

void UpdateFlow::onCopyProgressText(const QString& value)
{
    if (!started())
        return;
    // The text arrives with its percent sign ("40%").
    screen.showProgress(policy.progressAsText, value.left(value.indexOf(QLatin1Char('%'))).toInt(),
                        QStringLiteral("transfer"), UpdateFlowTexts::copying(value));
    setState(State::Copying);
}

void UpdateFlow::onVersionCheck(bool installed)
{
    if (!installed)
        return;
    screen.line = Line::AlreadyInstalled;
    screen.notice = Notice::AlreadyInstalled;
    qInfo("The latest version is already installed!");
    available = false;
    changeNotice.now();
}

void UpdateFlow::onFailureReason(const QString& why)
{
    lastFailureReason = why;
    if (why.isEmpty())
        return;
    if (!started()) {
        // The catalogue could not be had: the version line says so instead of waiting.
        if (latest.isEmpty()) {
            screen.line = Line::NotFound;
            changeNotice.now();
        }
        return;
    }
    if (policy.failsOnReason && current != State::Failed) {
        screen.line = Line::DownloadFailed;
        screen.noticeVisible = false;
        screen.showFailure(why);
        setState(State::Failed);
    }
}

void UpdateFlow::onDownloadStatus(bool success, const QString& text)
{
    if (!started() || current == State::Failed)
        return;
    screen.progressVisible = false;
    if (!success) {
        screen.line = Line::DownloadFailed;
        screen.message = text;
        screen.notice = Notice::Message;
        screen.noticeVisible = true;
        // The reason is shown once: not again under a message that already says it.
        screen.showFailure(lastFailureReason == text ? QString() : lastFailureReason);
        setState(State::Failed);
        return;
    }
    screen.line = Line::OtherRoute;
    screen.message = text;
    screen.notice = Notice::Message;
    screen.noticeVisible = true;
    screen.exitVisible = false;
    setState(State::OtherRoute);
}

void UpdateFlow::onTransferFailureReason(const QString& why)
{
    storageReason = why;
}

void UpdateFlow::onCopyResult(bool success)
{
    if (!started() || current == State::NotFinished || current == State::Failed)
        return;
    screen.choicesOn = false;
    screen.resultShown = true;
    screen.exitVisible = true;
    screen.progressVisible = false;
    if (success) {
        screen.line = Line::Complete;
        screen.notice = Notice::Complete;
        // The instrument reboots to apply the update: its absence is expected, not shown.
        presence.expectAbsence(true);
        if (policy.hideIndicatorOnSuccess)
            presence.hideIndicator();
        setState(State::Succeeded);
        confirming.start(installing);
        return;
    }
    // The instrument switched to update mode before the copy; no message brings it back.
    failTransfer(storageReason + UpdateFlowTexts::stillInUpdateMode());
}

void UpdateFlow::onUpdateModeFailed(const QString& why)
{
    if (!started() || current == State::NotFinished || current == State::Failed)
        return;
    failTransfer(why);
}

void UpdateFlow::failTransfer(const QString& why)
{
    screen.progressVisible = false;
    presence.expectAbsence(false);
    screen.line = Line::TransferFailed;
    screen.notice = Notice::TransferFailed;
    screen.showFailure(why);
    storageReason.clear();
    setState(State::Failed);
}

void UpdateFlow::onUpdateFinishFailed(const QString& why)
{
    confirming.cancel();
    presence.expectAbsence(false);
    screen.progressVisible = false;
    screen.line = Line::NotFinished;
    screen.notice = Notice::NotFinished;
    screen.lineShown = true;
    screen.noticeVisible = true;
    screen.showFailure(why);
    setState(State::NotFinished);
}

void UpdateFlow::onConfirmation(UpdateConfirmation::State state)
{
    using Confirmation = UpdateConfirmation::State;
    if (current != State::Succeeded)
        return;
    const bool failed = state == Confirmation::OtherVersion || state == Confirmation::NotBack;
    if (failed || state == Confirmation::Confirmed)
        presence.expectAbsence(false);
    stayAwake.follow(confirming.waiting());
    if (!failed)
        return changeNotice.now();
    // Handed over, but not confirmed: a failure with the firmware it came back with.
    screen.line = state == Confirmation::OtherVersion ? Line::NotApplied : Line::NotConfirmed;
    screen.noticeVisible = false;
    screen.showFailure(UpdateFlowTexts::notConfirmed(state, confirming.reported()));
    setState(State::Failed);
}

void UpdateFlow::setTransferBusy(bool busy)
{
    transferBusy = busy;
    changeNotice.now();
}

void UpdateFlow::onLost()
{
    // Unplugged while the update ran: what ran was cancelled (UpdatePathConnections), the
    // window waits for the instrument again. An end screen stays: a failure says what to do.
    if (endShown())
        return;
    if (started() || (policy.leaveScreenOnLoss && current == State::Choosing))
        backToWaiting();
}

void UpdateFlow::backToWaiting()
{
    presence.expectAbsence(false);
    screen.progressVisible = false;
    screen.close();
    screen.line = latest.isEmpty() ? screen.line : Line::Latest;
    if (screen.line == Line::Progress || screen.line == Line::LocalFile)
        screen.line = Line::Looking;
    setState(State::Idle);
}
