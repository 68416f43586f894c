#include "FlowScript.h"

#include <QMetaEnum>
#include <QTest>

FlowScript::FlowScript(const UpdateFlowPolicy& policy)
    : update(presence, policy, FlowTimings{kConfirmMs, kSettleMs}), transfer(presence, update)
{
    update.setDownloader(this);
    update.setFileVersionSource([this] { return fileVersion; });
    transfer.setLink(this);
    transfer.setBridge(this);
    connect(&interrupted, &InterruptedUpdate::lookForUpdateVolume, this, [this] { ++looks; });
    connect(&update, &UpdateFlow::updateStarting, this, [this](bool inUpdateMode) {
        starts << (inUpdateMode ? QStringLiteral("in update mode") : QStringLiteral("normal"));
    });
}

bool FlowScript::play(const QStringList& steps)
{
    for (const QString& text : steps) {
        const QString verb = text.section(QLatin1Char(' '), 0, 0);
        const QString rest = text.section(QLatin1Char(' '), 1);
        if (!step(verb, rest)) {
            problem = text;
            return false;
        }
    }
    return true;
}

bool FlowScript::step(const QString& verb, const QString& rest)
{
    const auto is = [&verb](const char* word) { return verb == QLatin1String(word); };
    if (is("found") || is("lost"))
        presence.onDeviceFound(is("found"));
    else if (is("version"))
        presence.onVersionReported(rest);
    else if (is("latest"))
        update.onLatestVersion(rest);
    else if (is("reason"))
        update.onFailureReason(rest);
    else if (is("installed"))
        update.onVersionCheck(true);
    else if (is("status"))
        update.onDownloadStatus(rest.startsWith(QLatin1String("ok")), rest.section(QLatin1Char(' '), 1));
    else if (is("download"))
        update.onDownloadProgress(rest.toLongLong());
    else if (is("file"))
        fileVersion = rest;
    else if (is("volume"))
        interrupted.onUpdateVolumeWaiting(rest == QLatin1String("yes"));
    else if (is("finish"))
        interrupted.finish();
    else if (is("elapse"))
        QTest::qWait(rest.toInt());
    else if (is("downloaded"))
        update.onDownloaded(true);
    else if (is("copy"))
        update.onCopyProgress(rest.toInt());
    else if (is("copied"))
        update.onCopyResult(true);
    else if (is("copyFailed")) {
        update.onTransferFailureReason(rest);
        update.onCopyResult(false);
    } else if (is("notFinished"))
        update.onUpdateFinishFailed(rest);
    else if (is("modeFailed"))
        update.onUpdateModeFailed(rest);
    else if (is("ack"))
        transfer.onTransferAcknowledged();
    else if (is("endAck"))
        transfer.onTransferEndAcknowledged();
    else if (is("refused"))
        transfer.onVolumeRefused(rest);
    else if (is("ejectFailed"))
        transfer.onEjectResult(false);
    else if (is("open"))
        update.open();
    else if (is("start"))
        update.start();
    else if (is("retry"))
        update.retry();
    else if (is("transfer"))
        transfer.start();
    else if (is("done"))
        transfer.done();
    else
        return false;
    return true;
}

QString FlowScript::shown() const
{
    const auto key = [](auto value) {
        return QString::fromLatin1(QMetaEnum::fromType<decltype(value)>().valueToKey(int(value)));
    };
    QStringList buttons;
    if (update.updateOffered())
        buttons << QStringLiteral("update");
    if (transfer.offered())
        buttons << QStringLiteral("transfer");
    if (interrupted.offered())
        buttons << QStringLiteral("finish");
    if (update.startShown())
        buttons << (update.startEnabled() ? QStringLiteral("start") : QStringLiteral("start(dim)"));
    if (update.exitShown())
        buttons << QStringLiteral("exit");
    if (update.retryShown())
        buttons << QStringLiteral("retry");
    if (transfer.screenShown())
        buttons << QStringLiteral("folders");
    QString what = key(update.state()) + QLatin1Char(' ') + key(update.versionLine());
    if (update.progressShown())
        what += QStringLiteral(" %1%").arg(update.progress());
    if (transfer.state() != TransferFlow::State::Idle)
        what += QLatin1Char(' ') + key(transfer.state());
    const QString notice = update.noticeShown() ? update.noticeText().left(24).trimmed() : QStringLiteral("-");
    const QString why = update.reasonText().isEmpty() ? transfer.volumeProblem() : update.reasonText();
    const QString reason = why.isEmpty() ? QString() : QStringLiteral(" / ") + why.left(24).trimmed();
    const QString confirmation = update.confirmationText().isEmpty()
        ? QString() : QStringLiteral(" + ") + update.confirmationText().left(36).trimmed();
    const QString indicator = presence.indicatorShown() ? presence.dotColor() : QStringLiteral("hidden");
    if (buttons.isEmpty())
        buttons << QStringLiteral("-");
    return what + QStringLiteral(" | ") + notice + reason + confirmation + QStringLiteral(" | ") + buttons.join(QLatin1Char(' '))
        + QStringLiteral(" | ") + indicator;
}
