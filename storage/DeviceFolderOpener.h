#pragma once

#include "VolumeLookup.h"

#include <memory>

class FolderOpener;

// The full edition's folder opening: shows a folder of the labelled volume in the desktop's
// file browser. A missing volume does nothing; whether the folder exists is not checked.
class DeviceFolderOpener
{
public:
    DeviceFolderOpener(std::shared_ptr<VolumeList> volumes, std::shared_ptr<FolderOpener> folders);

    // relativePath is joined with the volume's root (an absolute path stays as it is).
    void open(const QString& label, const QString& relativePath);

private:
    VolumeLookup lookup;
    std::shared_ptr<FolderOpener> folders;
};
