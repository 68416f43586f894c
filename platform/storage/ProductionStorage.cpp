#include "ProductionStorage.h"

#include "DesktopFolderOpener.h"
#include "StorageInfoVolumeList.h"

#if defined(Q_OS_WIN)
#include "WindowsVolumeDismounter.h"
#include "WindowsVolumeUsb.h"
#elif defined(Q_OS_MACOS)
#include "MacVolumeDismounter.h"
#include "MacVolumeUsb.h"
#include "QProcessRunner.h"
#elif defined(Q_OS_LINUX)
#include "LinuxVolumeDismounter.h"
#endif

#include <SysfsUsbDevice.h>
#include <VolumeDismounter.h>

#include <QFileInfo>

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
#if defined(Q_OS_LINUX)
    // The block device's name as the kernel knows it: a link such as /dev/mapper/x or
    // /dev/disk/by-label/y is followed to its node first.
    return std::make_shared<StorageInfoVolumeList>([](const QByteArray& device, const QString&) {
        const QString path = QString::fromLocal8Bit(device);
        const QString node = QFileInfo(path).canonicalFilePath();
        return SysfsUsbDevice::ofBlockDevice(QStringLiteral("/sys"), node.isEmpty() ? path : node);
    });
#elif defined(Q_OS_WIN)
    return std::make_shared<StorageInfoVolumeList>([](const QByteArray&, const QString& root) {
        const UsbNameMatching::Result found = WindowsVolumeUsb::lookUp(root.toStdWString());
        UsbIds ids;
        ids.vendorId = QString::fromStdWString(found.vendorId);
        ids.productId = QString::fromStdWString(found.productId);
        ids.found = found.found && !ids.vendorId.isEmpty() && !ids.productId.isEmpty();
        return ids;
    });
#elif defined(Q_OS_MACOS)
    // One listing asks for every volume; the USB list is read once per listing.
    auto usb = std::make_shared<MacVolumeUsb>(std::make_shared<QProcessRunner>(10000), 1000);
    return std::make_shared<StorageInfoVolumeList>([usb](const QByteArray& device, const QString&) {
        return usb->lookUp(device.toStdString());
    });
#else
    // Elsewhere the device behind a volume cannot be told: the label alone decides.
    return std::make_shared<StorageInfoVolumeList>();
#endif
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
