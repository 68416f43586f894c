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
    backup = std::make_unique<BackupFlow>(presence, transfer, update);
    backup->setBackupsRoot(kBackupsRoot);
    // The window tests of the update start it at once: the option "Back up Tavlo's projects
    // first" (on in the program) is off until a test turns it on (the step "backupFirst on").
    backup->setBeforeUpdate(false);
    restore = std::make_unique<RestoreFlow>(presence, transfer);
    restore->setLister(&StandInFlows::backupsListed);
    // A new backup is one more to restore from, as the wiring has it.
    QObject::connect(backup.get(), &BackupFlow::stateChanged, restore.get(), [this](BackupFlow::State state) {
        if (state == BackupFlow::State::Done || state == BackupFlow::State::Idle)
            restore->refresh();
    });
}

const QString StandInFlows::kBackupsRoot = QStringLiteral("/home/maria/Documents/Tavlo Backups");

QList<BackupList::Item> StandInFlows::backupsListed()
{
    const auto item = [](const char* name, QDateTime created, const char* firmware, int files, qint64 bytes) {
        const QString folderName = QString::fromUtf8(name);
        return BackupList::Item{kBackupsRoot + QLatin1Char('/') + folderName, folderName, created,
                                QString::fromLatin1(firmware), files, bytes};
    };
    return {item("2026-12-09 14-03 firmware 1.5.2", QDateTime(QDate(2026, 12, 9), QTime(14, 3), Qt::UTC), "1.5.2",
                 214, 187340800),
            item("2026-11-28 19-47 firmware 1.5.0", QDateTime(QDate(2026, 11, 28), QTime(19, 47), Qt::UTC), "1.5.0",
                 198, 171966464),
            item("2026-10-02 08-15 firmware 1.4.9", QDateTime(QDate(2026, 10, 2), QTime(8, 15), Qt::UTC), "1.4.9",
                 143, 96468992)};
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
    if (backup)
        QCoreApplication::sendPostedEvents(backup.get(), QEvent::MetaCall);
    if (restore)
        QCoreApplication::sendPostedEvents(restore.get(), QEvent::MetaCall);
}

void StandInFlows::publishTo(WindowDriver& driver)
{
    driver.publish(QStringLiteral("presence"), &presence);
    driver.publish(QStringLiteral("updateFlow"), &update);
    driver.publish(QStringLiteral("interruptedUpdate"), &interrupted);
    if (hasTransfer)
        driver.publish(QStringLiteral("transferFlow"), &transfer);
    if (backup)
        driver.publish(QStringLiteral("backupFlow"), backup.get());
    if (restore)
        driver.publish(QStringLiteral("restoreFlow"), restore.get());
}
