#include "StandInFlows.h"

#include "FlowConnections.h"
#include "StandInDownloader.h"
#include "StandInFileManagerBridge.h"
#include "StandInMainController.h"
#include "StandInMidiHandler.h"
#include "StandInUpdaterMainController.h"
#include "WindowDriver.h"

#include <QCoreApplication>
#include <QEvent>

StandInFlows::StandInFlows(StandInMidiHandler& midi, StandInDownloader& downloader,
                           StandInMainController& controller, StandInFileManagerBridge& bridge)
    : update(presence, UpdateFlowPolicy::fullEdition(), FlowTimings::production()), transfer(presence, update),
      hasTransfer(true)
{
    FlowConnections::connectUpdate(midi, downloader, controller, presence, update);
    FlowConnections::connectDownloadStatus(downloader, update);
    FlowConnections::connectTransfer(midi, &bridge, transfer);
}

StandInFlows::StandInFlows(StandInMidiHandler& midi, StandInDownloader& downloader,
                           StandInUpdaterMainController& controller)
    : update(presence, UpdateFlowPolicy::updateOnlyEdition(), FlowTimings::production()), transfer(presence, update)
{
    FlowConnections::connectUpdate(midi, downloader, controller, presence, update);
}

void StandInFlows::deliverNotices()
{
    // The presence's notice is the update flow's as well: its own comes after.
    QCoreApplication::sendPostedEvents(&presence, QEvent::MetaCall);
    QCoreApplication::sendPostedEvents(&update, QEvent::MetaCall);
    QCoreApplication::sendPostedEvents(&transfer, QEvent::MetaCall);
}

void StandInFlows::publishTo(WindowDriver& driver)
{
    driver.publish(QStringLiteral("presence"), &presence);
    driver.publish(QStringLiteral("updateFlow"), &update);
    if (hasTransfer)
        driver.publish(QStringLiteral("transferFlow"), &transfer);
}
