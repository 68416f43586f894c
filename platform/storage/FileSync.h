#pragma once

// Pushes everything written through an open C runtime file descriptor down to the storage
// device (F_FULLFSYNC on macOS, fsync on other POSIX systems, FlushFileBuffers on Windows).
// Plain standard C++ so that it builds with every toolchain, including the MinGW
// cross-compiler.
class FileSync
{
public:
    // True when the system confirmed that the file's data reached the device.
    static bool syncDescriptor(int fd);
    // Pushes a directory's entries (a rename in it) to the device; true where the system has
    // no such call (Windows commits directory entries with the file system's own log).
    static bool syncDirectory(const char* path);
    // Pushes everything written to the file system holding path to the device (syncfs on
    // Linux, sync elsewhere on POSIX; true on Windows, where the dismount flushes the volume).
    static bool syncFileSystem(const char* path);
    // Asks the system to forget the cached pages of an open file, so that a read-back comes
    // from the device; a no-op where the system has no such call.
    static void dropCachedPages(int fd);
};
