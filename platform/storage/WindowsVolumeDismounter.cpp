#include "WindowsVolumeDismounter.h"

#include "WindowsVolumeDismount.h"

bool WindowsVolumeDismounter::dismount(const QString& rootPath)
{
    return WindowsVolumeDismount::dismount(rootPath.toStdWString(), lockAttempts, lockRetryMs)
        == VolumeLockSequence::Outcome::Dismounted;
}
