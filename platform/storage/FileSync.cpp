#include "FileSync.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
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
#ifdef __APPLE__
    // fsync leaves the data in the drive's own cache; F_FULLFSYNC has the drive write it out.
    // File systems without it are synced as elsewhere.
    if (::fcntl(fd, F_FULLFSYNC) == 0)
        return true;
#endif
    int result = 0;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    return result == 0;
#endif
}

#ifndef _WIN32
namespace {
int openForSync(const char* path, int flags)
{
    int fd = -1;
    do {
        fd = ::open(path, flags);
    } while (fd < 0 && errno == EINTR);
    return fd;
}
} // namespace
#endif

bool FileSync::syncDirectory(const char* path)
{
#ifdef _WIN32
    (void)path;
    return true;
#else
    const int fd = openForSync(path, O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = syncDescriptor(fd);
    ::close(fd);
    return synced;
#endif
}

bool FileSync::syncFileSystem(const char* path)
{
#ifdef _WIN32
    (void)path;
    return true;
#else
    const int fd = openForSync(path, O_RDONLY);
    if (fd < 0)
        return false;
#ifdef __linux__
    const bool synced = ::syncfs(fd) == 0;
#else
    ::sync();
    const bool synced = true;
#endif
    ::close(fd);
    return synced;
#endif
}

void FileSync::dropCachedPages(int fd)
{
#if defined(__linux__)
    if (fd >= 0)
        (void)::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
#else
    (void)fd;
#endif
}
