#include "WindowsVolumeUsb.h"

#include "UsbDeviceChain.h"
#include "WindowsDevicePath.h"

#include <windows.h>
#include <initguid.h>
#include <winioctl.h>
#include <setupapi.h>
#include <cfgmgr32.h>

#include <vector>

namespace {

// The storage device number of what path opens (a volume or a disk); false when unreadable.
bool deviceNumberOf(const wchar_t* path, STORAGE_DEVICE_NUMBER* number)
{
    // No access rights are asked for: the number can be read without them, and nothing is
    // held that would keep the volume from being locked later.
    HANDLE handle = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD bytes = 0;
    const BOOL ok = DeviceIoControl(handle, IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, number,
                                    sizeof(*number), &bytes, nullptr);
    CloseHandle(handle);
    return ok && bytes >= sizeof(*number);
}

// The device instance of the present disk with this number; 0 when there is none.
DEVINST diskWithNumber(const STORAGE_DEVICE_NUMBER& wanted)
{
    HDEVINFO disks = SetupDiGetClassDevsW(&GUID_DEVINTERFACE_DISK, nullptr, nullptr,
                                          DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (disks == INVALID_HANDLE_VALUE)
        return 0;
    DEVINST found = 0;
    SP_DEVICE_INTERFACE_DATA iface;
    iface.cbSize = sizeof(iface);
    for (DWORD index = 0;
         found == 0 && SetupDiEnumDeviceInterfaces(disks, nullptr, &GUID_DEVINTERFACE_DISK, index, &iface);
         ++index) {
        DWORD required = 0;
        SetupDiGetDeviceInterfaceDetailW(disks, &iface, nullptr, 0, &required, nullptr);
        if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) || required > 64 * 1024)
            continue;
        std::vector<unsigned char> buffer(required);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        SP_DEVINFO_DATA device;
        device.cbSize = sizeof(device);
        if (!SetupDiGetDeviceInterfaceDetailW(disks, &iface, detail, required, nullptr, &device))
            continue;
        STORAGE_DEVICE_NUMBER number;
        if (deviceNumberOf(detail->DevicePath, &number) && number.DeviceType == wanted.DeviceType
            && number.DeviceNumber == wanted.DeviceNumber)
            found = device.DevInst;
    }
    SetupDiDestroyDeviceInfoList(disks);
    return found;
}

} // namespace

UsbNameMatching::Result WindowsVolumeUsb::lookUp(const std::wstring& root)
{
    const std::wstring volumePath = WindowsDevicePath::fromRoot(root);
    if (volumePath.empty())
        return {};
    STORAGE_DEVICE_NUMBER volumeNumber;
    if (!deviceNumberOf(volumePath.c_str(), &volumeNumber))
        return {};
    DEVINST device = diskWithNumber(volumeNumber);
    std::vector<std::wstring> chain;
    // The device tree is shallow; the bound only guards against a loop.
    for (int depth = 0; device != 0 && depth < 32; ++depth) {
        wchar_t id[MAX_DEVICE_ID_LEN + 1] = {};
        if (CM_Get_Device_IDW(device, id, MAX_DEVICE_ID_LEN, 0) != CR_SUCCESS)
            break;
        chain.emplace_back(id);
        DEVINST parent = 0;
        if (CM_Get_Parent(&parent, device, 0) != CR_SUCCESS)
            break;
        device = parent;
    }
    return UsbDeviceChain::identityOf(chain);
}
