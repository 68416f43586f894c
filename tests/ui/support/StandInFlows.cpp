#include "StandInFlows.h"

#include "FlowConnections.h"
#include "StandInDownloader.h"
#include "StandInFileManagerBridge.h"
#include "StandInMainController.h"
#include "StandInMidiHandler.h"
#include "StandInUpdaterMainController.h"
#include "SleepGuard.h"
#include "WindowDriver.h"

#include <QCoreApplication>
#include <QEvent>

namespace {
// The computer agrees to stay awake: the update screen says so while the update needs it.
class AgreeingSleepGuard : public SleepGuard
{
public:
    bool hold(const QString&) override { return true; }
    void release() override {}
};
} // namespace

StandInFlows::StandInFlows(StandInMidiHandler& midi, StandInDownloader& downloader,
                           StandInMainController& controller, StandInFileManagerBridge& bridge)
    : update(presence, UpdateFlowPolicy::fullEdition(), FlowTimings::production()), transfer(presence, update),
      hasTransfer(true)
{
    FlowConnections::connectUpdate(midi, downloader, controller, presence, update);
    update.setSleepGuard(std::make_shared<AgreeingSleepGuard>());
    FlowConnections::connectDownloadStatus(downloader, update);
    FlowConnections::connectTransfer(midi, &bridge, transfer);
}

StandInFlows::StandInFlows(StandInMidiHandler& midi, StandInDownloader& downloader,
                           StandInUpdaterMainController& controller)
    : update(presence, UpdateFlowPolicy::updateOnlyEdition(), FlowTimings::production()), transfer(presence, update)
{
    FlowConnections::connectUpdate(midi, downloader, controller, presence, update);
    update.setSleepGuard(std::make_shared<AgreeingSleepGuard>());
}

void StandInFlows::deliverNotices()
{
    // The presence's notice is the update flow's as well: its own comes after.
    QCoreApplication::sendPostedEvents(&presence, QEvent::MetaCall);
    QCoreApplication::sendPostedEvents(&update, QEvent::MetaCall);
    QCoreApplication::sendPostedEvents(&transfer, QEvent::MetaCall);
    QCoreApplication::sendPostedEvents(&interrupted, QEvent::MetaCall);
}

void StandInFlows::publishTo(WindowDriver& driver)
{
    driver.publish(QStringLiteral("presence"), &presence);
    driver.publish(QStringLiteral("updateFlow"), &update);
    driver.publish(QStringLiteral("interruptedUpdate"), &interrupted);
    if (hasTransfer)
        driver.publish(QStringLiteral("transferFlow"), &transfer);
}
