#include "UncachedReader.h"

#include <algorithm>
#include <cstring>

#ifdef _WIN32
#include <windows.h>

#include <string>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {
constexpr std::size_t kBlock = 1024 * 1024;
constexpr std::size_t kDefaultSector = 4096;
} // namespace

UncachedReader::~UncachedReader()
{
    close();
}

std::size_t UncachedReader::blockSizeFor(std::size_t sectorSize)
{
    const std::size_t sector = sectorSize == 0 ? kDefaultSector : sectorSize;
    const std::size_t wanted = std::max(kBlock, sector);
    return (wanted + sector - 1) / sector * sector;
}

#ifdef _WIN32

namespace {
std::wstring widened(const char* utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, wide.data(), length);
    wide.resize(std::size_t(length - 1));
    return wide;
}

// The logical sector size of the volume holding path; 0 when it cannot be told.
std::size_t sectorSizeOf(const std::wstring& path)
{
    wchar_t root[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(path.c_str(), root, MAX_PATH))
        return 0;
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceW(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return 0;
    return bytesPerSector;
}
} // namespace

bool UncachedReader::open(const char* path)
{
    close();
    const std::wstring wide = widened(path);
    if (wide.empty())
        return false;
    // Unbuffered: every read goes to the device, in whole sectors into aligned memory.
    const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    blockSize = blockSizeFor(sectorSizeOf(wide));
    // VirtualAlloc hands out memory aligned to the allocation granularity (64 KiB).
    block = static_cast<char*>(VirtualAlloc(nullptr, blockSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (block == nullptr) {
        CloseHandle(file);
        return false;
    }
    handle = reinterpret_cast<std::intptr_t>(file);
    return true;
}

void UncachedReader::close()
{
    if (handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(handle));
    handle = -1;
    if (block != nullptr)
        VirtualFree(block, 0, MEM_RELEASE);
    block = nullptr;
    blockStart = blockEnd = 0;
}

std::int64_t UncachedReader::read(char* out, std::int64_t size)
{
    if (handle == -1 || size < 0)
        return -1;
    if (blockStart == blockEnd) {
        // A whole number of sectors is asked for; at the end of the file fewer bytes come.
        DWORD got = 0;
        if (!ReadFile(reinterpret_cast<HANDLE>(handle), block, DWORD(blockSize), &got, nullptr))
            return -1;
        blockStart = 0;
        blockEnd = got;
    }
    const std::size_t count = std::min(std::size_t(size), blockEnd - blockStart);
    std::memcpy(out, block + blockStart, count);
    blockStart += count;
    return std::int64_t(count);
}

#else

bool UncachedReader::open(const char* path)
{
    close();
    int fd = -1;
    do {
        fd = ::open(path, O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
#if defined(__APPLE__)
    // Reads bypass the unified buffer cache.
    (void)::fcntl(fd, F_NOCACHE, 1);
#elif defined(__linux__)
    // Whatever is cached of the file is forgotten: the reads come from the device.
    (void)::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
#endif
    handle = fd;
    return true;
}

void UncachedReader::close()
{
    if (handle != -1)
        ::close(int(handle));
    handle = -1;
}

std::int64_t UncachedReader::read(char* out, std::int64_t size)
{
    if (handle == -1 || size < 0)
        return -1;
    ssize_t got = 0;
    do {
        got = ::read(int(handle), out, std::size_t(size));
    } while (got < 0 && errno == EINTR);
    return got;
}

#endif
