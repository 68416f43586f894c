#include "FileSync.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <unistd.h>
#endif

bool FileSync::syncDescriptor(int fd)
{
    if (fd < 0)
        return false;
#ifdef _WIN32
    const intptr_t osHandle = _get_osfhandle(fd);
    if (osHandle == -1 || osHandle == -2)
        return false;
    return FlushFileBuffers(reinterpret_cast<HANDLE>(osHandle)) != 0;
#else
    int result = 0;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    return result == 0;
#endif
}
