#pragma once

#include <memory>

class FolderOpener;
class VolumeDismounter;
class VolumeList;

// The real storage seams of the system the program runs on.
std::shared_ptr<VolumeList> createProductionVolumeList();
std::shared_ptr<VolumeDismounter> createProductionVolumeDismounter();
std::shared_ptr<FolderOpener> createProductionFolderOpener();
