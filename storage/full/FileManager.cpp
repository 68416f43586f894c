#include "storage/full/FileManager.h"

FileManager::FileManager(std::shared_ptr<VolumeList> volumes,
                         std::shared_ptr<VolumeDismounter> dismounter,
                         std::shared_ptr<FolderOpener> folders, const StorageTimings& timings,
                         QObject* parent)
    : QObject(parent)
    , FileManagerCore(this, volumes, std::make_shared<VolumeEjector>(volumes, dismounter),
                      HandOverReports::ProgressForm::Percentage, timings)
    , ejector(volumes, dismounter)
    , folders(volumes, std::move(folders))
{
    reports().relaySignalsTo(this);
    connect(&reports(), &HandOverReports::copyPercentage, this, &FileManager::copyProgress);
}
