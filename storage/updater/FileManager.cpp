#include "storage/updater/FileManager.h"

#include <VolumeStillPresent.h>

FileManager::FileManager(std::shared_ptr<VolumeList> volumes, const StorageTimings& timings,
                         QObject* parent)
    : QObject(parent)
    , FileManagerCore(this, volumes, std::make_shared<VolumeStillPresent>(volumes),
                      HandOverReports::ProgressForm::Text, timings)
{
    reports().relaySignalsTo(this);
    connect(&reports(), &HandOverReports::copyProgressText, this, &FileManager::copyProgress);
}
