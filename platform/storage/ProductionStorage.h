#pragma once

#include <memory>

class FolderOpener;
class VolumeDismounter;
class VolumeList;

// The real storage seams of the system the program runs on.
std::shared_ptr<VolumeList> createProductionVolumeList();
// lockAttempts and lockRetryMs: the Windows lock retries before a dismount.
std::shared_ptr<VolumeDismounter> createProductionVolumeDismounter(int lockAttempts,
                                                                   int lockRetryMs);
std::shared_ptr<FolderOpener> createProductionFolderOpener();
