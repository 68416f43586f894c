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
    if (line == Line::UpToDate)
        return choices ? choices->upToDateText() : QString();
    return UpdateFlowTexts::versionLine(line, latest, lineDetail);
}

QString UpdateFlow::confirmationText() const
{
    return UpdateFlowTexts::confirmation(confirming.state(), installing, confirming.reported());
}

QString UpdateFlow::noticeText() const
{
    return UpdateFlowTexts::notice(notice, message);
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
    lineShown = true;
    noticeVisible = true;
    startVisible = available;
    exitVisible = !available;
    choicesOn = choices != nullptr;
    setState(State::Choosing);
    showUpToDate();
}

void UpdateFlow::showUpToDate()
{
    if (!choicesOn || !choices || !choices->upToDate())
        return;
    if (line == Line::UpToDate && !startVisible && exitVisible)
        return;
    line = Line::UpToDate;
    startVisible = false;
    exitVisible = true;
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
    leaveChoices();
    beginUpdate();
    if (downloader)
        QMetaObject::invokeMethod(downloader, "downloadFile");
}

void UpdateFlow::setFinishOffered(bool offered)
{
    finishOffered = offered;
    changeNotice.now();
}

void UpdateFlow::start()
{
    if (current != State::Choosing || !startVisible || !startEnabled())
        return;
    if (choices)
        choices->chooseDefault();
    leaveChoices();
    beginUpdate();
    // After the state: a download that fails at once reports while the call runs.
    if (downloader)
        QMetaObject::invokeMethod(downloader, "downloadFile");
}

void UpdateFlow::startChosen()
{
    if (current != State::Choosing)
        return;
    leaveChoices();
    beginUpdate();
    if (downloader)
        QMetaObject::invokeMethod(downloader, "downloadFile");
}

QString UpdateFlow::installLocal(const QString& urlOrPath, const QString& summary)
{
    if (current != State::Choosing || !choices)
        return UpdateFlowTexts::cannotInstallNow();
    // Started first: the file is handed on while the call runs.
    const bool wasStartShown = startVisible;
    const bool wasExitShown = exitVisible;
    const Line wasLine = line;
    leaveChoices();
    line = Line::LocalFile;
    lineDetail = summary;
    beginUpdate();
    const QString problem = choices->installLocalFile(urlOrPath);
    if (problem.isEmpty())
        return problem;
    // Nothing went on: back to the update screen as it was.
    choicesOn = true;
    startVisible = wasStartShown;
    exitVisible = wasExitShown;
    line = wasLine;
    setState(State::Choosing);
    return problem;
}

void UpdateFlow::leaveChoices()
{
    choicesOn = false;
    startVisible = false;
    exitVisible = false;
}

void UpdateFlow::retry()
{
    if (current != State::Failed && current != State::NotFinished)
        return;
    confirming.cancel();
    presence.expectAbsence(false);
    resultShown = false;
    reason.clear();
    retryVisible = false;
    exitVisible = false;
    progressVisible = false;
    notice = Notice::Warning;
    line = latest.isEmpty() ? Line::Looking : Line::Latest;
    current = State::Idle;
    open();
}

void UpdateFlow::onLatestVersion(const QString& version)
{
    const Line before = line;
    const bool offerLine = line == Line::Looking || line == Line::NotFound || line == Line::Latest
        || line == Line::AlreadyInstalled || line == Line::UpToDate;
    if (!resultShown && offerLine)
        line = Line::Latest;
    // A catalogue hands on every entry in turn: what is shown changes with most of them, and
    // the window hears of it once per event-loop turn. Every other report is told at once
    // ("tavlo" prints each step of the progress).
    if (line != before || latest != version)
        changeNotice.mark();
    latest = version;
    showUpToDate();
}

void UpdateFlow::showProgress(int value, const QString& progressMode, const QString& asText)
{
    if (policy.progressAsText) {
        line = Line::Progress;
        lineDetail = asText;
    } else {
        percent = std::clamp(value, 0, 100);
        mode = progressMode;
        progressVisible = true;
        lineShown = false;
    }
}

void UpdateFlow::onDownloadProgress(qlonglong value)
{
    if (!started())
        return;
    showProgress(int(std::clamp<qlonglong>(value, -1, 101)), QStringLiteral("downloading"),
                 UpdateFlowTexts::downloading(value));
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
    showProgress(value, QStringLiteral("transfer"), QString::number(value) + QLatin1Char('%'));
    setState(State::Copying);
}

void UpdateFlow::onCopyProgressText(const QString& value)
{
    if (!started())
        return;
    // The text arrives with its percent sign ("40%").
    showProgress(value.left(value.indexOf(QLatin1Char('%'))).toInt(), QStringLiteral("transfer"),
                 UpdateFlowTexts::copying(value));
    setState(State::Copying);
}

void UpdateFlow::onVersionCheck(bool installed)
{
    if (!installed)
        return;
    line = Line::AlreadyInstalled;
    notice = Notice::AlreadyInstalled;
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
            line = Line::NotFound;
            changeNotice.now();
        }
        return;
    }
    if (policy.failsOnReason && current != State::Failed) {
        line = Line::DownloadFailed;
        noticeVisible = false;
        showFailure(why);
        setState(State::Failed);
    }
}

void UpdateFlow::onDownloadStatus(bool success, const QString& text)
{
    if (!started() || current == State::Failed)
        return;
    progressVisible = false;
    if (!success) {
        line = Line::DownloadFailed;
        message = text;
        notice = Notice::Message;
        noticeVisible = true;
        // The reason is shown once: not again under a message that already says it.
        showFailure(lastFailureReason == text ? QString() : lastFailureReason);
        setState(State::Failed);
        return;
    }
    line = Line::OtherRoute;
    message = text;
    notice = Notice::Message;
    noticeVisible = true;
    exitVisible = false;
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
    choicesOn = false;
    resultShown = true;
    exitVisible = true;
    progressVisible = false;
    if (success) {
        line = Line::Complete;
        notice = Notice::Complete;
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
    progressVisible = false;
    presence.expectAbsence(false);
    line = Line::TransferFailed;
    notice = Notice::TransferFailed;
    showFailure(why);
    storageReason.clear();
    setState(State::Failed);
}

void UpdateFlow::onUpdateFinishFailed(const QString& why)
{
    confirming.cancel();
    presence.expectAbsence(false);
    progressVisible = false;
    line = Line::NotFinished;
    notice = Notice::NotFinished;
    lineShown = true;
    noticeVisible = true;
    showFailure(why);
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
    line = state == Confirmation::OtherVersion ? Line::NotApplied : Line::NotConfirmed;
    noticeVisible = false;
    showFailure(UpdateFlowTexts::notConfirmed(state, confirming.reported()));
    setState(State::Failed);
}

void UpdateFlow::setTransferBusy(bool busy)
{
    transferBusy = busy;
    changeNotice.now();
}

void UpdateFlow::showFailure(const QString& why)
{
    choicesOn = false;
    resultShown = true;
    if (!why.isEmpty())
        reason = why;
    exitVisible = true;
    retryVisible = true;
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

void UpdateFlow::closeScreen()
{
    resultShown = false;
    reason.clear();
    retryVisible = false;
    exitVisible = false;
    startVisible = false;
    choicesOn = false;
    lineShown = false;
    noticeVisible = false;
    notice = Notice::Warning;
}

void UpdateFlow::backToWaiting()
{
    presence.expectAbsence(false);
    progressVisible = false;
    closeScreen();
    line = latest.isEmpty() ? line : Line::Latest;
    if (line == Line::Progress || line == Line::LocalFile)
        line = Line::Looking;
    setState(State::Idle);
}
