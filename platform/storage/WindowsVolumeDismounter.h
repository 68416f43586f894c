#pragma once

#include <VolumeDismounter.h>

// The Qt side of the Windows dismount: hands the root path to WindowsVolumeDismount with
// the lock retries it was given. Only a dismount under the lock counts as done; a volume
// in use is left mounted and reported as refused.
class WindowsVolumeDismounter : public VolumeDismounter
{
public:
    WindowsVolumeDismounter(int lockAttempts, int lockRetryMs)
        : lockAttempts(lockAttempts), lockRetryMs(lockRetryMs)
    {
    }

    bool dismount(const QString& rootPath) override;

private:
    int lockAttempts;
    int lockRetryMs;
};
