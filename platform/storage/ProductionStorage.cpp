#include "ProductionStorage.h"

#include "DesktopFolderOpener.h"
#include "StorageInfoVolumeList.h"

#if defined(Q_OS_WIN)
#include "WindowsVolumeDismounter.h"
#elif defined(Q_OS_MACOS)
#include "MacVolumeDismounter.h"
#elif defined(Q_OS_LINUX)
#include "LinuxVolumeDismounter.h"
#endif

#include <VolumeDismounter.h>

#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS) && !defined(Q_OS_LINUX)
namespace {
// Where the system offers no way to dismount, the eject is reported as failed.
class UnsupportedVolumeDismounter : public VolumeDismounter
{
public:
    bool dismount(const QString&) override { return false; }
};
} // namespace
#endif

std::shared_ptr<VolumeList> createProductionVolumeList()
{
    return std::make_shared<StorageInfoVolumeList>();
}

std::shared_ptr<VolumeDismounter> createProductionVolumeDismounter(int lockAttempts,
                                                                   int lockRetryMs)
{
#if defined(Q_OS_WIN)
    return std::make_shared<WindowsVolumeDismounter>(lockAttempts, lockRetryMs);
#elif defined(Q_OS_MACOS)
    return std::make_shared<MacVolumeDismounter>();
#elif defined(Q_OS_LINUX)
    return std::make_shared<LinuxVolumeDismounter>();
#else
    return std::make_shared<UnsupportedVolumeDismounter>();
#endif
#if !defined(Q_OS_WIN)
    (void)lockAttempts;
    (void)lockRetryMs;
#endif
}

std::shared_ptr<FolderOpener> createProductionFolderOpener()
{
    return std::make_shared<DesktopFolderOpener>();
}
