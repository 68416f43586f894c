#pragma once

// Pushes everything written through an open C runtime file descriptor down to the storage
// device (fsync on POSIX systems, FlushFileBuffers on Windows). Plain standard C++ so that
// it builds with every toolchain, including the MinGW cross-compiler.
class FileSync
{
public:
    // True when the system confirmed that the file's data reached the device.
    static bool syncDescriptor(int fd);
};
