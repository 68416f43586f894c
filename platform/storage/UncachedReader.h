#pragma once

#include <cstddef>
#include <cstdint>

// Reads a file from the storage device rather than from the system's cache, so that a
// read-back of a copy checks what the device holds. Linux drops the file's cached pages when it
// opens it; macOS reads with F_NOCACHE; Windows opens it with FILE_FLAG_NO_BUFFERING and reads
// whole sectors into a sector-aligned buffer of its own, handing them out in any size asked
// for. Plain standard C++ (and Win32), so that it builds with the MinGW cross-compiler.
class UncachedReader
{
public:
    UncachedReader() = default;
    ~UncachedReader();
    UncachedReader(const UncachedReader&) = delete;
    UncachedReader& operator=(const UncachedReader&) = delete;

    // path in UTF-8. False when the file cannot be opened so.
    bool open(const char* path);
    // Up to size bytes into out: the count, 0 at the end of the file, -1 on a read error.
    std::int64_t read(char* out, std::int64_t size);
    void close();

    // The size of the reads Windows makes: 1 MiB, or the sector size when that is larger,
    // rounded up to a whole number of sectors (a sector size of 0 counts as 4096).
    static std::size_t blockSizeFor(std::size_t sectorSize);

private:
    std::intptr_t handle = -1; // a file descriptor, or a Windows HANDLE
    char* block = nullptr;     // Windows: the aligned buffer the sectors are read into
    std::size_t blockSize = 0;
    std::size_t blockStart = 0; // the part of block not yet handed out
    std::size_t blockEnd = 0;
};
