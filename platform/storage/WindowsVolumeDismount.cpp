#include "WindowsVolumeDismount.h"

#include "VolumeHandleApi.h"
#include "WindowsDevicePath.h"

#include <windows.h>
#include <winioctl.h>

namespace {

// The real volume controls on one handle.
class Win32VolumeHandle : public VolumeHandleApi
{
public:
    ~Win32VolumeHandle() override { close(); }

    bool open(const std::wstring& devicePath) override
    {
        volume = CreateFileW(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr);
        return volume != INVALID_HANDLE_VALUE;
    }

    bool lock() override { return control(FSCTL_LOCK_VOLUME, nullptr, 0); }
    bool dismount() override { return control(FSCTL_DISMOUNT_VOLUME, nullptr, 0); }

    bool ejectMedia() override
    {
        PREVENT_MEDIA_REMOVAL allow{};
        allow.PreventMediaRemoval = FALSE;
        if (!control(IOCTL_STORAGE_MEDIA_REMOVAL, &allow, sizeof allow))
            return false;
        return control(IOCTL_STORAGE_EJECT_MEDIA, nullptr, 0);
    }

    void close() override
    {
        if (volume != INVALID_HANDLE_VALUE)
            CloseHandle(volume);
        volume = INVALID_HANDLE_VALUE;
    }

    void pause(int ms) override { Sleep(static_cast<DWORD>(ms > 0 ? ms : 0)); }

private:
    bool control(DWORD code, void* input, DWORD inputSize)
    {
        DWORD bytesReturned = 0;
        return DeviceIoControl(volume, code, input, inputSize, nullptr, 0, &bytesReturned,
                               nullptr)
            != 0;
    }

    HANDLE volume = INVALID_HANDLE_VALUE;
};

} // namespace

VolumeLockSequence::Outcome WindowsVolumeDismount::dismount(const std::wstring& root,
                                                            int lockAttempts, int lockRetryMs)
{
    Win32VolumeHandle handle;
    return VolumeLockSequence::run(handle, WindowsDevicePath::fromRoot(root), lockAttempts,
                                   lockRetryMs);
}
